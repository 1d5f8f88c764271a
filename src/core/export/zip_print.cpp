#include <cstring>

#include "core/common/ui_hooks.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_state.h"

namespace tarnwick {
namespace {

thread_local const std::function<void(std::string_view)>* tLineReceiver = nullptr;

}  // namespace

ScopedZipLineReceiver::ScopedZipLineReceiver(const std::function<void(std::string_view)>* receiver)
    : previous_(tLineReceiver) {
  tLineReceiver = receiver != nullptr && *receiver ? receiver : nullptr;
}

ScopedZipLineReceiver::~ScopedZipLineReceiver() {
  tLineReceiver = previous_;
}

int ZipPrint(const char* buffer, std::uint32_t length) {
  if (buffer == nullptr)
    return 0;
  // A printed line is at most 4097 bytes; reading stops at the first NUL and never goes past
  // the length given.
  const std::size_t limit = length < 4097 ? length : 4097;
  const void* nul = std::memchr(buffer, '\0', limit);
  const std::size_t n =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - buffer) : limit;
  return ZipPrint(std::string_view(buffer, n));
}

int ZipPrint(std::string_view line) {
  try {
    const auto first = line.find_first_not_of(' ');
    line = first == std::string_view::npos ? std::string_view() : line.substr(first);
    if (line.starts_with("adding") || line.starts_with("updating")) {
      std::string_view status = line;
      while (!status.empty() && (status.back() == '\n' || status.back() == '\r')) {
        status.remove_suffix(1);
      }
      ShowStatus(std::string(status));
    }
    LastZipMessage.append(line);
    if (tLineReceiver != nullptr)
      (*tLineReceiver)(line);
    Pump();
  } catch (...) {
    // A print callback never raises; a failing status hook or pump is passed over.
  }
  return 0;
}

}  // namespace tarnwick
