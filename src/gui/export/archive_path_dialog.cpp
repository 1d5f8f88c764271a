#include "gui/export/archive_path_dialog.h"

#include "core/export/export_paths.h"
#include "core/platform/system.h"
#include "gui/common/prompts.h"

namespace tarnwick::gui {

std::optional<std::string> AskArchivePath(QWidget* parent) {
  SaveFileRequest request;
  request.title = QStringLiteral("Archive scanned files");
  request.filter = QStringLiteral("Zip File (*.zip)");
  request.defaultSuffix = QStringLiteral("zip");
  request.initialFolder = QString::fromStdString(platform::ExecutableFolder());
  request.proposedName = QString::fromStdString(platform::ComputerName());
  request.confirmOverwrite = true;
  const std::optional<QString> chosen = CurrentPrompts().SaveFile(parent, request);
  if (!chosen || chosen->isEmpty())
    return std::nullopt;
  // The dialog adds "zip" only to a name typed without an extension; a name with another
  // extension keeps it and gets ".zip" after it, so the archive is always a .zip file.
  return WithZipExtension(chosen->toStdString());
}

}  // namespace tarnwick::gui
