// The CRC-32 of a file on disk, for telling whether a file that is already where a restored file
// goes is the same file.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarnwick::restore {

// False when the file cannot be read, or when `stop` is set while it is read.
bool FileCrc(const std::string& path, std::uint64_t& size, std::uint32_t& crc,
             const std::atomic<bool>* stop = nullptr);

// `crc` continued over `bytes`.
std::uint32_t UpdateCrc(std::uint32_t crc, std::string_view bytes);

}  // namespace tarnwick::restore
