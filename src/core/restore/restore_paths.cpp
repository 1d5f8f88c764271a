#include "core/restore/restore_paths.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/common/utf8.h"

namespace tarnwick::restore {
namespace {

char asciiUpper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(std::string_view a, std::string_view b, PathSystem system) {
  if (system == PathSystem::Posix)
    return a == b;
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return asciiUpper(x) == asciiUpper(y);
         });
}

bool isSeparator(char c, PathSystem system) {
  return c == '/' || (system == PathSystem::Windows && c == '\\');
}

std::vector<std::string> splitNames(std::string_view rest, PathSystem system) {
  std::vector<std::string> names;
  std::string current;
  for (char c : rest) {
    if (isSeparator(c, system)) {
      if (!current.empty())
        names.push_back(std::move(current));
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty())
    names.push_back(std::move(current));
  return names;
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (also with the superscript digits ¹²³), with or without an
// extension, and with trailing spaces or dots, which Windows drops.
bool isDeviceName(std::string_view name) {
  std::string base(name.substr(0, name.find('.')));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.'))
    base.pop_back();
  for (char& c : base)
    c = asciiUpper(c);
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
      base == "CONOUT$")
    return true;
  if (base.size() >= 4 && (base.substr(0, 3) == "COM" || base.substr(0, 3) == "LPT")) {
    const std::string digit = base.substr(3);
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" ||
           digit == "\xC2\xB2" || digit == "\xC2\xB3";
  }
  return false;
}

}  // namespace

PathSystem HereSystem() {
#ifdef _WIN32
  return PathSystem::Windows;
#else
  return PathSystem::Posix;
#endif
}

PathParts SplitPath(std::string_view path, PathSystem system) {
  PathParts parts;
  if (system == PathSystem::Windows) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
      parts.root = {asciiUpper(path[0]), ':'};
      path.remove_prefix(2);
    } else if (path.size() >= 2 && isSeparator(path[0], system) && isSeparator(path[1], system)) {
      // \\server\share: the server and share are the root.
      std::vector<std::string> names = splitNames(path, system);
      parts.root = "\\\\";
      for (std::size_t i = 0; i < std::min<std::size_t>(2, names.size()); ++i)
        parts.root += (i ? "\\" : "") + names[i];
      parts.names.assign(names.begin() + std::min<std::size_t>(2, names.size()), names.end());
      return parts;
    } else if (!path.empty() && isSeparator(path[0], system)) {
      parts.root = "\\";
    }
  } else if (!path.empty() && path[0] == '/') {
    parts.root = "/";
  }
  parts.names = splitNames(path, system);
  return parts;
}

std::optional<std::vector<std::string>> NamesBelow(const PathParts& path, const PathParts& folder,
                                                   PathSystem system) {
  if (!sameName(path.root, folder.root, system) || path.names.size() < folder.names.size())
    return std::nullopt;
  for (std::size_t i = 0; i < folder.names.size(); ++i) {
    if (!sameName(path.names[i], folder.names[i], system))
      return std::nullopt;
  }
  return std::vector<std::string>(path.names.begin() + static_cast<long>(folder.names.size()),
                                  path.names.end());
}

std::optional<std::string> CheckNames(std::vector<std::string>& names, PathSystem target) {
  std::erase(names, std::string("."));
  for (const auto& name : names) {
    if (name == "..")
      return "the path leaves its folder (\"..\")";
    if (name.find('\0') != std::string::npos)
      return "the name holds a zero byte";
    if (target == PathSystem::Windows && isDeviceName(name))
      return "\"" + name + "\" is a device name on Windows";
  }
  if (names.empty())
    return "the path has no file name";
  return std::nullopt;
}

std::optional<std::string> CheckEntryName(std::string_view entryName, PathSystem target,
                                          std::vector<std::string>& names) {
  if (entryName.empty())
    return "the entry has no name";
  if (entryName[0] == '/' || entryName[0] == '\\')
    return "an absolute path";
  if (entryName.size() >= 2 && entryName[1] == ':')
    return "a drive letter";
  if (entryName.find(':') != std::string_view::npos && target == PathSystem::Windows)
    return "a \":\" in the name (a drive or a hidden stream on Windows)";
  // "\" separates on Windows, so "a\..\..\x" must be taken apart there as it would be there;
  // refusing it everywhere keeps one answer for one archive.
  names = splitNames(entryName, PathSystem::Windows);
  return CheckNames(names, target);
}

std::string NameOnSystem(std::string_view name, PathSystem target) {
  if (target == PathSystem::Posix)
    return std::string(name);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  const auto escapeByte = [&](unsigned char c) {
    out += '%';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  };
  std::size_t i = 0;
  while (i < name.size()) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x80) {
      const bool forbidden =
          c < 0x20 || c == 0x7F ||
          std::string_view("<>:\"/\\|?*").find(static_cast<char>(c)) != std::string_view::npos;
      if (forbidden)
        escapeByte(c);
      else
        out += static_cast<char>(c);
      ++i;
      continue;
    }
    // Surrogates allowed: Windows keeps unpaired ones in names.
    char32_t cp = 0;
    const std::size_t len = DecodeUtf8(name, i, cp, true);
    if (len == 0) {
      escapeByte(c);
      ++i;
    } else {
      out.append(name.substr(i, len));
      i += len;
    }
  }
  // Windows drops a trailing dot or space from a name; keep it visible instead.
  if (!out.empty() && (out.back() == '.' || out.back() == ' ')) {
    const auto last = static_cast<unsigned char>(out.back());
    out.pop_back();
    escapeByte(last);
  }
  return out;
}

std::string JoinPath(std::string_view folder, const std::vector<std::string>& names,
                     PathSystem target) {
  const char sep = target == PathSystem::Windows ? '\\' : '/';
  std::string out(folder);
  for (const auto& name : names) {
    if (out.empty() || !isSeparator(out.back(), target))
      out += sep;
    out += name;
  }
  return out;
}

std::string ParentFolder(std::string_view path, PathSystem target) {
  std::size_t i = path.size();
  while (i > 0 && !isSeparator(path[i - 1], target))
    --i;
  if (i == 0)
    return {};
  // Keep the separator of a root ("/", "C:\").
  const bool root = i == 1 || (target == PathSystem::Windows && i == 3 && path[1] == ':');
  return std::string(path.substr(0, root ? i : i - 1));
}

std::string KeepBothName(std::string_view name, std::string_view oldComputer, int number) {
  std::size_t dot = name.rfind('.');
  if (dot == 0 || dot == std::string_view::npos)
    dot = name.size();
  std::string tag = " (from " + std::string(oldComputer);
  if (number > 1)
    tag += " " + std::to_string(number);
  tag += ")";
  return std::string(name.substr(0, dot)) + tag + std::string(name.substr(dot));
}

}  // namespace tarnwick::restore
