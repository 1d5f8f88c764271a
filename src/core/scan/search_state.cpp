#include "core/scan/search_state.h"

namespace tarnwick {

SearchParams gSearch;
std::string gRootFolder;
std::atomic<bool> gScanning{false};

void ResetScanState() {
  gSearch = SearchParams{};
  gRootFolder.clear();
  gScanning = false;
}

}  // namespace tarnwick
