#include "core/platform/sync.h"

#include <windows.h>

namespace tarnwick::platform {
namespace {

static_assert(sizeof(SRWLOCK) == sizeof(void*) && sizeof(CONDITION_VARIABLE) == sizeof(void*));

SRWLOCK* srw(void*& storage) {
  return reinterpret_cast<SRWLOCK*>(&storage);
}
CONDITION_VARIABLE* cv(void*& storage) {
  return reinterpret_cast<CONDITION_VARIABLE*>(&storage);
}

}  // namespace

void Mutex::lock() {
  AcquireSRWLockExclusive(srw(srw_));
}

bool Mutex::try_lock() {
  return TryAcquireSRWLockExclusive(srw(srw_)) != 0;
}

void Mutex::unlock() {
  ReleaseSRWLockExclusive(srw(srw_));
}

void ConditionVariable::notify_one() {
  WakeConditionVariable(cv(cv_));
}

void ConditionVariable::notify_all() {
  WakeAllConditionVariable(cv(cv_));
}

void ConditionVariable::wait(std::unique_lock<Mutex>& lock) {
  waitFor(lock, INFINITE);
}

bool ConditionVariable::waitFor(std::unique_lock<Mutex>& lock, unsigned long milliseconds) {
  return SleepConditionVariableSRW(cv(cv_), srw(lock.mutex()->srw_), milliseconds, 0) != 0;
}

}  // namespace tarnwick::platform
