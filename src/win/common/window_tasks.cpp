#include "win/common/window_tasks.h"

namespace tarnwick::win {

void WindowTasks::SetWindow(HWND window) {
  std::lock_guard lock(mutex_);
  window_ = window;
  closed_ = false;
}

void WindowTasks::Post(std::function<void()> task) {
  HWND wake = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (closed_ || window_ == nullptr)
      return;  // dropped: the task is destroyed on the way out
    if (tasks_.empty())
      wake = window_;
    tasks_.push_back(std::move(task));
  }
  // One message wakes the window for every task queued before it runs them.
  if (wake != nullptr)
    PostMessageW(wake, kMessage, 0, 0);
}

void WindowTasks::RunPending() {
  for (;;) {
    std::function<void()> task;
    {
      std::lock_guard lock(mutex_);
      if (tasks_.empty())
        return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

void WindowTasks::Close() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    dropped.swap(tasks_);
  }
}

}  // namespace tarnwick::win
