// The tree walk: finds every file under a folder whose name matches the pattern list.
#pragma once

#include <atomic>
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
  // A folder that could not be read (its path ending in the separator, as it would appear in the
  // Path column), with the reason in words. The walk goes on with the next entry of its parent.
  virtual void OnUnreadable(const std::string& path, const std::string& reason) = 0;
  // Time to let the front end run (repaint, handle Cancel). Called on a clock, not per entry.
  virtual void Yield() = 0;
};

// Walks `folder` (ending in the path separator) with the switches and pattern of `params`,
// adding to its counters and reporting through `sink`. Stops at the next entry once `running` is
// false (the three-argument form reads gScanning).
//
// The walk is depth-first; rows come in the order the OS lists the entries. A folder that is
// itself excluded (a temporary or system folder while the switch is on) is not read at all, the
// root included. ScannedCount counts every entry the OS returns (the dot entries too, where the OS
// returns them); a sub-folder's own entry is counted in its parent after its subtree. Folders
// whose name starts with "." are counted but not entered. Links to folders (and bind mounts,
// junctions) are followed, but a folder (device and inode; volume and file id) is entered at most
// once per scan, so a link loop ends at once and no file is listed twice. A link to a file is
// listed with its target's size. Devices, pipes and sockets are counted but never listed: reading
// them as documents could block an export for ever.
void SearchFolder(SearchParams& params, const std::string& folder, SearchSink& sink,
                  const std::atomic<bool>& running);
void SearchFolder(SearchParams& params, const std::string& folder, SearchSink& sink);

// The root as the Path column shows it and the walk opens it: upper-cased where the file system
// ignores letter case (as the scan window always showed it), unchanged elsewhere, where another
// case would name another folder.
std::string DisplayRoot(const std::string& root);

}  // namespace tarnwick
