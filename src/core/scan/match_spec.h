// Wildcard matching of file names against the pattern list.
//
// The list is split at every ";" (no escaping); a trailing ";" adds no pattern. Leading spaces of
// each pattern are skipped, other spaces are literal. A pattern matches the whole name: "*" is any
// run of characters (none included), "?" exactly one character, every other character stands for
// itself ("[" too). The list that is exactly "*.*" matches every name; as one pattern among others
// (or with a space or ";" around it) "*.*" needs a dot like any pattern. An empty pattern matches
// only the empty name; an empty list matches nothing. Letter case is ignored as Windows ignores
// it in names: simple upper-case pairs that map back (see text_case.h). Time is at most
// proportional to name length times pattern length, never exponential.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tarnwick {

// The pattern list compiled once, for testing many names. Patterns of the common forms "*.ext"
// and "name" (no "?", no "*" after the leading ones) share one trie of reversed case-key
// texts, so a name is tested against all of them in one backward pass over its last characters,
// whatever their number. Other patterns are tried one after the other.
class PatternMatcher {
 public:
  explicit PatternMatcher(std::string_view patternList);

  bool Matches(std::string_view name) const;

 private:
  struct Node {
    std::vector<std::pair<char32_t, std::uint32_t>> next;  // case key -> node
    bool suffixEnd = false;  // a "*text" pattern ends here: any remaining prefix matches
    bool exactEnd = false;   // a "text" pattern ends here: matches when the name is used up
  };
  void addLiteral(std::u32string_view text, bool anyPrefix);

  bool matchAll_ = false;
  bool anyPattern_ = false;
  std::vector<Node> trie_;                    // trie_[0] is the root
  std::vector<std::u32string> wildPatterns_;  // case keys, "*" runs collapsed
};

// True when `name` matches at least one pattern of the ";"-separated `patternList`.
bool MatchSpec(std::string_view name, std::string_view patternList);

}  // namespace tarnwick
