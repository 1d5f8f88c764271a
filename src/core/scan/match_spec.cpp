#include "core/scan/match_spec.h"

#include <algorithm>

#include "core/scan/text_case.h"

namespace tarnwick {
namespace {

// Pattern characters after mapping to case keys; no key reaches these values.
constexpr char32_t kStar = 0xFFFFFFFF;
constexpr char32_t kOne = 0xFFFFFFFE;

// Each pattern of the list, leading spaces skipped; a trailing ";" adds none.
std::vector<std::string_view> splitList(std::string_view list) {
  std::vector<std::string_view> patterns;
  if (list.empty())
    return patterns;
  for (;;) {
    const auto semi = list.find(';');
    std::string_view pattern = list.substr(0, semi);
    pattern.remove_prefix(std::min(pattern.find_first_not_of(' '), pattern.size()));
    patterns.push_back(pattern);
    if (semi == std::string_view::npos || semi + 1 == list.size())
      break;
    list.remove_prefix(semi + 1);
  }
  return patterns;
}

// The pattern as case keys, with "*" and "?" as kStar and kOne, runs of "*" collapsed to one.
std::u32string compile(std::string_view pattern) {
  std::u32string keys;
  AppendCaseKeys(pattern, keys);
  std::u32string out;
  out.reserve(keys.size());
  for (char32_t c : keys) {
    if (c == U'*') {
      if (out.empty() || out.back() != kStar)
        out.push_back(kStar);
    } else {
      out.push_back(c == U'?' ? kOne : c);
    }
  }
  return out;
}

bool segmentEquals(std::u32string_view name, std::u32string_view segment) {
  for (size_t i = 0; i < segment.size(); ++i) {
    if (segment[i] != kOne && segment[i] != name[i])
      return false;
  }
  return true;
}

// Whole-name match of a compiled pattern. The fixed parts before the first and after the last
// "*" are tied to the ends of the name; each part between two "*" is taken at its leftmost place
// after the previous one, which is always right for "*" and "?" patterns and needs no
// backtracking.
bool wildMatch(std::u32string_view name, std::u32string_view pattern) {
  const size_t first = pattern.find(kStar);
  if (first == std::u32string_view::npos) {
    return name.size() == pattern.size() && segmentEquals(name, pattern);
  }
  const size_t last = pattern.rfind(kStar);
  const std::u32string_view head = pattern.substr(0, first);
  const std::u32string_view tail = pattern.substr(last + 1);
  if (name.size() < head.size() + tail.size())
    return false;
  if (!segmentEquals(name, head))
    return false;
  if (!segmentEquals(name.substr(name.size() - tail.size()), tail))
    return false;

  size_t pos = head.size();
  const size_t end = name.size() - tail.size();
  for (size_t k = first + 1; k < last;) {
    const size_t star = pattern.find(kStar, k);
    const std::u32string_view segment = pattern.substr(k, star - k);
    bool found = false;
    for (size_t j = pos; j + segment.size() <= end; ++j) {
      if (segmentEquals(name.substr(j), segment)) {
        pos = j + segment.size();
        found = true;
        break;
      }
    }
    if (!found)
      return false;
    k = star + 1;
  }
  return true;
}

}  // namespace

PatternMatcher::PatternMatcher(std::string_view patternList) : trie_(1) {
  // Only the list "*.*" itself means every name; as one pattern among others it needs a dot.
  matchAll_ = patternList == "*.*";
  for (std::string_view text : splitList(patternList)) {
    anyPattern_ = true;
    const std::u32string pattern = compile(text);
    const bool leadingStar = !pattern.empty() && pattern.front() == kStar;
    const std::u32string_view rest = std::u32string_view(pattern).substr(leadingStar ? 1 : 0);
    constexpr char32_t kWild[] = {kStar, kOne};
    if (rest.find_first_of(std::u32string_view(kWild, 2)) == std::u32string_view::npos) {
      addLiteral(rest, leadingStar);
    } else {
      wildPatterns_.push_back(pattern);
    }
  }
}

void PatternMatcher::addLiteral(std::u32string_view text, bool anyPrefix) {
  std::uint32_t node = 0;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    auto& next = trie_[node].next;
    const auto found = std::find_if(next.begin(), next.end(),
                                    [c = *it](const auto& edge) { return edge.first == c; });
    if (found != next.end()) {
      node = found->second;
      continue;
    }
    const auto child = static_cast<std::uint32_t>(trie_.size());
    next.emplace_back(*it, child);
    trie_.emplace_back();  // invalidates `next`: not used again
    node = child;
  }
  (anyPrefix ? trie_[node].suffixEnd : trie_[node].exactEnd) = true;
}

bool PatternMatcher::Matches(std::string_view name) const {
  if (matchAll_)
    return true;
  if (!anyPattern_)
    return false;
  thread_local std::u32string keys;
  keys.clear();
  AppendCaseKeys(name, keys);

  // Backwards through the name and the trie of reversed literal texts.
  std::uint32_t node = 0;
  for (size_t i = keys.size();;) {
    const Node& n = trie_[node];
    if (n.suffixEnd)
      return true;
    if (i == 0) {
      if (n.exactEnd)
        return true;
      break;
    }
    const char32_t c = keys[--i];
    const auto found = std::find_if(n.next.begin(), n.next.end(),
                                    [c](const auto& edge) { return edge.first == c; });
    if (found == n.next.end())
      break;
    node = found->second;
  }
  for (const auto& pattern : wildPatterns_) {
    if (wildMatch(keys, pattern))
      return true;
  }
  return false;
}

bool MatchSpec(std::string_view name, std::string_view patternList) {
  return PatternMatcher(patternList).Matches(name);
}

}  // namespace tarnwick
