#include "app/patterns/pattern_list.h"

#include <algorithm>

#include "app/questions/texts.h"
#include "core/settings/app_state.h"

namespace tarnwick::app {
namespace {

// Only the 52 ASCII letters may follow "*.": no digits, dots, wildcards, spaces or accented
// letters (any byte of a non-ASCII character is refused).
bool isAsciiLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Lower-cases the ASCII letters only: the text holds nothing else once accepted.
std::string lowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  return text;
}

}  // namespace

bool PatternCanBeConfirmed(const std::string& text) {
  return text.size() > 2 && text.starts_with("*.");
}

PatternList::PatternList() : entries_(gExtList) {}

void PatternList::Select(std::optional<std::size_t> index) {
  if (index && *index >= entries_.size())
    index.reset();
  selected_ = index;
}

std::string StoredPattern(const std::string& text) {
  return lowerAscii(text);
}

std::optional<Question> PatternList::Refusal(const std::string& text, bool editing) const {
  return PatternRefusal(text, entries_, selected_, editing);
}

std::optional<Question> PatternRefusal(const std::string& text,
                                       const std::vector<std::string>& entries_,
                                       std::optional<std::size_t> selected_, bool editing) {
  for (std::size_t i = 2; i < text.size(); ++i) {
    if (!isAsciiLetter(text[i]))
      return MakeQuestion(std::string(texts::kInvalidPattern), Icon::Exclamation);
  }
  const std::string lower = lowerAscii(text);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i] != lower)
      continue;
    if (editing && selected_ == i)
      continue;  // an edited entry may keep its own text
    return MakeQuestion(std::string(texts::kDuplicatePatternBefore) + lower +
                            std::string(texts::kDuplicatePatternAfter),
                        Icon::Exclamation);
  }
  return std::nullopt;
}

bool PatternList::Add(const std::string& text, Answerer& answers) {
  if (const auto refusal = Refusal(text, false)) {
    answers.Ask(*refusal);
    return false;
  }
  entries_.push_back(lowerAscii(text));
  selected_ = entries_.size() - 1;
  publish();
  return true;
}

bool PatternList::EditSelected(const std::string& text, Answerer& answers) {
  if (const auto refusal = Refusal(text, true)) {
    answers.Ask(*refusal);
    return false;
  }
  if (!selected_)
    return false;
  entries_[*selected_] = lowerAscii(text);
  publish();
  return true;
}

void PatternList::RemoveSelected() {
  if (!selected_)
    return;
  const std::size_t p = *selected_;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(p));
  if (p < entries_.size()) {
    selected_ = p;
  } else if (!entries_.empty()) {
    selected_ = entries_.size() - 1;
  } else {
    selected_.reset();
  }
  publish();
}

void PatternList::publish() const {
  gExtList = entries_;
  gExtensions = JoinPatterns(gExtList);
}

}  // namespace tarnwick::app
