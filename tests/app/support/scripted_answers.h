// Answers the app layer's questions from a script and records every question asked.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/questions/question.h"

namespace tarnwick::app::testing {

class ScriptedAnswers : public Answerer {
 public:
  // Answers the next questions in this order; a question with no scripted answer fails the
  // test and is answered with the first button's answer.
  void answer(Answer a) { answers_.push_back(a); }
  void answerSaveFile(std::optional<std::string> path) { paths_.push_back(std::move(path)); }
  // Whether the next questions that carry a check box get it ticked (unticked when none is
  // scripted).
  void tickCheckBox(bool ticked) { ticks_.push_back(ticked); }

  Answer Ask(const Question& question) override {
    asked.push_back(question);
    if (question.buttons == Buttons::Ok)
      return Answer::Ok;
    if (answers_.empty()) {
      ADD_FAILURE() << "unscripted question: " << question.text;
      return Answer::Yes;
    }
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  Reply AskWithCheckBox(const Question& question) override {
    const Answer a = Ask(question);
    if (question.checkBox.empty() || ticks_.empty())
      return {a, false};
    const bool ticked = ticks_.front();
    ticks_.pop_front();
    return {a, ticked};
  }
  std::optional<std::string> AskSaveFile(const SaveFileQuestion& question) override {
    saveQuestions.push_back(question);
    if (paths_.empty()) {
      ADD_FAILURE() << "unscripted save dialog";
      return std::nullopt;
    }
    auto path = paths_.front();
    paths_.pop_front();
    return path;
  }
  std::optional<std::string> AskFolder(const FolderQuestion&) override { return std::nullopt; }

  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const Question& q : asked)
      t.push_back(q.text);
    return t;
  }
  bool allAnswered() const { return answers_.empty() && paths_.empty() && ticks_.empty(); }

  std::vector<Question> asked;
  std::vector<SaveFileQuestion> saveQuestions;

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> paths_;
  std::deque<bool> ticks_;
};

}  // namespace tarnwick::app::testing
