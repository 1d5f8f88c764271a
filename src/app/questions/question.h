// Questions as values. The app layer never opens a dialog: it describes what it asks (text,
// caption, icon, buttons) and a front end answers it with its own dialogs, from command-line
// flags, or from a test script. The save dialog and the folder browser are questions too; they
// answer with a path or with nothing (cancelled).
#pragma once

#include <optional>
#include <string>

namespace tarnwick::app {

enum class Icon { None, Information, Question, Exclamation, Error };
enum class Buttons { Ok, YesNo, YesNoYesToAllCancel };
enum class Answer { Ok, Yes, No, YesToAll, Cancel };

// A message box. Texts are UTF-8.
struct Question {
  std::string text;
  std::string caption;  // the application title unless said otherwise
  Icon icon = Icon::None;
  Buttons buttons = Buttons::Ok;
  bool foreground = false;  // bring the box to the front (the start-up failure)
  // The whole list behind a shortened message (every file not archived or copied, one
  // "path<TAB>reason" a line). When not empty the front end offers kDetailsButton
  // ("Details..."): a window with the list, scrollable, to copy or save as a text file.
  std::string details;
  // A check box under the text, unticked, for an offer the user takes by ticking it (empty: no
  // check box). Asked with Answerer::AskWithCheckBox, which says whether it was ticked.
  std::string checkBox;
};

// The answer to a question with a check box, and whether the box was ticked.
struct Reply {
  Answer answer = Answer::Ok;
  bool checked = false;
};

// The save dialog.
struct SaveFileQuestion {
  std::string title;
  std::string filter;            // as shown, e.g. "Zip File (*.zip)"
  std::string filterPattern;     // the pattern of that filter, e.g. "*.zip"
  std::string defaultExtension;  // added by the dialog to a name typed without one, e.g. "zip"
  std::string initialFolder;
  std::string proposedName;
  bool confirmOverwrite = true;
};

// The folder browser.
struct FolderQuestion {
  std::string title;
  std::string initialFolder;
};

// What a front end implements to answer questions.
class Answerer {
 public:
  virtual ~Answerer() = default;
  virtual Answer Ask(const Question& question) = 0;
  // Asks a question that may carry a check box. A front end that shows no check box answers
  // through Ask() and leaves it unticked.
  virtual Reply AskWithCheckBox(const Question& question) { return {Ask(question), false}; }
  // The path exactly as chosen (no extension rule applied), or nothing when cancelled.
  virtual std::optional<std::string> AskSaveFile(const SaveFileQuestion& question) = 0;
  // The folder chosen, or nothing when cancelled.
  virtual std::optional<std::string> AskFolder(const FolderQuestion& question) = 0;
};

// A message box captioned with the application title.
Question MakeQuestion(std::string text, Icon icon, Buttons buttons = Buttons::Ok);

}  // namespace tarnwick::app
