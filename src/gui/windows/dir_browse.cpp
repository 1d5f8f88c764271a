#include "gui/windows/dir_browse.h"

#include <QDir>

#include "gui/common/prompts.h"

namespace tarnwick::gui {

QString OsFolderPath(const QString& chosen) {
  if (chosen.isEmpty())
    return {};
  // Cleaning drops a trailing separator but keeps the one of a root ("/", "C:/").
  return QDir::toNativeSeparators(QDir::cleanPath(chosen));
}

QString BrowseForFolder(QWidget* owner, const QString& initialFolder) {
  const auto chosen =
      CurrentPrompts().BrowseFolder(owner, QString::fromLatin1(kBrowseTitle), initialFolder);
  if (!chosen)
    return {};
  return OsFolderPath(*chosen);
}

}  // namespace tarnwick::gui
