// The prompts as real Qt dialogs.
#pragma once

#include "gui/common/prompts.h"

namespace tarnwick::gui {

class DialogPrompts final : public Prompts {
 public:
  PromptAnswer Message(QWidget* parent, const MessageRequest& request) override;
  app::Reply MessageWithCheckBox(QWidget* parent, const MessageRequest& request) override;
  std::optional<QString> SaveFile(QWidget* parent, const SaveFileRequest& request) override;
  std::optional<QString> BrowseFolder(QWidget* parent, const QString& title,
                                      const QString& initialFolder) override;
};

}  // namespace tarnwick::gui
