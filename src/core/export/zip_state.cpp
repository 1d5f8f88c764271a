#include "core/export/zip_state.h"

namespace tarnwick {

std::string LastZipMessage;

void ResetZipState() {
  LastZipMessage.clear();
}

}  // namespace tarnwick
