#include "core/common/ui_hooks.h"

#include <utility>

namespace tarnwick {
namespace {
PumpHook& pumpHook() {
  static PumpHook hook;
  return hook;
}
StatusHook& statusHook() {
  static StatusHook hook;
  return hook;
}
}  // namespace

void SetPumpHook(PumpHook hook) {
  pumpHook() = std::move(hook);
}
void SetStatusHook(StatusHook hook) {
  statusHook() = std::move(hook);
}

void Pump() {
  if (pumpHook())
    pumpHook()();
}

void ShowStatus(const std::string& text) {
  if (statusHook())
    statusHook()(text);
}

}  // namespace tarnwick
