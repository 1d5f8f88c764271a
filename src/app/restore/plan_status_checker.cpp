#include "app/restore/plan_status_checker.h"

namespace tarnwick::app {

PlanStatusChecker::PlanStatusChecker(std::vector<ContentCheck> checks, Report report,
                                     std::function<void()> done) {
  thread_ = std::thread(
      [this, checks = std::move(checks), report = std::move(report), done = std::move(done)] {
        for (const ContentCheck& check : checks) {
          const std::string status = CheckedStatus(check, &stop_);
          if (stop_.load())
            return;
          report(check.row, status);
        }
        if (done)
          done();
      });
}

PlanStatusChecker::~PlanStatusChecker() {
  stop_ = true;
  thread_.join();
}

}  // namespace tarnwick::app
