// Which files are stored rather than deflated: formats that are compressed already (office
// documents of the XML kind, PDF, pictures, sound, video, other archives). Deflating them costs
// time and saves next to nothing. Files of other kinds are judged from their first block instead.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarnwick {

// True when the file name's extension (letter case ignored) names an already-compressed format.
bool IsCompressedFormat(std::string_view fileName);

// True when deflating a sample of `sampleSize` bytes down to `deflatedSize` saves too little to
// be worth it (under 2%): the file is then stored.
constexpr bool TooLittleSaved(std::size_t sampleSize, std::size_t deflatedSize) {
  return deflatedSize + sampleSize / 50 >= sampleSize;
}

}  // namespace tarnwick
