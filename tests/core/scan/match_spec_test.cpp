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

// How a failing case is shown.
void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << "list \"" << c.list << "\" name \"" << c.name << "\"";
}

class MatchSpecTable : public ::testing::TestWithParam<MatchCase> {};

TEST_P(MatchSpecTable, MatchesLikeThePlatformMatcher) {
  const MatchCase& c = GetParam();
  EXPECT_EQ(MatchSpec(c.name, c.list), c.matches)
      << "list \"" << c.list << "\" name \"" << c.name << "\"";
}

// A readable, stable test name: the list and the name, "*" as "star", "?" as "q", "." as "dot",
// ";" as "semi", " " as "sp", any other byte beyond letters and digits as its hex value.
std::string spelled(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
      out += ch;
      continue;
    }
    switch (c) {
      case '*':
        out += "star";
        break;
      case '?':
        out += "q";
        break;
      case '.':
        out += "dot";
        break;
      case ';':
        out += "semi";
        break;
      case ' ':
        out += "sp";
        break;
      default:
        out += 'x';
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
    }
  }
  return out.empty() ? "empty" : out;
}

std::string caseName(const ::testing::TestParamInfo<MatchCase>& info) {
  return std::to_string(info.index) + "_" + spelled(info.param.list) + "_" +
         (info.param.matches ? "matches" : "not") + "_" + spelled(info.param.name);
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
        // The list "*.*" matches every name; as one pattern among others, or with a space or
        // ";" around it, it needs a dot like any pattern.
        MatchCase{"*.*", "README", true}, MatchCase{"*.*", "", true},
        MatchCase{"  *.*", "README", false}, MatchCase{"  *.*", "a.b", true},
        MatchCase{"*.*;", "README", false}, MatchCase{"*.doc;*.*", "README", false},
        MatchCase{"*.doc;*.*", "READ.ME", true}, MatchCase{"*.*x", "README", false},
        MatchCase{"x;*.*", "README", false}, MatchCase{"*.**", "README", false},
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
        // Case pairs count only when they map back, as Windows compares names: no folding.
        MatchCase{"\u212A.txt", "k.txt", false}, MatchCase{"\u212A.txt", "K.txt", false},
        MatchCase{"\u017F.txt", "s.txt", false}, MatchCase{"\u00B5.txt", "\u03BC.txt", false},
        MatchCase{"\u00B5.txt", "\u039C.txt", false}, MatchCase{"\u03C2", "\u03C3", false},
        MatchCase{"\u03C2", "\u03A3", false}, MatchCase{"\u01C5", "\u01C6", false},
        MatchCase{"\u01C4", "\u01C6", true}, MatchCase{"\u212B", "\u00C5", false},
        MatchCase{"\u212B", "\u00E5", false}, MatchCase{"\u00E5", "\u00C5", true},
        MatchCase{"\u0131", "I", false}, MatchCase{"\u0130", "i", false},
        MatchCase{"\u00FF", "\u0178", true}, MatchCase{"\u0401", "\u0451", true},
        MatchCase{"\uFF41", "\uFF21", true}, MatchCase{"\u212A", "\u212A", true},
        // Bytes that are not UTF-8 (POSIX names) stand for themselves.
        MatchCase{"*.doc", "bad\xFF.doc", true}, MatchCase{"?.doc", "\xFF.doc", true},
        MatchCase{"\xFF*", "\xFF.doc", true}, MatchCase{"\xFE*", "\xFF.doc", false}),
    caseName);

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
        expected = expected || list == "*.*" || referenceMatch(name, 0, patterns[k], 0);
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
