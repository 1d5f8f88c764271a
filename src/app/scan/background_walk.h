// The scan session's walk on a thread of its own, for a front end whose window must keep running
// its messages (repaint, Cancel, a second thread's sent messages) however long the walk takes.
//
// The walk's thread gathers what it finds and hands it over on the engine's clock; the window's
// thread takes it when woken (TakeFound), so the session's rows, its unreadable folders and the
// view are only ever touched by the window's thread. Cancel works as before: AskCancel clears the
// session's running flag, which the walk reads.
//
//   BackgroundWalk walk(session, [window] { PostMessage(window, kFoundMessage, 0, 0); });
//   walk.Start();
//   ... on kFoundMessage:  if (walk.TakeFound(view)) session.Finish(view, answers);
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/scan/scan_session.h"

namespace tarnwick::app {

class BackgroundWalk {
 public:
  // `wake` runs on the walk's thread when there is something to take and the window has not been
  // woken since it last took, and once more when the walk ends unless a wake is still untaken. It
  // must only post (the window's thread may be waiting for the walk).
  BackgroundWalk(ScanSession& session, std::function<void()> wake);
  // Stops a walk still running (the running flag) and waits for its thread.
  ~BackgroundWalk();
  BackgroundWalk(const BackgroundWalk&) = delete;
  BackgroundWalk& operator=(const BackgroundWalk&) = delete;

  void Start();
  // On the window's thread: moves the rows and unreadable folders found since the last call into
  // the session (OnRow for each row), then shows the folder last entered (OnStatus). True once the
  // walk has ended and all it found was taken; its thread is then joined.
  bool TakeFound(ScanView& view);

 private:
  class Sink;
  struct Found {
    std::vector<ScanRow> rows;
    std::vector<UnreadableFolder> unreadable;
    std::string folder;
    bool folderPending = false;
  };
  void handOver(Found& found, bool ended);

  ScanSession& session_;
  std::function<void()> wake_;
  std::mutex mutex_;
  Found found_;         // under mutex_
  bool ended_ = false;  // under mutex_
  std::atomic<bool> woken_{false};
  std::thread thread_;
};

}  // namespace tarnwick::app
