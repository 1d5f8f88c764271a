#include "gui/export/copy_fallback.h"

#include "app/export/outcome_texts.h"
#include "core/export/export_paths.h"
#include "core/export/file_copy.h"
#include "gui/common/prompts.h"
#include "gui/export/progress_window.h"

namespace tarnwick::gui {
namespace {

OverwriteAnswer askOverwrite(QWidget* parent, const std::string& destination) {
  const QString text = QStringLiteral("The migration folder already holds this file:\n") +
                       QString::fromStdString(destination) +
                       QStringLiteral("\n\nDo you want to replace it?");
  switch (ShowMessage(parent, text, PromptIcon::Question, PromptButtons::YesNoYesToAllCancel)) {
    case PromptAnswer::Yes:
      return OverwriteAnswer::Yes;
    case PromptAnswer::No:
      return OverwriteAnswer::No;
    case PromptAnswer::YesToAll:
      return OverwriteAnswer::YesToAll;
    case PromptAnswer::Ok:
    case PromptAnswer::Cancel:
      break;
  }
  return OverwriteAnswer::Cancel;
}

}  // namespace

void CopyToMigrationFolder(QWidget* window, const std::vector<std::string>& files,
                           const std::string& scanFolder, const std::string& archivePath,
                           const platform::FileSource* source) {
  const std::string migrationFolder = MigrationFolder(archivePath);
  std::vector<CopyItem> items;
  items.reserve(files.size());
  for (const std::string& file : files)
    items.push_back({file, MigrationDestination(file, scanFolder, migrationFolder)});

  CopyReport report;
  {
    ProgressWindow progress(window, QStringLiteral("Copying files"), items.size());
    CopyControl control;
    control.cancel = &progress.CancelFlag();
    control.files = source;
    control.progress = [&progress](const CopyProgress& p) {
      progress.Update(p.filesDone, p.filesTotal, p.bytesDone, p.bytesTotal);
    };
    control.askOverwrite = [&progress](const std::string& destination) {
      return askOverwrite(progress.QuestionParent(), destination);
    };
    report = CopyFiles(items, control);
  }
  ShowMessage(window, QString::fromStdString(CopyOutcomeMessage(migrationFolder, report)),
              report.AllCopied() ? PromptIcon::Information : PromptIcon::Exclamation);
}

}  // namespace tarnwick::gui
