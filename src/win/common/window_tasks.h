// Work handed to a window's thread by other threads: a worker adds a task and the window runs it
// when it gets kMessage, in the order they were added. Closing the queue drops the tasks not yet
// run and every one added later, so a worker never reaches a window that is going away (a task
// that owns a promise breaks it, and the worker waiting on it goes on).
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <mutex>

namespace tarnwick::win {

class WindowTasks {
 public:
  static constexpr UINT kMessage = WM_APP + 20;

  explicit WindowTasks(HWND window = nullptr) : window_(window) {}
  WindowTasks(const WindowTasks&) = delete;
  WindowTasks& operator=(const WindowTasks&) = delete;

  void SetWindow(HWND window);
  // From any thread.
  void Post(std::function<void()> task);
  // On the window's thread, when kMessage arrives.
  void RunPending();
  // Drops what is queued and refuses what comes after (on the window's thread).
  void Close();

 private:
  std::mutex mutex_;
  std::deque<std::function<void()>> tasks_;
  HWND window_;
  bool closed_ = false;
};

}  // namespace tarnwick::win
