#include "core/scan/match_spec.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

namespace tarnwick {
namespace {

struct MatchCase {
  const char* list;
  const char* name;
  bool matches;
};

class MatchSpecTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchSpecTable, MatchesLikeThePlatformMatcher) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(MatchSpec(c.name, c.list), c.matches)
      << "list \"" << c.list << "\" name \"" << c.name << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MatchSpecTable,
    ::testing::Values(
        // Whole-name match, letter case ignored.
        MatchCase{"*.doc", "REPORT.DOC", true}, MatchCase{"*.doc", "report.docx", false},
        MatchCase{"*.docx", "report.docx", true}, MatchCase{"*.doc", "report.doc.bak", false},
        MatchCase{"*.pst;*.pab;*.pdf", "Outlook.PAB", true},
        MatchCase{"*.pst;*.pab;*.pdf", "Outlook.pabx", false},
        // "*" takes any run, none included; "?" exactly one character, never none.
        MatchCase{"*", "", true}, MatchCase{"*", "anything", true}, MatchCase{"a*b", "ab", true},
        MatchCase{"a*b", "axxb", true}, MatchCase{"a*b", "axxbc", false},
        MatchCase{"?.doc", ".doc", false}, MatchCase{"?.doc", "a.doc", true},
        MatchCase{"?.doc", "ab.doc", false}, MatchCase{"*.d?c", "x.DOC", true},
        MatchCase{"*a*b*c*", "xxaxxbxxcxx", true}, MatchCase{"*a*b*c*", "cba", false},
        MatchCase{"a*a*a", "aa", false}, MatchCase{"a*a*a", "aaa", true},
        MatchCase{"*ab*ab", "abab", true}, MatchCase{"*ab*ab", "aab", false},
        // "?" is one character, not one byte.
        MatchCase{"?.txt", "é.txt", true}, MatchCase{"??.txt", "é.txt", false},
        // Every other character is literal: "[" starts no class, "." is a dot.
        MatchCase{"[ab].txt", "a.txt", false}, MatchCase{"[ab].txt", "[AB].TXT", true},
        MatchCase{"a.b", "axb", false},
        // Exactly "*.*" matches every name; anywhere else the dot is literal.
        MatchCase{"*.*", "README", true}, MatchCase{"*.*", "", true},
        MatchCase{"  *.*", "README", true}, MatchCase{"*.*x", "README", false},
        MatchCase{"x;*.*", "README", true}, MatchCase{"*.**", "README", false},
        // Splitting: leading spaces skipped, trailing and inner spaces literal, trailing ";"
        // adds no pattern, an empty pattern matches only the empty name.
        MatchCase{"*.doc; *.pdf", "a.pdf", true}, MatchCase{"*.doc ;*.pdf", "a.doc", false},
        MatchCase{"*.doc ;*.pdf", "a.doc ", true}, MatchCase{"my file.txt", "MY FILE.TXT", true},
        MatchCase{"*.doc;", "", false}, MatchCase{"*.doc;;*.pdf", "", true},
        MatchCase{";*.doc", "", true}, MatchCase{"   ", "", true}, MatchCase{"   ", " ", false},
        MatchCase{"", "", false}, MatchCase{"", "a.doc", false},
        // Letters beyond ASCII, one to one, no normalisation or multi-letter folding.
        MatchCase{"été.*", "ÉTÉ.TXT", true}, MatchCase{"*.ÿ", "a.Ÿ", true},
        MatchCase{"привет.doc", "ПРИВЕТ.DOC", true}, MatchCase{"σοφία*", "ΣΟΦΊΑ.txt", true},
        MatchCase{"ｆｕｌｌ.txt", "ＦＵＬＬ.txt", true}, MatchCase{"straße", "STRASSE", false},
        MatchCase{"e\xCC\x81.txt", "\xC3\xA9.txt", false},
        // Bytes that are not UTF-8 (POSIX names) stand for themselves.
        MatchCase{"*.doc", "bad\xFF.doc", true}, MatchCase{"?.doc", "\xFF.doc", true},
        MatchCase{"\xFF*", "\xFF.doc", true}, MatchCase{"\xFE*", "\xFF.doc", false}));

// The compiled matcher against a plain reference matcher, on many small random lists and names,
// so that the trie, the splitting and the "*" handling agree with the definition everywhere.
bool referenceMatch(const std::string& name, size_t n, const std::string& pattern, size_t p) {
  if (p == pattern.size())
    return n == name.size();
  if (pattern[p] == '*') {
    for (size_t k = n; k <= name.size(); ++k) {
      if (referenceMatch(name, k, pattern, p + 1))
        return true;
    }
    return false;
  }
  if (n == name.size())
    return false;
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
  return (pattern[p] == '?' || lower(pattern[p]) == lower(name[n])) &&
         referenceMatch(name, n + 1, pattern, p + 1);
}

TEST(PatternMatcher, AgreesWithReferenceOnRandomLists) {
  std::mt19937 rng(12345);
  const std::string patternChars = "aB.*?*";
  const std::string nameChars = "abAB.";
  const auto randomText = [&](const std::string& alphabet, size_t maxLen) {
    std::string s(rng() % (maxLen + 1), ' ');
    for (char& c : s)
      c = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::string> patterns;
    std::string list;
    for (int k = 0, count = 1 + static_cast<int>(rng() % 4); k < count; ++k) {
      patterns.push_back(randomText(patternChars, 5));
      if (k > 0)
        list += ';';
      list += patterns.back();
    }
    if (list.empty())
      patterns.clear();  // an empty list has no patterns at all
    const PatternMatcher matcher(list);
    for (int t = 0; t < 20; ++t) {
      const std::string name = randomText(nameChars, 7);
      bool expected = false;
      for (size_t k = 0; k < patterns.size(); ++k) {
        const bool lastAndEmpty = k + 1 == patterns.size() && patterns[k].empty() && k > 0;
        if (lastAndEmpty)
          continue;  // a trailing ";" adds no pattern
        expected = expected || patterns[k] == "*.*" || referenceMatch(name, 0, patterns[k], 0);
      }
      ASSERT_EQ(matcher.Matches(name), expected)
          << "list \"" << list << "\" name \"" << name << "\"";
    }
  }
}

TEST(PatternMatcher, ManyStarsAgainstALongNameTakeLinearTime) {
  const std::string name(20000, 'a');
  const std::string list = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b;" + std::string(30, '?') + "*b";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(MatchSpec(name, list));
  EXPECT_TRUE(MatchSpec(name + "b", list));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace tarnwick
