#include "cli/scan_sink.h"

#include "app/scan/scan_session.h"

#include <algorithm>
#include <utility>

#include "cli/terminal.h"
#include "core/scan/format_size.h"

namespace tarnwick::cli {
namespace {

// A terminal is redrawn at most this often; faster than the eye only costs time.
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

void writeOut(std::string_view text, bool& failed) {
  if (failed)
    return;
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size())
    failed = true;
}

}  // namespace

std::string SummaryLine(const SearchParams& counters) {
  return app::SummaryLine(counters, ".");
}

CliScanSink::CliScanSink(const SearchParams& counters, std::string root, bool printRows)
    : counters_(counters),
      root_(std::move(root)),
      printRows_(printRows),
      rowsToTerminal_(IsTerminal(stdout)),
      progress_(IsTerminal(stderr)) {
  PrepareConsoleOutput();
  // Rows to a file or pipe go out in large blocks; to a terminal line by line.
  if (!rowsToTerminal_)
    std::setvbuf(stdout, nullptr, _IOFBF, 1 << 16);
}

void CliScanSink::OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) {
  if (!printRows_)
    return;
  std::string row;
  row.reserve(name.size() + folder.size() + 16);
  row += rowsToTerminal_ ? TerminalSafe(name) : name;
  row += '\t';
  row += rowsToTerminal_ ? TerminalSafe(folder) : folder;
  row += '\t';
  row += FormatSize(size, ".");
  row += '\n';
  if (rowsToTerminal_)
    clearProgress();
  writeOut(row, outputFailed_);
  if (outputFailed_)
    gScanning = false;  // nobody gets the list: stop walking
}

void CliScanSink::OnEnterFolder(const std::string& path) {
  if (progress_)
    currentFolder_ = path;
}

void CliScanSink::OnUnreadable(const std::string& path, const std::string& reason) {
  if (path == root_)
    rootUnreadable_ = true;
  clearProgress();
  std::fflush(stdout);
  std::fprintf(stderr, "tarnwick-cli: warning: cannot read %s: %s\n", TerminalSafe(path).c_str(),
               reason.c_str());
}

void CliScanSink::Yield() {
  if (!progress_)
    return;
  const auto now = std::chrono::steady_clock::now();
  if (progressShown_ && now - lastDrawn_ < kProgressInterval)
    return;
  lastDrawn_ = now;
  if (rowsToTerminal_)
    std::fflush(stdout);
  std::string line = std::to_string(counters_.ScannedCount) + " entries, " +
                     std::to_string(counters_.MatchCount) + " matches  ";
  const size_t width = static_cast<size_t>(std::max(TerminalWidth(stderr) - 1, 20));
  std::string folder = TerminalSafe(currentFolder_);
  if (line.size() + folder.size() > width) {
    // Keep the end of the path, the part that changes; cut at a character boundary.
    const size_t keep = width > line.size() + 3 ? width - line.size() - 3 : 0;
    size_t from = folder.size() - std::min(keep, folder.size());
    while (from < folder.size() && (static_cast<unsigned char>(folder[from]) & 0xC0) == 0x80) {
      ++from;
    }
    folder = "..." + folder.substr(from);
  }
  line += folder;
  // Pad over the rest of the previous line instead of relying on escape sequences.
  line.resize(std::max(line.size(), width), ' ');
  std::fprintf(stderr, "\r%s\r", line.c_str());
  std::fflush(stderr);
  progressShown_ = true;
}

void CliScanSink::Finish() {
  clearProgress();
  if (std::fflush(stdout) != 0 || std::ferror(stdout))
    outputFailed_ = true;
}

void CliScanSink::clearProgress() {
  if (!progressShown_)
    return;
  const size_t width = static_cast<size_t>(std::max(TerminalWidth(stderr) - 1, 20));
  std::fprintf(stderr, "\r%s\r", std::string(width, ' ').c_str());
  std::fflush(stderr);
  progressShown_ = false;
}

}  // namespace tarnwick::cli
