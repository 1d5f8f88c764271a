#include "core/platform/utf16_win.h"

#include <windows.h>

#include <algorithm>

#include "core/common/utf8.h"

namespace tarnwick::platform {

// WTF-8 both ways, by hand: the system's converters replace an unpaired surrogate with U+FFFD, so
// a file with such a name (Windows allows any 16-bit units) could not be opened again by the name
// the engine carries. Here an unpaired surrogate is encoded as its own three bytes (ED A0 80 to
// ED BF BF) and decoded back, so every UTF-16 name survives the round trip exactly. Bytes that
// are not UTF-8 at all become U+FFFD, as the system's converter makes them.
std::wstring Widen(std::string_view utf8) {
  std::wstring out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    std::size_t len = DecodeUtf8(utf8, i, cp, true);
    if (len == 0) {
      cp = 0xFFFD;
      len = 1;
    }
    if (cp >= 0x10000) {
      out += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<wchar_t>(cp);
    }
    i += len;
  }
  return out;
}

std::string Narrow(std::wstring_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = static_cast<char16_t>(utf16[i]);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size()) {
      const char32_t low = static_cast<char16_t>(utf16[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, cp);
  }
  return out;
}

namespace {

bool startsWith(std::wstring_view s, std::wstring_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool isSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

// What Windows makes of a relative or drive-relative path ("docs", "\docs", "C:docs").
std::wstring fullPathOf(const std::wstring& path) {
  std::wstring out(path.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD n =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
    if (n == 0)
      return path;
    if (n < out.size()) {
      out.resize(n);
      return out;
    }
    out.resize(n);  // n is the size needed, terminating zero included
  }
}

// The length of the root of an absolute path: "C:\" or "\\server\share\"; 0 when the path is not
// absolute in one of these two forms.
size_t rootLength(std::wstring_view p) {
  if (p.size() >= 3 && p[1] == L':' && isSeparator(p[2]))
    return 3;
  if (p.size() >= 2 && isSeparator(p[0]) && isSeparator(p[1])) {
    const size_t server = p.find_first_of(L"\\/", 2);
    if (server == std::wstring_view::npos || server == 2)
      return 0;
    const size_t share = p.find_first_of(L"\\/", server + 1);
    return share == std::wstring_view::npos ? p.size() : share + 1;
  }
  return 0;
}

// `path` made absolute with "." and ".." applied and every separator a single "\", as Windows
// reads a path without the "\\?\" prefix. Names are otherwise kept exactly (a name that ends in a
// dot or a space stays so), because the prefixed form that follows is taken literally.
std::wstring normalised(std::wstring path) {
  if (rootLength(path) == 0)
    path = fullPathOf(path);
  const size_t rootLen = rootLength(path);
  if (rootLen == 0)
    return path;
  std::wstring out = path.substr(0, rootLen);
  for (auto& c : out) {
    if (c == L'/')
      c = L'\\';
  }
  if (out.back() != L'\\')
    out += L'\\';  // "\\server\share" without a final separator
  const size_t rootEnd = out.size();
  size_t i = rootLen;
  while (i < path.size()) {
    const size_t end = std::min(path.find_first_of(L"\\/", i), path.size());
    const std::wstring_view name = std::wstring_view(path).substr(i, end - i);
    if (name == L"..") {
      if (out.size() > rootEnd) {
        out.pop_back();
        out.erase(out.rfind(L'\\') + 1);
      }
    } else if (!name.empty() && name != L".") {
      out.append(name);
      out += L'\\';
    }
    i = end + 1;
  }
  if (out.size() > rootEnd && !isSeparator(path.back()))
    out.pop_back();
  return out;
}

}  // namespace

std::wstring LongPath(std::string_view utf8Path) {
  const std::wstring p = Widen(utf8Path);
  if (p.empty() || startsWith(p, L"\\\\?\\") || startsWith(p, L"\\\\.\\"))
    return p;  // empty, already in the long form, or a device
  const std::wstring full = normalised(p);
  if (startsWith(full, L"\\\\"))
    return L"\\\\?\\UNC\\" + full.substr(2);
  if (rootLength(full) == 3)
    return L"\\\\?\\" + full;
  return full;
}

}  // namespace tarnwick::platform

namespace tarnwick::platform {

std::string SystemErrorText(unsigned long error) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::string text = n != 0 && buffer != nullptr ? Narrow(std::wstring_view(buffer, n))
                                                 : "error " + std::to_string(error);
  if (buffer != nullptr)
    LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
    text.pop_back();
  return text;
}

}  // namespace tarnwick::platform
