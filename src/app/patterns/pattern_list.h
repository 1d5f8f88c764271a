// The pattern list of the main window: one list of patterns ("*.doc"), from which gExtList and
// gExtensions are derived after every change; the rules for a pattern typed in the pattern
// dialog, and which entry is selected after adding, editing and removing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "app/questions/question.h"

namespace tarnwick::app {

// Both confirming buttons of the pattern dialog are enabled only for "*." followed by at least
// one more character.
bool PatternCanBeConfirmed(const std::string& text);

// The message refusing `text` for a list holding `entries` with `selected` selected (see
// PatternList::Refusal), or nothing.
std::optional<Question> PatternRefusal(const std::string& text,
                                       const std::vector<std::string>& entries,
                                       std::optional<std::size_t> selected, bool editing);

// A pattern as the list stores it: lower case.
std::string StoredPattern(const std::string& text);

class PatternList {
 public:
  // Starts from gExtList (as the settings file gave it).
  PatternList();

  std::size_t Count() const { return entries_.size(); }
  const std::string& Entry(std::size_t index) const { return entries_[index]; }
  const std::vector<std::string>& Entries() const { return entries_; }
  // The selected entry, if any.
  std::optional<std::size_t> Selected() const { return selected_; }
  void Select(std::optional<std::size_t> index);
  // Edit and Remove are enabled exactly when the list has entries.
  bool CanEditOrRemove() const { return !entries_.empty(); }

  // The message refusing `text`, or nothing when it may be added (or, with `editing`, replace the
  // selected entry): only the 52 ASCII letters may follow "*." ("Please enter a valid file
  // extension"); the lower-cased text may not equal another entry ("The file extension '...' is
  // already in the list.").
  std::optional<Question> Refusal(const std::string& text, bool editing) const;

  // Adds `text` lower-cased at the end and selects it. False (nothing changed) when refused; the
  // refusal is asked through `answers`.
  bool Add(const std::string& text, Answerer& answers);
  // Replaces the selected entry by `text` lower-cased. False when refused (asked) or none is
  // selected.
  bool EditSelected(const std::string& text, Answerer& answers);
  // Removes the selected entry without asking, then selects the entry that followed it, or the
  // new last one. Nothing happens with no entry selected.
  void RemoveSelected();

 private:
  void publish() const;  // gExtList and gExtensions follow the list

  std::vector<std::string> entries_;
  std::optional<std::size_t> selected_;
};

}  // namespace tarnwick::app
