// The tree walk: finds every file under a folder whose name matches the pattern list.
#pragma once

#include <cstdint>
#include <string>

#include "core/scan/search_state.h"

namespace tarnwick {

// What the walk reports while it runs. The desktop program's sink fills the result list and the
// status bar; the command line's sink prints rows and a progress line.
class SearchSink {
 public:
  virtual ~SearchSink() = default;
  // A matching file: its name as the OS gives it, the folder it is in (the Path column: ends in
  // the path separator; Path + name opens the file again) and its size in bytes.
  virtual void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) = 0;
  // A sub-folder is about to be entered: its path without a final separator.
  virtual void OnEnterFolder(const std::string& path) = 0;
  // A folder that could not be read, with the reason in words.
  virtual void OnUnreadable(const std::string& path, const std::string& reason) = 0;
  // Time to let the front end run (repaint, handle Cancel). Called on a clock, not per entry.
  virtual void Yield() = 0;
};

// Walks `folder` (ending in the path separator) with the switches and pattern of `params`,
// adding to its counters and reporting through `sink`. Stops at the next entry once gScanning is
// false.
void SearchFolder(SearchParams& params, const std::string& folder, SearchSink& sink);

}  // namespace tarnwick
