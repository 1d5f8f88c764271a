// One place that puts all process-wide state back to its start values (settings state, scan
// globals, the archive engine's collected output, the front-end hooks). Tests call it between
// cases.
#pragma once

namespace tarnwick {

void ResetProcessState();

}  // namespace tarnwick
