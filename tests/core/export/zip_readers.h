// Checks an archive the way users will open it: with unzip, 7z, bsdtar and Python's zipfile.
// Every archive the export tests make goes through all four.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::test {

struct ExpectedEntry {
  std::string name;
  std::uint64_t size = 0;
  std::optional<std::int64_t> mtime;  // the file's modification time, checked through DOS time
  // A file holding the bytes the entry must hold (usually the file that was archived), compared
  // byte for byte when given.
  std::optional<std::filesystem::path> contentFile;
};

// Runs a shell command; its exit code and what it printed (stdout and stderr together).
struct CommandResult {
  int exitCode = -1;
  std::string output;
};
CommandResult RunCommand(const std::string& command);

// Quotes a path for the shell.
std::string Quote(const std::string& text);

// Tests the archive with all four readers; empty when all agree with `expected`, otherwise what
// went wrong.
std::string CheckWithAllReaders(const std::filesystem::path& archive,
                                const std::vector<ExpectedEntry>& expected);

// The names bsdtar lists, in order.
std::vector<std::string> ListWithBsdtar(const std::filesystem::path& archive);

}  // namespace tarnwick::test
