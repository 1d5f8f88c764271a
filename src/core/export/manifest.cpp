#include "core/export/manifest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "core/common/escaped_name.h"
#include "core/platform/system.h"

namespace tarnwick {
namespace {

// A field of a line: escaped, so that it holds no TAB or line end.
std::string field(const std::string& text) {
  return EscapeName(text);
}

void headerLine(std::string& out, const char* key, const std::string& value) {
  out += key;
  out += ": ";
  out += value;
  out += '\n';
}

void notes(std::string& out, const char* section, const char* columns,
           const std::vector<ManifestNote>& list) {
  out += '\n';
  out += section;
  out += '\n';
  out += columns;
  out += '\n';
  for (const auto& n : list)
    out += field(n.path) + '\t' + field(n.reason) + '\n';
}

}  // namespace

std::string UtcTimestamp(std::int64_t unixSeconds) {
  using namespace std::chrono;
  const sys_seconds t{seconds{unixSeconds}};
  const sys_days day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss<seconds> time{t - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

std::string ManifestText(const ManifestHeader& h, ManifestPart part,
                         const std::vector<ManifestFile>& files,
                         const std::vector<ManifestNote>& notGathered,
                         const std::vector<ManifestNote>& unreadableFolders) {
  std::string out = "Tarnwick manifest 1\n";
  headerLine(out, "Program", field(h.program));
  headerLine(out, "Computer", field(h.computer));
  headerLine(out, "User", field(h.user));
  headerLine(out, "System", field(h.system));
  headerLine(out, "Home", field(h.home));
  for (const auto& [name, path] : h.knownFolders)
    headerLine(out, "Known folder", field(name) + '\t' + field(path));
  headerLine(out, "Created", UtcTimestamp(h.created));
  headerLine(out, "Scan folder", field(h.scanFolder));
  headerLine(out, "Patterns", field(h.patterns));
  headerLine(out, "Exclude temporary folders", h.excludeTemporary ? "yes" : "no");
  headerLine(out, "Exclude system folders", h.excludeSystem ? "yes" : "no");
  headerLine(out, "Part", std::to_string(part.number) + " of " + std::to_string(part.count));
  headerLine(out, "Files in this part", std::to_string(files.size()));
  headerLine(out, "Files not gathered", std::to_string(notGathered.size()));
  out += "\n[files]\nsize\tmodified\tcrc32\tentry name\toriginal path\n";
  for (const auto& f : files) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", static_cast<unsigned>(f.crc));
    out += std::to_string(f.size) + '\t' + UtcTimestamp(f.modified) + '\t' + crc + '\t' +
           field(f.entryName) + '\t' + field(f.originalPath) + '\n';
  }
  notes(out, "[not gathered]", "original path\treason", notGathered);
  if (!unreadableFolders.empty())
    notes(out, "[unreadable folders]", "path\treason", unreadableFolders);
  return out;
}

std::uint64_t ManifestLineBound(const std::string& entryName, const std::string& originalPath) {
  // size (20 digits at most), time (20), CRC-32 (8), four TABs and the line end.
  constexpr std::uint64_t kFixed = 20 + 20 + 8 + 5;
  const std::uint64_t path = field(originalPath).size();
  return std::max<std::uint64_t>(kFixed + field(entryName).size() + path,
                                 path + 2 + kManifestReasonRoom);
}

ManifestHeader ThisComputerHeader() {
  ManifestHeader h;
  h.program = "Tarnwick " TARNWICK_VERSION;
  h.computer = platform::ComputerName();
#ifdef _WIN32
  h.system = "Windows";
  h.user = platform::GetEnvironment("USERNAME").value_or("");
#else
  h.system = "Linux";
  h.user = platform::GetEnvironment("USER").value_or("");
#endif
  h.home = platform::HomeFolder();
  h.created = std::chrono::duration_cast<std::chrono::seconds>(
                  std::chrono::system_clock::now().time_since_epoch())
                  .count();
  return h;
}

}  // namespace tarnwick
