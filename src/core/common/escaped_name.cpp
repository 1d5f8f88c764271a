#include "core/common/escaped_name.h"

#include "core/common/utf8.h"

namespace tarnwick {
namespace {

bool isControl(unsigned char c) {
  return c < 0x20 || c == 0x7F;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

}  // namespace

bool IsPlainName(std::string_view name) {
  for (std::size_t i = 0; i < name.size();) {
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(name, i, cp);
    if (len == 0 || (len == 1 && isControl(static_cast<unsigned char>(cp))))
      return false;
    i += len;
  }
  return true;
}

std::string EscapeName(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    char32_t cp = 0;
    std::size_t len = DecodeUtf8(name, i, cp);
    if (len > 1 || (len == 1 && !isControl(static_cast<unsigned char>(cp)) && cp != '%')) {
      out.append(name.substr(i, len));
    } else {
      const auto b = static_cast<unsigned char>(name[i]);
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
      len = 1;
    }
    i += len;
  }
  return out;
}

std::optional<std::string> UnescapeName(std::string_view escaped) {
  std::string out;
  out.reserve(escaped.size());
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    if (escaped[i] != '%') {
      out += escaped[i];
      continue;
    }
    if (escaped.size() - i < 3)
      return std::nullopt;
    const int hi = hexValue(escaped[i + 1]), lo = hexValue(escaped[i + 2]);
    if (hi < 0 || lo < 0)
      return std::nullopt;
    out += static_cast<char>((hi << 4) | lo);
    i += 2;
  }
  return out;
}

}  // namespace tarnwick
