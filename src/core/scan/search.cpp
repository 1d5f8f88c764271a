#include "core/scan/search.h"

#include <unordered_set>
#include <vector>

#include "core/platform/dir_reader.h"
#include "core/platform/system.h"
#include "core/scan/folder_tests.h"
#include "core/scan/match_spec.h"
#include "core/scan/yield_clock.h"

namespace tarnwick {
namespace {

using platform::DirEntry;
using platform::DirReader;
using platform::EntryKind;

struct YieldToSink {
  SearchSink* sink;
  void operator()() const { sink->Yield(); }
};

// Folders this deep and deeper are read into memory when opened and their handle is given back,
// so that the walk never holds more than about this many folders open, however deep the tree.
constexpr size_t kMaxOpenFolders = 128;

// The walk keeps its own stack of open folders instead of recursing, so the depth of the tree
// is limited only by what the OS can open.
class Walker {
 public:
  Walker(SearchParams& params, SearchSink& sink, const std::atomic<bool>& running)
      : params_(params),
        sink_(sink),
        running_(running),
        matcher_(params.Pattern),
        clock_(YieldToSink{&sink}) {}

  void Run(const std::string& root) {
    if (excluded(LastFolderName(root)))
      return;
    std::error_code error;
    push(DirReader::Open(root, error), root, error);
    while (!stack_.empty())
      step();
  }

 private:
  bool excluded(std::string_view name) const {
    return (params_.IgnoreTemp && IsTempFolderName(name)) ||
           (params_.IgnoreSys && IsSystemFolderName(name));
  }

  // Takes an opened folder onto the stack; false when it is not to be walked.
  bool push(DirReader reader, const std::string& path, const std::error_code& error) {
    clock_.Check();
    if (!reader) {
      sink_.OnUnreadable(path, error.message());
      return false;
    }
    const platform::FolderId id = reader.Id();
    if (id.known && !entered_.insert(id).second)
      return false;
    if (stack_.size() >= kMaxOpenFolders)
      reader.Detach();
    stack_.push_back(std::move(reader));
    return true;
  }

  // Leaves the folder on top; its parent then counts the folder's own entry.
  void pop() {
    stack_.pop_back();
    if (!stack_.empty())
      ++params_.ScannedCount;
  }

  void step() {
    DirReader& folder = stack_.back();
    if (!running_.load(std::memory_order_relaxed))
      return pop();
    DirEntry entry;
    if (!folder.Next(entry)) {
      if (folder.Error())
        sink_.OnUnreadable(folder.Path(), folder.Error().message());
      return pop();
    }
    clock_.Entry();
    const bool dotName = !entry.name.empty() && entry.name.front() == '.';
    bool matches = false;
    bool matchTested = false;
    if (entry.kind == EntryKind::kUnknown) {
      // Find out what a link or an entry of unknown kind is only when it matters: a folder to
      // enter, or a file that matches.
      matches = matcher_.Matches(entry.name);
      matchTested = true;
      if ((matches || (params_.Recurse && !dotName)) && !folder.Resolve(entry)) {
        entry.kind = EntryKind::kOther;
      }
    }
    if (entry.kind == EntryKind::kFolder) {
      if (!dotName && params_.Recurse && enter(folder, entry.name))
        return;
    } else if (entry.kind == EntryKind::kFile &&
               (matchTested ? matches : matcher_.Matches(entry.name))) {
      report(folder, entry);
    }
    ++params_.ScannedCount;
  }

  // Enters the sub-folder `name` of `parent`; false when it is not entered (excluded, unreadable,
  // entered before), in which case its entry is counted now.
  bool enter(const DirReader& parent, std::string_view name) {
    std::string path = parent.Path();
    path.append(name);
    sink_.OnEnterFolder(path);
    path += platform::kPathSeparator;
    if (excluded(name))
      return false;
    std::error_code error;
    DirReader child = parent.OpenChild(name, error);
    return push(std::move(child), path, error);
  }

  void report(const DirReader& folder, DirEntry& entry) {
    if (!entry.sizeKnown) {
      const bool resolved = folder.Resolve(entry);
      clock_.Check();
      // Gone since it was listed, or a link that leads nowhere: nothing to list.
      if (!resolved || entry.kind != EntryKind::kFile)
        return;
    }
    ++params_.MatchCount;
    params_.TotalBytes += entry.size;
    sink_.OnMatch(std::string(entry.name), folder.Path(), entry.size);
    clock_.Check();
  }

  SearchParams& params_;
  SearchSink& sink_;
  const std::atomic<bool>& running_;
  const PatternMatcher matcher_;
  YieldClock<YieldToSink> clock_;
  std::vector<DirReader> stack_;
  std::unordered_set<platform::FolderId, platform::FolderIdHash> entered_;
};

}  // namespace

void SearchFolder(SearchParams& params, const std::string& folder, SearchSink& sink,
                  const std::atomic<bool>& running) {
  Walker(params, sink, running).Run(folder);
}

void SearchFolder(SearchParams& params, const std::string& folder, SearchSink& sink) {
  SearchFolder(params, folder, sink, gScanning);
}

}  // namespace tarnwick
