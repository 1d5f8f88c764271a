#include "core/restore/manifest.h"

#include <charconv>
#include <chrono>

#include "core/common/escaped_name.h"

namespace tarnwick::restore {
namespace {

// The exact bytes of an escaped field. A "%" that starts no escape is kept as it is, so a manifest
// edited by hand still reads.
std::string DecodeEscaped(std::string_view escaped) {
  return UnescapeName(escaped).value_or(std::string(escaped));
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t tab = line.find('\t');
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos)
      return fields;
    line.remove_prefix(tab + 1);
  }
}

template <typename T>
bool parseNumber(std::string_view text, T& value, int base = 10) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
  return !text.empty() && ec == std::errc() && ptr == end;
}

// "2 of 3"
void parsePart(std::string_view value, int& part, int& count) {
  const std::size_t of = value.find(" of ");
  int p = 0, c = 0;
  if (of != std::string_view::npos && parseNumber(value.substr(0, of), p) &&
      parseNumber(value.substr(of + 4), c) && p >= 1 && c >= p) {
    part = p;
    count = c;
  }
}

void readHeaderLine(std::string_view line, Manifest& m) {
  const std::size_t colon = line.find(": ");
  if (colon == std::string_view::npos)
    return;
  const std::string_view key = line.substr(0, colon);
  const std::string_view value = line.substr(colon + 2);
  if (key == "Program")
    m.program = DecodeEscaped(value);
  else if (key == "Computer")
    m.computer = DecodeEscaped(value);
  else if (key == "User")
    m.user = DecodeEscaped(value);
  else if (key == "System")
    m.system = value == "Windows" ? PathSystem::Windows : PathSystem::Posix;
  else if (key == "Home")
    m.home = DecodeEscaped(value);
  else if (key == "Scan folder")
    m.scanFolder = DecodeEscaped(value);
  else if (key == "Created")
    m.created = std::string(value);
  else if (key == "Part")
    parsePart(value, m.part, m.partCount);
  else if (key == "Known folder") {
    const auto fields = splitTabs(value);
    if (fields.size() >= 2 && !fields[0].empty() && !fields[1].empty())
      m.knownFolders.push_back({std::string(fields[0]), DecodeEscaped(fields[1])});
  }
}

bool readFileLine(std::string_view line, Manifest& m, std::string& error) {
  const auto f = splitTabs(line);
  // The column heading line.
  if (f.size() >= 1 && f[0] == "size")
    return true;
  ManifestFile file;
  std::optional<std::int64_t> time;
  if (f.size() < 5 || !parseNumber(f[0], file.size) || !(time = ParseUtcTime(f[1])) ||
      f[2].size() != 8 || !parseNumber(f[2], file.crc, 16) || f[3].empty() || f[4].empty()) {
    error = "the manifest has a file line it cannot read: " + std::string(line.substr(0, 200));
    return false;
  }
  file.modified = *time;
  file.entryName = DecodeEscaped(f[3]);
  file.originalPath = DecodeEscaped(f[4]);
  m.files.push_back(std::move(file));
  return true;
}

}  // namespace

std::optional<std::int64_t> ParseUtcTime(std::string_view t) {
  // YYYY-MM-DDTHH:MM:SSZ
  if (t.size() != 20 || t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' ||
      t[16] != ':' || t[19] != 'Z')
    return std::nullopt;
  int y = 0;
  unsigned mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!parseNumber(t.substr(0, 4), y) || !parseNumber(t.substr(5, 2), mo) ||
      !parseNumber(t.substr(8, 2), d) || !parseNumber(t.substr(11, 2), h) ||
      !parseNumber(t.substr(14, 2), mi) || !parseNumber(t.substr(17, 2), s))
    return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(mo),
                                         std::chrono::day(d)};
  if (!date.ok() || h > 23 || mi > 59 || s > 60)
    return std::nullopt;
  const auto days = std::chrono::sys_days(date).time_since_epoch().count();
  return static_cast<std::int64_t>(days) * 86400 + h * 3600 + mi * 60 + s;
}

std::optional<Manifest> ParseManifest(std::string_view text, std::string& error) {
  Manifest m;
  bool first = true;
  bool inHeader = true;
  std::string section;
  while (!text.empty()) {
    const std::size_t nl = text.find('\n');
    std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);  // a manifest saved again by an editor that writes CRLF
    if (first) {
      if (line.substr(0, 3) == "\xEF\xBB\xBF")
        line.remove_prefix(3);
      if (line != "Tarnwick manifest 1") {
        error = "not a Tarnwick manifest of a version this program reads";
        return std::nullopt;
      }
      first = false;
      continue;
    }
    if (line.empty()) {
      inHeader = false;
      continue;
    }
    if (line.front() == '[' && line.back() == ']') {
      inHeader = false;
      section = std::string(line);
      continue;
    }
    if (inHeader)
      readHeaderLine(line, m);
    else if (section == "[files]" && !readFileLine(line, m, error))
      return std::nullopt;
  }
  if (first) {
    error = "the manifest is empty";
    return std::nullopt;
  }
  return m;
}

}  // namespace tarnwick::restore
