#include "app/scan/background_walk.h"

#include <iterator>

namespace tarnwick::app {

// What the walk reports, gathered on the walk's thread and handed over at each yield of the
// engine's clock (about every 25 ms), so the lock is taken per batch, not per file.
class BackgroundWalk::Sink final : public SearchSink {
 public:
  explicit Sink(BackgroundWalk& walk) : walk_(walk) {}
  ~Sink() override { walk_.handOver(found_, true); }

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override {
    found_.rows.push_back(ScanRow{name, folder, size});
  }
  void OnEnterFolder(const std::string& path) override {
    found_.folder = path;
    found_.folderPending = true;
  }
  void OnUnreadable(const std::string& path, const std::string& reason) override {
    found_.unreadable.push_back(UnreadableFolder{path, reason});
  }
  void Yield() override { walk_.handOver(found_, false); }

 private:
  BackgroundWalk& walk_;
  Found found_;
};

BackgroundWalk::BackgroundWalk(ScanSession& session, std::function<void()> wake)
    : session_(session), wake_(std::move(wake)) {}

BackgroundWalk::~BackgroundWalk() {
  if (thread_.joinable()) {
    session_.running_ = false;
    thread_.join();
  }
}

void BackgroundWalk::Start() {
  thread_ = std::thread([this] {
    Sink sink(*this);
    session_.RunSearch(session_.params_, DisplayRoot(session_.rootFolder_), sink);
  });
}

void BackgroundWalk::handOver(Found& found, bool ended) {
  const bool anything = !found.rows.empty() || !found.unreadable.empty() || found.folderPending;
  if (!anything && !ended)
    return;
  {
    std::lock_guard lock(mutex_);
    if (found_.rows.empty()) {
      found_.rows.swap(found.rows);
    } else {
      found_.rows.insert(found_.rows.end(), std::make_move_iterator(found.rows.begin()),
                         std::make_move_iterator(found.rows.end()));
    }
    found_.unreadable.insert(found_.unreadable.end(),
                             std::make_move_iterator(found.unreadable.begin()),
                             std::make_move_iterator(found.unreadable.end()));
    if (found.folderPending) {
      found_.folder = std::move(found.folder);
      found_.folderPending = true;
    }
    ended_ = ended_ || ended;
  }
  found.rows.clear();
  found.unreadable.clear();
  found.folder.clear();
  found.folderPending = false;
  if (!woken_.exchange(true))
    wake_();
}

bool BackgroundWalk::TakeFound(ScanView& view) {
  // Cleared before taking: whatever is handed over after this point wakes the window again.
  woken_ = false;
  Found found;
  bool ended = false;
  {
    std::lock_guard lock(mutex_);
    std::swap(found, found_);
    ended = ended_;
  }
  for (ScanRow& row : found.rows)
    session_.addRow(std::move(row), view);
  session_.unreadable_.insert(session_.unreadable_.end(),
                              std::make_move_iterator(found.unreadable.begin()),
                              std::make_move_iterator(found.unreadable.end()));
  if (found.folderPending)
    view.OnStatus(found.folder);
  if (ended && thread_.joinable())
    thread_.join();
  return ended;
}

}  // namespace tarnwick::app
