// The executable's folder and environment variables, as the OS gives them, in UTF-8.
#include "core/platform/system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/platform/file_io.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>

#include <memory>
#else
#include <unistd.h>
#endif

namespace tarnwick::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Makes `folder` the current folder until the end of the scope.
class CurrentFolder {
 public:
  explicit CurrentFolder(const fs::path& folder) : saved_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~CurrentFolder() { fs::current_path(saved_); }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  fs::path saved_;
};

// Runs `program` and waits for it; its exit code, or -1 when it could not be started.
int runProgram(const fs::path& program) {
#ifdef _WIN32
  std::wstring commandLine = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return -1;
  }
  const auto close = [](HANDLE h) { CloseHandle(h); };
  const std::unique_ptr<void, decltype(close)> process(info.hProcess, close);
  const std::unique_ptr<void, decltype(close)> thread(info.hThread, close);
  WaitForSingleObject(process.get(), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return static_cast<int>(code);
#else
  const int status = std::system(("'" + program.string() + "'").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

TEST(ExecutableFolder, HoldsTheRunningProgramWhateverTheCurrentFolder) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_FALSE(IsPathSeparator(folder.back()));
  EXPECT_TRUE(test::FromUtf8(folder).is_absolute()) << folder;
  EXPECT_TRUE(IsOrdinaryFile(folder + kPathSeparator + TARNWICK_TEST_PROGRAM)) << folder;

  TempDir elsewhere;
  const CurrentFolder cd(elsewhere.path());
  EXPECT_EQ(ExecutableFolder(), folder);
}

TEST(ExecutableFolder, IsFoundInAFolderNamedInOtherScripts) {
  TempDir dir;
  const fs::path folder = dir.mkdir("Программы Έγγραφα 程序");
  const fs::path probe = folder / TARNWICK_PROBE_PROGRAM;
  fs::copy_file(test::FromUtf8(ExecutableFolder()) / TARNWICK_PROBE_PROGRAM, probe);
  ASSERT_EQ(runProgram(probe), 0);
  EXPECT_EQ(TempDir::read(folder / "probe.out"), test::Utf8(folder));
}

// Sets or (with no value) removes an environment variable through the OS's own call.
void setVariable(const char* name, const char* value) {
#ifdef _WIN32
  const std::wstring wname = test::FromUtf8(name).wstring();
  const std::wstring wvalue = value ? test::FromUtf8(value).wstring() : std::wstring();
  SetEnvironmentVariableW(wname.c_str(), value ? wvalue.c_str() : nullptr);
#else
  if (value)
    setenv(name, value, 1);
  else
    unsetenv(name);
#endif
}

TEST(Environment, ValuesComeBackAsUtf8AndEmptyDiffersFromMissing) {
  const char* name = "TARNWICK_TEST_VARIABLE";
  setVariable(name, "Αθήνα Москва 東京 \U0001F4C4");
  EXPECT_EQ(GetEnvironment(name), "Αθήνα Москва 東京 \U0001F4C4");
  setVariable(name, "");
  EXPECT_EQ(GetEnvironment(name), std::string());
  setVariable(name, nullptr);
  EXPECT_EQ(GetEnvironment(name), std::nullopt);
  // A long value is read in full.
  const std::string longValue(5000, 'v');
  setVariable(name, longValue.c_str());
  EXPECT_EQ(GetEnvironment(name), longValue);
  setVariable(name, nullptr);
}

}  // namespace
}  // namespace tarnwick::platform
