#include "core/export/compression_choice.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace tarnwick {

bool IsCompressedFormat(std::string_view fileName) {
  static constexpr std::string_view kExtensions[] = {
      "docx", "docm", "dotx", "xlsx", "xlsm", "xlsb", "pptx", "pptm", "ppsx",   "vsdx", "odt",
      "ods",  "odp",  "epub", "pdf",  "jpg",  "jpeg", "png",  "gif",  "webp",   "heic", "mpg",
      "zip",  "7z",   "rar",  "gz",   "tgz",  "bz2",  "xz",   "zst",  "cab",    "jar",  "mp3",
      "m4a",  "aac",  "dotm", "potx", "potm", "ppsm", "xltx", "xps",  "onepkg", "xsn",  "ogg",
      "flac", "wma",  "mp4",  "m4v",  "mov",  "mkv",  "avi",  "wmv"};
  const auto slash = fileName.find_last_of("/\\");
  if (slash != std::string_view::npos)
    fileName.remove_prefix(slash + 1);
  const auto dot = fileName.find_last_of('.');
  if (dot == std::string_view::npos || dot + 1 == fileName.size())
    return false;
  std::string ext(fileName.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return std::find(std::begin(kExtensions), std::end(kExtensions), ext) != std::end(kExtensions);
}

}  // namespace tarnwick
