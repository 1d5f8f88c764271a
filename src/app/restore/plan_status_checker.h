// Compares the files already at the plan's targets that have the same size as the archive's
// files with them, on a thread of its own, so that a window showing a large plan stays alive
// while they are read. Each row's final status is handed to `report` on that thread (a window
// posts it to itself). Destroying the checker stops it and waits for it: at most the read of
// one buffer.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/restore/restore_session.h"

namespace tarnwick::app {

class PlanStatusChecker {
 public:
  using Report = std::function<void(std::size_t row, const std::string& status)>;
  // `done` (optional) is called on the thread after the last row, unless stopped.
  PlanStatusChecker(std::vector<ContentCheck> checks, Report report,
                    std::function<void()> done = {});
  ~PlanStatusChecker();
  PlanStatusChecker(const PlanStatusChecker&) = delete;
  PlanStatusChecker& operator=(const PlanStatusChecker&) = delete;

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tarnwick::app
