// The conversion between the engine's UTF-8 and the UTF-16 of the Windows calls, and the long
// path form those calls are given.
#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "core/platform/utf16_win.h"
#endif

namespace tarnwick::platform {
namespace {

constexpr const char* kWindowsOnly = "Windows only: the engine calls no UTF-16 API elsewhere";

TEST(Utf16, ConvertsEveryScriptBothWays) {
#ifndef _WIN32
  GTEST_SKIP() << kWindowsOnly;
#else
  EXPECT_EQ(Widen("A\xCE\xA9\xD0\x96\xE6\x96\x87"), L"A\u03A9\u0416\u6587");  // A Omega Zhe wen
  EXPECT_EQ(Widen("\xF0\x9F\x93\x84"), L"\xD83D\xDCC4");  // one character, two UTF-16 units
  EXPECT_EQ(Narrow(L"\u03A9\u0416\u6587\xD83D\xDCC4"),
            "\xCE\xA9\xD0\x96\xE6\x96\x87\xF0\x9F\x93\x84");
  const std::string mixed = "Έγγραφα/Документы/文档/보고서 \U0001F4C4.doc";
  EXPECT_EQ(Narrow(Widen(mixed)), mixed);
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Narrow(L""), "");
  // Bytes that are not UTF-8 become U+FFFD rather than being dropped or cutting the text short.
  EXPECT_EQ(Widen("a\xFF"
                  "b"),
            L"a\uFFFDb");
  // An unpaired surrogate (Windows allows one in a name) is carried as WTF-8 and comes back
  // exactly, so such a file can be opened again by the name the engine holds.
  const std::wstring lone[] = {std::wstring(L"a\xD800b"), std::wstring(L"\xDFFF"),
                               std::wstring(L"x\xDC00\xD800"), std::wstring(L"\xD83D")};
  EXPECT_EQ(Narrow(lone[0]),
            "a\xED\xA0\x80"
            "b");
  for (const auto& name : lone)
    EXPECT_EQ(Widen(Narrow(name)), name);
#endif
}

struct LongPathCase {
  const char* path;
  const wchar_t* expected;
};

TEST(Utf16, LongPathFormOfAbsolutePaths) {
#ifndef _WIN32
  GTEST_SKIP() << kWindowsOnly;
#else
  const LongPathCase cases[] = {
      {"C:\\Users\\me\\Docs", L"\\\\?\\C:\\Users\\me\\Docs"},
      {"C:/Users/me/Docs/", L"\\\\?\\C:\\Users\\me\\Docs\\"},
      {"C:\\", L"\\\\?\\C:\\"},
      {"c:\\a\\\\b//c", L"\\\\?\\c:\\a\\b\\c"},
      {"C:\\a\\.\\b\\..\\c", L"\\\\?\\C:\\a\\c"},
      {"C:\\a\\b\\..\\..\\..\\c\\", L"\\\\?\\C:\\c\\"},
      {"C:\\a\\..", L"\\\\?\\C:\\"},
      // The prefixed form is taken literally: names ending in a dot or a space stay as they are.
      {"C:\\dots.\\space \\file.", L"\\\\?\\C:\\dots.\\space \\file."},
      {"C:\\dir\\*", L"\\\\?\\C:\\dir\\*"},
      {"\\\\server\\share\\dir\\f.doc", L"\\\\?\\UNC\\server\\share\\dir\\f.doc"},
      {"//server/share/dir/", L"\\\\?\\UNC\\server\\share\\dir\\"},
      {"\\\\server\\share", L"\\\\?\\UNC\\server\\share\\"},
      {"\\\\?\\C:\\kept\\..\\as is", L"\\\\?\\C:\\kept\\..\\as is"},
      {"\\\\.\\COM1", L"\\\\.\\COM1"},
      {"C:\\Έγγραφα\\文档.doc",
       L"\\\\?\\C:\\\u0388\u03B3\u03B3\u03C1\u03B1\u03C6\u03B1\\\u6587\u6863.doc"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LongPath(c.path), c.expected) << c.path;
#endif
}

TEST(Utf16, LongPathFormOfRelativePathsStartsAtTheCurrentFolder) {
#ifndef _WIN32
  GTEST_SKIP() << kWindowsOnly;
#else
  std::wstring current(32768, L'\0');
  current.resize(GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data()));
  if (current.back() != L'\\')
    current += L'\\';
  ASSERT_GE(current.size(), 3u);
  ASSERT_EQ(current[1], L':') << "the tests run from a drive path";
  EXPECT_EQ(LongPath("sub\\.\\f.txt"), L"\\\\?\\" + current + L"sub\\f.txt");
  EXPECT_EQ(LongPath("sub/../g.txt"), L"\\\\?\\" + current + L"g.txt");
  EXPECT_EQ(LongPath(""), L"");
#endif
}

}  // namespace
}  // namespace tarnwick::platform
