#include "gui/restore/restore_command.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/restore/restore_texts.h"
#include "gui/common/app_title.h"
#include "gui/restore/frm_restore.h"

namespace tarnwick::gui {

void cmdRestore_Click(QWidget* owner) {
  const QStringList chosen =
      QFileDialog::getOpenFileNames(owner, QString::fromUtf8(app::kOpenArchiveTitle), QString(),
                                    QString::fromUtf8(app::kArchiveFilter));
  if (chosen.isEmpty())
    return;
  std::vector<std::string> archives;
  for (const QString& path : chosen) {
    const QByteArray utf8 = QDir::toNativeSeparators(path).toUtf8();
    archives.emplace_back(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  }
  auto session = std::make_unique<app::RestoreSession>();
  if (!session->Open(archives)) {
    QMessageBox::warning(owner, AppTitle(), QString::fromStdString(session->Error()));
    return;
  }
  frmRestore window(std::move(session), QFileInfo(chosen.front()).fileName(), owner);
  window.exec();
}

}  // namespace tarnwick::gui
