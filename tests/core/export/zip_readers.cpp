#include "core/export/zip_readers.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

namespace tarnwick::test {
namespace {

std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

}  // namespace

CommandResult RunCommand(const std::string& command) {
  CommandResult result;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen((command + " 2>&1").c_str(), "r"), pclose);
  if (!pipe)
    return result;
  std::array<char, 4096> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), pipe.get())) > 0)
    result.output.append(buf.data(), n);
  const int status = pclose(pipe.release());
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string Quote(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::vector<std::string> ListWithBsdtar(const std::filesystem::path& archive) {
  const CommandResult r = RunCommand("LC_ALL=C.UTF-8 bsdtar -tf " + Quote(archive.string()));
  std::vector<std::string> names;
  std::istringstream in(r.output);
  for (std::string line; std::getline(in, line);)
    names.push_back(line);
  return names;
}

std::string CheckWithAllReaders(const std::filesystem::path& archive,
                                const std::vector<ExpectedEntry>& expected) {
  std::string problems;
  const std::string a = Quote(archive.string());
  if (const auto r = RunCommand("unzip -tqq " + a); r.exitCode != 0) {
    problems +=
        "unzip -t failed (" + std::to_string(r.exitCode) + "): " + r.output.substr(0, 2000) + "\n";
  }
  if (const auto r = RunCommand("7z t -bd " + a); r.exitCode != 0) {
    problems +=
        "7z t failed (" + std::to_string(r.exitCode) + "): " + r.output.substr(0, 2000) + "\n";
  }
  std::vector<std::string> names;
  for (const auto& e : expected)
    names.push_back(e.name);
  if (const auto listed = ListWithBsdtar(archive); listed != names) {
    problems += "bsdtar -tf lists " + std::to_string(listed.size()) + " names, expected " +
                std::to_string(names.size()) + (listed.empty() ? "" : ", first " + listed.front()) +
                "\n";
  }
  std::ostringstream manifest;
  manifest << "[";
  for (size_t i = 0; i < expected.size(); ++i) {
    const auto& e = expected[i];
    manifest << (i ? "," : "") << "{\"name\":" << jsonString(e.name) << ",\"size\":" << e.size;
    if (e.mtime)
      manifest << ",\"mtime\":" << *e.mtime;
    if (e.contentFile)
      manifest << ",\"file\":" << jsonString(e.contentFile->string());
    manifest << "}";
  }
  manifest << "]";
  const auto manifestPath = archive.string() + ".manifest.json";
  std::ofstream(manifestPath) << manifest.str();
  const auto r =
      RunCommand("python3 " + Quote(TARNWICK_CHECK_ZIP_PY) + " " + a + " < " + Quote(manifestPath));
  std::filesystem::remove(manifestPath);
  if (r.exitCode != 0)
    problems += "python zipfile: " + r.output.substr(0, 2000) + "\n";
  return problems;
}

}  // namespace tarnwick::test
