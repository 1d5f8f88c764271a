// How a scan shows on the command line: one row per match on stdout, unreadable folders as
// warnings on stderr, and a live progress line on stderr when stderr is a terminal.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

#include "core/scan/search.h"

namespace tarnwick::cli {

class CliScanSink : public SearchSink {
 public:
  // `counters` is the record the walk counts in (read for the progress line); `root` the folder
  // passed to the walk. Rows are printed only with `printRows`.
  CliScanSink(const SearchParams& counters, std::string root, bool printRows);

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override;
  void OnEnterFolder(const std::string& path) override;
  void OnUnreadable(const std::string& path, const std::string& reason) override;
  void Yield() override;

  // Clears the progress line and flushes the rows; call once the walk has returned.
  void Finish();

  bool RootUnreadable() const { return rootUnreadable_; }
  // Writing the rows failed (a full disk, a closed pipe): the list on stdout is incomplete.
  bool OutputFailed() const { return outputFailed_; }

 private:
  void clearProgress();

  const SearchParams& counters_;
  const std::string root_;
  const bool printRows_;
  const bool rowsToTerminal_;
  const bool progress_;  // stderr is a terminal
  std::string currentFolder_;
  bool progressShown_ = false;
  bool rootUnreadable_ = false;
  bool outputFailed_ = false;
  std::chrono::steady_clock::time_point lastDrawn_{};
};

// The summary line the scan window shows: "N matches from a total of M scanned files - SIZE".
std::string SummaryLine(const SearchParams& counters);

}  // namespace tarnwick::cli
