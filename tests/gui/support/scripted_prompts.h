// Prompts for GUI tests: answers come from a queue, and every question is recorded with its text,
// caption, icon and buttons so tests can check them exactly.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "gui/common/prompts.h"

namespace tarnwick::test {

class ScriptedPrompts final : public gui::Prompts {
 public:
  struct Asked {
    enum class Kind { Message, SaveFile, BrowseFolder } kind;
    gui::MessageRequest message;         // for Message
    gui::SaveFileRequest saveFile;       // for SaveFile
    QString browseTitle, browseInitial;  // for BrowseFolder
  };

  ScriptedPrompts() { gui::InstallPrompts(this); }
  ~ScriptedPrompts() override { gui::InstallPrompts(nullptr); }
  ScriptedPrompts(const ScriptedPrompts&) = delete;
  ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

  // Queue the next answers. A message with no queued answer gets Ok (or No for Yes/No);
  // a file or folder request with no queued answer is cancelled.
  void answer(gui::PromptAnswer a) { answers_.push_back(a); }
  // Whether the next messages that carry a check box get it ticked (unticked when none is queued).
  void tickCheckBox(bool ticked) { ticks_.push_back(ticked); }
  // (Kept as QString with a null string standing for "cancelled": an optional<QString> queue
  // trips a false maybe-uninitialized warning in GCC 12.)
  void answerSaveFile(const std::optional<QString>& path) {
    saveAnswers_.push_back(path.value_or(QString()));
  }
  void answerBrowse(const std::optional<QString>& folder) {
    browseAnswers_.push_back(folder.value_or(QString()));
  }

  const std::vector<Asked>& asked() const { return asked_; }
  // The texts of all messages asked so far, in order.
  std::vector<QString> messageTexts() const {
    std::vector<QString> texts;
    for (const auto& a : asked_) {
      if (a.kind == Asked::Kind::Message)
        texts.push_back(a.message.text);
    }
    return texts;
  }
  void clear() { asked_.clear(); }

  gui::PromptAnswer Message(QWidget*, const gui::MessageRequest& request) override {
    asked_.push_back({Asked::Kind::Message, request, {}, {}, {}});
    if (!answers_.empty()) {
      const auto a = answers_.front();
      answers_.pop_front();
      return a;
    }
    if (request.buttons == gui::PromptButtons::Ok)
      return gui::PromptAnswer::Ok;
    if (request.buttons == gui::PromptButtons::YesNo)
      return gui::PromptAnswer::No;
    return gui::PromptAnswer::Cancel;
  }
  app::Reply MessageWithCheckBox(QWidget* parent, const gui::MessageRequest& request) override {
    const gui::PromptAnswer a = Message(parent, request);
    if (request.checkBox.isEmpty() || ticks_.empty())
      return {a, false};
    const bool ticked = ticks_.front();
    ticks_.pop_front();
    return {a, ticked};
  }
  std::optional<QString> SaveFile(QWidget*, const gui::SaveFileRequest& request) override {
    asked_.push_back({Asked::Kind::SaveFile, {}, request, {}, {}});
    return next(saveAnswers_);
  }
  std::optional<QString> BrowseFolder(QWidget*, const QString& title,
                                      const QString& initial) override {
    asked_.push_back({Asked::Kind::BrowseFolder, {}, {}, title, initial});
    return next(browseAnswers_);
  }

 private:
  static std::optional<QString> next(std::deque<QString>& queue) {
    if (queue.empty())
      return std::nullopt;
    const QString a = queue.front();
    queue.pop_front();
    if (a.isNull())
      return std::nullopt;
    return a;
  }

  std::deque<gui::PromptAnswer> answers_;
  std::deque<bool> ticks_;
  std::deque<QString> saveAnswers_;
  std::deque<QString> browseAnswers_;
  std::vector<Asked> asked_;
};

}  // namespace tarnwick::test
