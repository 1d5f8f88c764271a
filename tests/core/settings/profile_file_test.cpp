// The profile text reader and writer: what is read from odd files, and that a write changes only
// what it must.
#include "core/settings/profile_file.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tarnwick::profile {
namespace {

using namespace std::string_literals;

// A test name made from a case's description.
template <class Info>
std::string caseName(const Info& info) {
  std::string name;
  for (char c : std::string(info.param.what)) {
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name;
}

struct ReadCase {
  const char* what;
  std::string content;
  std::string expected;  // value of [app] key "k"
  friend std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.what; }
};

class ProfileRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, ReadsValueOfAppK) {
  EXPECT_EQ(ReadValue(GetParam().content, "app", "k"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRead,
    testing::Values(
        ReadCase{"crlf", "[app]\r\nk=v\r\n", "v"}, ReadCase{"lf only", "[app]\nk=v\n", "v"},
        ReadCase{"cr only", "[app]\rk=v\r", "v"},
        ReadCase{"mixed ends and blank lines", "\r\n\n[app]\n\r\n\rk=v", "v"},
        ReadCase{"last line without end", "[app]\r\nk=last", "last"},
        ReadCase{"trimmed around", " \t[app] \x1a\r\n \t k \t= \v v w \f\x1a\r\n", "v w"},
        ReadCase{"value keeps = ; [", "[app]\r\nk=a=b;c[d]\r\n", "a=b;c[d]"},
        ReadCase{"split at first =", "[app]\r\nk==x\r\n", "=x"},
        ReadCase{"empty value", "[app]\r\nk=\r\n", ""},
        ReadCase{"names ignore ascii case", "[APP]\r\nK=v\r\n", "v"},
        ReadCase{"first section of the name only", "[app]\r\nx=1\r\n[app]\r\nk=second\r\n", ""},
        ReadCase{"first key wins", "[app]\r\nk=one\r\nk=two\r\n", "one"},
        ReadCase{"other section does not count", "[other]\r\nk=v\r\n[app]\r\n", ""},
        ReadCase{"keys before any section", "k=v\r\n[app]\r\n", ""},
        ReadCase{"header name to last ]", "[a]pp]x\r\nk=v\r\n[app]\r\nk=w\r\n", "w"},
        ReadCase{"junk after ] ignored", "[app] junk\r\nk=v\r\n", "v"},
        ReadCase{"[ without ] is a key line", "[app]\r\n[k=v\r\nk=w\r\n", "w"},
        ReadCase{"no comments", "[app]\r\n;k=c\r\nk=v ;not a comment\r\n", "v ;not a comment"},
        ReadCase{"outer double quotes", "[app]\r\nk=\"a b\"\r\n", "a b"},
        ReadCase{"outer single quotes", "[app]\r\nk='a'\r\n", "a"},
        ReadCase{"mismatched quotes stay", "[app]\r\nk=\"a'\r\n", "\"a'"},
        ReadCase{"lone quote stays", "[app]\r\nk=\"\r\n", "\""},
        ReadCase{"nul ends its line", "[app]\r\nk=ab\0cd\r\n"s, "ab"},
        ReadCase{"nul in header line", "[app]\0junk\r\nk=v\r\n"s, "v"},
        ReadCase{"no section at all", "k=v\r\n", ""}, ReadCase{"empty text", "", ""},
        ReadCase{"utf-8 bom skipped", "\xEF\xBB\xBF[app]\r\nk=v\r\n", "v"},
        ReadCase{"utf-8 value", "[app]\r\nk=\xC3\xA9t\xC3\xA9\r\n", "\xC3\xA9t\xC3\xA9"},
        ReadCase{"utf-16le", "\xFF\xFE[\0a\0p\0p\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0"s, "\xC3\xA9"},
        ReadCase{"utf-16be", "\xFE\xFF\0[\0a\0p\0p\0]\0\n\0k\0=\0v"s, "v"},
        ReadCase{"binary garbage", "\x01\x02\xFF[\x80\x00\x1b]]\r\n==\xFE\r\n"s, ""}),
    caseName<testing::TestParamInfo<ReadCase>>);

TEST(ProfileRead, LongValuesAreReadInFull) {
  const std::string value(5000, 'x');
  EXPECT_EQ(ReadValue("[app]\r\nk=" + value + "\r\n", "app", "k"), value);
  const std::string megabyteLine(1 << 20, 'y');
  EXPECT_EQ(ReadValue(megabyteLine + "\r\n[app]\r\nk=v\r\n", "app", "k"), "v");
}

struct WriteCase {
  const char* what;
  std::string before;
  std::string value;
  std::string after;
  friend std::ostream& operator<<(std::ostream& os, const WriteCase& c) { return os << c.what; }
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, ChangesOnlyWhatItMust) {
  const auto result = WriteValue(GetParam().before, "app", "k", GetParam().value);
  ASSERT_FALSE(result.refused);
  ASSERT_TRUE(result.content.has_value());
  EXPECT_EQ(*result.content, GetParam().after);
  EXPECT_EQ(ReadValue(*result.content, "app", "k"), ReadValue(GetParam().after, "app", "k"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWrite,
    testing::Values(
        WriteCase{"replace keeps key spelling and line end", "; c\r\n[App]\r\n K = old \n# x\r\n",
                  "new", "; c\r\n[App]\r\nK=new\n# x\r\n"},
        WriteCase{"replace first of two keys", "[app]\r\nk=1\r\nk=2\r\n", "3",
                  "[app]\r\nk=3\r\nk=2\r\n"},
        WriteCase{"add after last non-blank line of section",
                  "[app]\r\na=1\r\n\r\n  \r\n[z]\r\nk=9\r\n", "v",
                  "[app]\r\na=1\r\nk=v\r\n\r\n  \r\n[z]\r\nk=9\r\n"},
        WriteCase{"add to section at end without line end", "[app]\r\na=1", "v",
                  "[app]\r\na=1\r\nk=v\r\n"},
        WriteCase{"add after lf-only line", "[app]\na=1\n", "v", "[app]\na=1\nk=v\r\n"},
        WriteCase{"add to empty section", "[app]\r\n[b]\r\n", "v", "[app]\r\nk=v\r\n[b]\r\n"},
        WriteCase{"append section", "[b]\r\nx=1\r\n", "v", "[b]\r\nx=1\r\n[app]\r\nk=v\r\n"},
        WriteCase{"append section after unterminated line", "x", "v", "x\r\n[app]\r\nk=v\r\n"},
        WriteCase{"append to empty text", "", "v", "[app]\r\nk=v\r\n"},
        WriteCase{"leading white space not stored", "[app]\r\nk=1\r\n", "  \tv ",
                  "[app]\r\nk=v \r\n"},
        WriteCase{"empty value", "[app]\r\nk=1\r\n", "", "[app]\r\nk=\r\n"},
        WriteCase{"only first section of the name", "[app]\r\na=1\r\n[app]\r\nk=1\r\n", "2",
                  "[app]\r\na=1\r\nk=2\r\n[app]\r\nk=1\r\n"},
        WriteCase{"utf-8 bom kept", "\xEF\xBB\xBF[app]\r\nk=1\r\n", "2",
                  "\xEF\xBB\xBF[app]\r\nk=2\r\n"},
        WriteCase{"binary garbage kept", "\x01\xFF\0\x80\r\n"s, "v",
                  "\x01\xFF\0\x80\r\n[app]\r\nk=v\r\n"s},
        WriteCase{"line with nul replaced whole", "[app]\r\nk=1\0tail\r\nz=2"s, "v",
                  "[app]\r\nk=v\r\nz=2"},
        WriteCase{"utf-16le edited in place", "\xFF\xFE[\0a\0p\0p\0]\0\n\0k\0=\0\x31\0\n\0"s,
                  "\xC3\xA9", "\xFF\xFE[\0a\0p\0p\0]\0\n\0k\0=\0\xE9\0\n\0"s}),
    caseName<testing::TestParamInfo<WriteCase>>);

TEST(ProfileWrite, SameValueLeavesTextUntouched) {
  const auto result = WriteValue("[app]\r\nk=\"v\"\r\n", "app", "k", "v");
  EXPECT_FALSE(result.refused);
  EXPECT_FALSE(result.content.has_value());
}

TEST(ProfileWrite, RefusesLineBreaksAndNulThatWouldInjectLines) {
  for (const std::string& bad : {"a\r\n[evil]"s, "a\nb"s, "a\rb"s, "a\0b"s}) {
    const auto result = WriteValue("[app]\r\nk=1\r\n", "app", "k", bad);
    EXPECT_TRUE(result.refused);
    EXPECT_FALSE(result.content.has_value());
  }
  EXPECT_TRUE(WriteValue("", "app", "k\n", "v").refused);
  EXPECT_TRUE(WriteValue("", "a]p", "k", "v").refused);
}

}  // namespace
}  // namespace tarnwick::profile
