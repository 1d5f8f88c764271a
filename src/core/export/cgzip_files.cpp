#include "core/export/cgzip_files.h"

#include <vector>

#include "core/export/zip_state.h"
#include "core/platform/path_rules.h"

namespace tarnwick {

void CGZipFiles::AddFile(const std::string& path) {
  std::string key = platform::PathKey(path);
  if (byKey_.contains(key)) {
    throw ZipBuilderError(kZipErrorAlreadyInList, "CGZip::AddFile", "File is already in Zip List");
  }
  files_.push_back(path);
  byKey_.emplace(std::move(key), std::prev(files_.end()));
}

void CGZipFiles::RemoveFile(const std::string& path) {
  const auto it = byKey_.find(platform::PathKey(path));
  if (it == byKey_.end()) {
    throw ZipBuilderError(kZipErrorNotInList, "CGZip::RemoveFile", "File is not in Zip List");
  }
  files_.erase(it->second);
  byKey_.erase(it);
}

std::int32_t CGZipFiles::MakeZipFile() {
  const std::vector<std::string> names(files_.begin(), files_.end());
  ZipOptions options;
  options.Recurse = recurse_;
  options.Update = update_;
  options.RootDir = rootDirectory_;
  options.IncludeOnline = includeOnline_;
  return RunZip(zipFileName_, names, options, control_, &report_);
}

std::string CGZipFiles::GetLastMessage() const {
  return LastZipMessage;
}

}  // namespace tarnwick
