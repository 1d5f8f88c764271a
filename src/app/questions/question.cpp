#include "app/questions/question.h"

#include "app/questions/texts.h"

namespace tarnwick::app {

Question MakeQuestion(std::string text, Icon icon, Buttons buttons) {
  return Question{std::move(text), std::string(texts::kAppTitle), icon, buttons, false, {}, {}};
}

}  // namespace tarnwick::app
