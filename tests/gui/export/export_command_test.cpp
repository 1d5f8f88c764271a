// The scan window's "Save to zip file" end to end: real files in a temporary tree, the prompts
// answered from a script, and every archive read back by unzip, 7z, bsdtar and Python's zipfile.
#include "gui/export/export_command.h"

#include <gtest/gtest.h>

#include "core/export/zip_reader.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <span>
#include <thread>

#include "app/export/outcome_texts.h"
#include "app/questions/texts.h"
#include "core/common/process_state.h"
#include "core/common/ui_hooks.h"
#include "core/export/export_fixtures.h"
#include "core/export/faulty_files.h"
#include "core/platform/system.h"
#include "core/scan/search_state.h"
#include "gui/controls/status_bar.h"
#include "gui/scan/frm_scan.h"
#include "gui/scan/scan_globals.h"
#include "gui/support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace tarnwick::gui {
namespace {

// The manifest entry every archive ends with, as the readers must list it.
test::ExpectedEntry manifestEntry(const std::filesystem::path& archive) {
  std::string error;
  const auto reader = zipformat::ZipReader::OpenPath(archive.string(), error);
  const auto& last = reader->Entries().back().record;
  return {last.name, last.size, std::nullopt, std::nullopt};
}

namespace fs = std::filesystem;
using test::ScriptedPrompts;
using Kind = ScriptedPrompts::Asked::Kind;

const QString kArchivedAll = QString::fromUtf8(kArchivedAllText.data());
const QString kCopiedAll = QString::fromUtf8(kCopiedAllText.data());
const QString kZipFailed = QString::fromUtf8(app::texts::kZipFailedQuestion.data());
const QString kUnsavedQuestion = "Files have not been saved, are you sure you want to exit?";

// A scan window whose walk lists the given files, in the given order.
class ListedScanWindow : public frmScan {
 public:
  explicit ListedScanWindow(std::vector<fs::path> files) : files_(std::move(files)) {}

 protected:
  void RunSearch(SearchParams& params, const std::string&, SearchSink& sink) override {
    for (const fs::path& file : files_) {
      const std::uint64_t size = fs::is_regular_file(file) ? fs::file_size(file) : 0;
      ++params.MatchCount;
      ++params.ScannedCount;
      params.TotalBytes += size;
      sink.OnMatch(file.filename().string(), file.parent_path().string() + "/", size);
    }
  }

 private:
  std::vector<fs::path> files_;
};

// Reads files like the system does, but slowly, so that a test can cancel in the middle.
class SlowFiles final : public platform::FileSource {
 public:
  platform::OpenedFile Open(const std::string& path) const override {
    platform::OpenedFile opened = platform::SystemFiles().Open(path);
    if (opened.file)
      opened.file = std::make_unique<SlowFile>(std::move(opened.file));
    return opened;
  }
  platform::FileError Examine(const std::string& path, platform::FileInfo& info) const override {
    return platform::SystemFiles().Examine(path, info);
  }

 private:
  class SlowFile final : public platform::InputFile {
   public:
    explicit SlowFile(std::unique_ptr<platform::InputFile> inner) : inner_(std::move(inner)) {}
    const platform::FileInfo& Info() const override { return inner_->Info(); }
    platform::FileError ReadAt(std::uint64_t offset, std::span<char> buffer,
                               std::size_t& got) override {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      return inner_->ReadAt(offset, buffer, got);
    }
    platform::FileError Restat(platform::FileInfo& info) override { return inner_->Restat(info); }

   private:
    std::unique_ptr<platform::InputFile> inner_;
  };
};

bool waitUntil(const std::function<bool()>& done, int ms = 10000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms)
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

void scan(frmScan& window) {
  window.show();
  ASSERT_TRUE(waitUntil([&] { return window.cmdExport->isVisible(); })) << "the scan did not end";
}

QString statusText() {
  return GetStatusText(ghStatusBar, 0);
}

QString q(const fs::path& p) {
  return QString::fromStdString(p.string());
}

// Presses Cancel in the progress window once `ready` holds for it.
class CancelWhen {
 public:
  CancelWhen(frmScan& window, std::function<bool(QProgressDialog&)> ready) {
    QObject::connect(&timer_, &QTimer::timeout, [this, &window, ready] {
      for (auto* dialog : window.findChildren<QProgressDialog*>("frmProgress")) {
        if (!pressed && ready(*dialog)) {
          modality = dialog->windowModality();
          label = dialog->labelText();
          dialog->findChild<QPushButton*>()->click();
          pressed = true;
        }
      }
    });
    timer_.start(5);
  }
  bool pressed = false;
  Qt::WindowModality modality = Qt::NonModal;
  QString label;

 private:
  QTimer timer_;
};

void expectUsableAndDone(const frmScan& window) {
  EXPECT_FALSE(window.mbExporting);
  EXPECT_TRUE(window.cmdExport->isEnabled());
  EXPECT_EQ(statusText(), "Done");
}

class ExportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    InstallExportCommand();
    gSearch.Recurse = true;
    gSearch.Pattern = "*";
    gRootFolder = tree_.str() + "/";
  }
  void TearDown() override {
    frmScan::SetExportCommand({});
    SetExportFileSource(nullptr);
    ResetProcessState();
  }

  // Chooses `path` in the save dialog and presses "Save to zip file"; the scan's own message is
  // forgotten first.
  void exportTo(frmScan& window, const fs::path& path) {
    prompts_.clear();
    prompts_.answerSaveFile(q(path));
    window.cmdExport->click();
  }

  // Makes a folder at the archive path: the archive cannot be put there, and the migration
  // folder (the path without ".zip") is free.
  fs::path unwritableArchive() const {
    out_.write("PC1.zip/keep", "x");
    return out_ / "PC1.zip";
  }

  test::TempDir tree_;
  test::TempDir out_;
  ScriptedPrompts prompts_;
};

TEST_F(ExportCommandTest, CancelledDialogWritesNothingAndLeavesTheResultsUnsaved) {
  tree_.write("a.doc", "a");
  ListedScanWindow window({tree_ / "a.doc"});
  scan(window);
  prompts_.clear();
  window.cmdExport->click();  // no answer queued: the dialog is cancelled

  ASSERT_EQ(prompts_.asked().size(), 1u);
  const ScriptedPrompts::Asked& asked = prompts_.asked()[0];
  ASSERT_EQ(asked.kind, Kind::SaveFile);
  EXPECT_EQ(asked.saveFile.title, "Archive scanned files");
  EXPECT_EQ(asked.saveFile.filter, "Zip File (*.zip)");
  EXPECT_EQ(asked.saveFile.defaultSuffix, "zip");
  EXPECT_EQ(asked.saveFile.initialFolder, QString::fromStdString(platform::ExecutableFolder()));
  EXPECT_EQ(asked.saveFile.proposedName, QString::fromStdString(platform::ComputerName()));
  EXPECT_TRUE(asked.saveFile.confirmOverwrite);
  EXPECT_FALSE(window.mbSaved);
  expectUsableAndDone(window);
  EXPECT_TRUE(fs::is_empty(out_.path()));

  prompts_.clear();
  window.close();  // unsaved: asked, and the scripted No keeps the window open
  EXPECT_EQ(prompts_.messageTexts(), std::vector<QString>{kUnsavedQuestion});
  EXPECT_TRUE(window.isVisible());
}

TEST_F(ExportCommandTest, ArchivesARealScanReplacingAnOldArchiveAndReportsSuccess) {
  tree_.write("a.doc", test::TextBytes(30000));
  tree_.write("sub/B.pdf", test::RandomBytes(5000));
  tree_.write("sub/deeper/Ünïcode name.txt", "text");
  tree_.write("empty.txt");
  out_.write("report.txt.zip", "an old archive the user chose to replace");
  frmScan window;
  // Engine status lines arrive through the status hook while the archive is made: note what the
  // window's flags say then.
  std::vector<std::pair<bool, bool>> whileRunning;  // mbExporting, button enabled
  SetStatusHook([&](const std::string& text) {
    whileRunning.emplace_back(window.mbExporting, window.cmdExport->isEnabled());
    SetStatusText(ghStatusBar, 0, SBT_SUNKEN, QString::fromStdString(text));
  });
  scan(window);
  ASSERT_EQ(window.mList->ListCount(), 4);

  // A name with another extension keeps it and gets ".zip" after it.
  exportTo(window, out_ / "report.txt");
  const fs::path archive = out_ / "report.txt.zip";

  ASSERT_EQ(prompts_.asked().size(), 2u);
  EXPECT_EQ(prompts_.asked()[1].message.text, kArchivedAll + q(archive));
  EXPECT_EQ(prompts_.asked()[1].message.icon, PromptIcon::Information);
  EXPECT_EQ(prompts_.asked()[1].message.buttons, PromptButtons::Ok);
  std::vector<test::ExpectedEntry> expected;
  for (int row = 0; row < window.mList->ListCount(); ++row) {
    const fs::path file = window.mList->SubItemUtf8(row, 1) + window.mList->SubItemUtf8(row, 0);
    expected.push_back(
        {test::FullEntryName(file), fs::file_size(file), test::ModifiedTime(file), file});
  }
  expected.push_back(manifestEntry(archive));
  EXPECT_EQ(test::CheckWithAllReaders(archive, expected), "");
  EXPECT_EQ(test::FolderNames(out_.path()), std::set<std::string>{"report.txt.zip"});

  ASSERT_EQ(whileRunning.size(), 5u);  // one "adding" line per file, then "Verifying"
  for (const auto& [exporting, enabled] : whileRunning) {
    EXPECT_TRUE(exporting);
    EXPECT_FALSE(enabled);
  }
  EXPECT_TRUE(window.mbSaved);
  expectUsableAndDone(window);
  prompts_.clear();
  window.close();  // saved: closes without a question
  EXPECT_TRUE(prompts_.asked().empty());
  EXPECT_FALSE(window.isVisible());
}

TEST_F(ExportCommandTest, NamesTheFilesThatCouldNotBeArchivedAndWhy) {
  const fs::path kept = tree_.write("a.doc", "kept");
  const fs::path gone = tree_.write("gone.doc", "removed after the scan");
  const fs::path folder = tree_.write("was a file.doc", "replaced by a folder after the scan");
  const fs::path mail = tree_.write("mail/Outlook.pst", "held open by the mail program");
  test::FaultyFiles files;
  files.Add(mail.string(), {.openError = platform::FileError::InUse});
  SetExportFileSource(&files);
  ListedScanWindow window({kept, gone, folder, mail});
  scan(window);
  fs::remove(gone);
  fs::remove(folder);
  fs::create_directory(folder);

  exportTo(window, out_ / "PC1");
  const fs::path archive = out_ / "PC1.zip";

  ASSERT_EQ(prompts_.asked().size(), 2u);
  const MessageRequest& told = prompts_.asked()[1].message;
  EXPECT_TRUE(told.text.startsWith("Archived 1 of 4 files into " + q(archive)))
      << told.text.toStdString();
  for (const fs::path& missing : {gone, folder, mail})
    EXPECT_TRUE(told.text.contains(q(missing))) << told.text.toStdString();
  EXPECT_TRUE(told.text.contains("close the mail program and export again"))
      << told.text.toStdString();
  EXPECT_EQ(told.icon, PromptIcon::Exclamation);
  EXPECT_EQ(test::CheckWithAllReaders(
                archive, {{test::FullEntryName(kept), 4, {}, kept}, manifestEntry(archive)}),
            "");
  EXPECT_TRUE(window.mbSaved);
  expectUsableAndDone(window);
}

TEST_F(ExportCommandTest, OffersTheCopyWhenNoArchiveResults) {
  const std::vector<fs::path> files = {tree_.write("a.doc", "first"),
                                       tree_.write("sub/b.doc", test::TextBytes(3000)),
                                       tree_.write("sub/deeper/c.pdf", "third")};
  test::SetModifiedTime(files[1], 1600000000);
  for (const bool copy : {false, true}) {
    SCOPED_TRACE(copy ? "copy" : "no copy");
    const fs::path archive = unwritableArchive();
    const fs::path migration = out_ / "PC1";
    fs::remove_all(migration);
    ListedScanWindow window(files);
    scan(window);
    prompts_.answer(copy ? PromptAnswer::Yes : PromptAnswer::No);
    exportTo(window, archive);

    ASSERT_GE(prompts_.asked().size(), 2u);
    const MessageRequest& question = prompts_.asked()[1].message;
    EXPECT_EQ(question.text, kZipFailed);
    EXPECT_EQ(question.icon, PromptIcon::Question);
    EXPECT_EQ(question.buttons, PromptButtons::YesNo);
    if (copy) {
      EXPECT_EQ(prompts_.messageTexts(), (std::vector<QString>{kZipFailed, kCopiedAll}));
      EXPECT_EQ(prompts_.asked().back().message.icon, PromptIcon::Information);
      for (const fs::path& file : files) {
        const fs::path copied = migration / fs::relative(file, tree_.path());
        EXPECT_EQ(test::TempDir::read(copied), test::TempDir::read(file)) << copied;
        EXPECT_EQ(test::ModifiedTime(copied), test::ModifiedTime(file)) << copied;
      }
    } else {
      EXPECT_EQ(prompts_.messageTexts(), std::vector<QString>{kZipFailed});
      EXPECT_FALSE(fs::exists(migration));
    }
    // Not an archive, but the user confirmed the dialog and was told the outcome.
    EXPECT_TRUE(window.mbSaved);
    expectUsableAndDone(window);
    EXPECT_EQ(test::FolderNames(archive), std::set<std::string>{"keep"});
  }
}

TEST_F(ExportCommandTest, AsksBeforeReplacingFilesInTheMigrationFolder) {
  const std::vector<fs::path> files = {tree_.write("a.doc", "new a"), tree_.write("b.doc", "new b"),
                                       tree_.write("c.doc", "new c")};
  struct Case {
    const char* what;
    std::vector<PromptAnswer> answers;  // to the questions about a.doc and b.doc
    std::size_t questions;
    std::vector<std::string> contents;  // of a.doc, b.doc, c.doc afterwards ("" for none)
    const char* outcome;                // the start of the closing message
  };
  const Case cases[] = {
      {"no, then yes",
       {PromptAnswer::No, PromptAnswer::Yes},
       2,
       {"old", "new b", "new c"},
       "Copied 2 of 3 files"},
      {"yes to all",
       {PromptAnswer::YesToAll},
       1,
       {"new a", "new b", "new c"},
       "Successfully copied all files"},
      {"cancel", {PromptAnswer::Cancel}, 1, {"old", "old", ""}, "Copied 0 of 3 files"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path archive = unwritableArchive();
    const fs::path migration = out_ / "PC1";
    fs::remove_all(migration);
    out_.write("PC1/a.doc", "old");
    out_.write("PC1/b.doc", "old");
    ListedScanWindow window(files);
    scan(window);
    prompts_.answer(PromptAnswer::Yes);  // copy instead
    for (const PromptAnswer a : c.answers)
      prompts_.answer(a);
    exportTo(window, archive);

    const std::vector<QString> texts = prompts_.messageTexts();
    ASSERT_EQ(texts.size(), c.questions + 2);
    for (std::size_t i = 0; i < c.questions; ++i) {
      const MessageRequest& asked = prompts_.asked()[i + 2].message;
      EXPECT_TRUE(asked.text.contains(q(migration / files[i].filename())))
          << asked.text.toStdString();
      EXPECT_EQ(asked.buttons, PromptButtons::YesNoYesToAllCancel);
      EXPECT_EQ(asked.icon, PromptIcon::Question);
    }
    EXPECT_TRUE(texts.back().startsWith(c.outcome)) << texts.back().toStdString();
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(test::TempDir::read(migration / files[i].filename()), c.contents[i]) << i;
    }
    EXPECT_EQ(test::FolderNames(migration).size(), c.contents.back().empty() ? 2u : 3u);
    expectUsableAndDone(window);
  }
}

TEST_F(ExportCommandTest, BuilderErrorIsShownAndLeavesTheWindowUsable) {
  const fs::path file = tree_.write("a.doc", "a");
  ListedScanWindow window({file, file});  // the same path listed twice
  scan(window);
  exportTo(window, out_ / "PC1.zip");

  ASSERT_EQ(prompts_.asked().size(), 2u);
  EXPECT_EQ(prompts_.asked()[1].message.text,
            "Failed to zip files: File is already in Zip List\n\n" + q(file));
  EXPECT_EQ(prompts_.asked()[1].message.icon, PromptIcon::Exclamation);
  EXPECT_TRUE(fs::is_empty(out_.path()));
  EXPECT_FALSE(window.mbSaved);
  expectUsableAndDone(window);
}

TEST_F(ExportCommandTest, CancellingALongExportKeepsTheOldArchiveAndLeavesNoPartialFile) {
  std::vector<fs::path> files;
  for (int i = 0; i < 40; ++i)
    files.push_back(tree_.write("f" + std::to_string(i) + ".doc", test::TextBytes(20000, i)));
  const fs::path archive = out_.write("PC1.zip", "the archive of an earlier export");
  SlowFiles slow;
  SetExportFileSource(&slow);
  ListedScanWindow window(files);
  scan(window);
  // Cancel once some of the work is done.
  CancelWhen cancel(window, [](QProgressDialog& d) { return d.value() > 0; });
  exportTo(window, archive);

  ASSERT_TRUE(cancel.pressed);
  EXPECT_EQ(cancel.modality, Qt::WindowModal);
  EXPECT_TRUE(cancel.label.startsWith("Archiving files: ")) << cancel.label.toStdString();
  EXPECT_TRUE(cancel.label.contains(" of 40\n")) << cancel.label.toStdString();
  ASSERT_EQ(prompts_.asked().size(), 1u);  // the dialog only: no copy question, no outcome
  EXPECT_EQ(test::TempDir::read(archive), "the archive of an earlier export");
  EXPECT_EQ(test::FolderNames(out_.path()), std::set<std::string>{"PC1.zip"});
  EXPECT_FALSE(window.mbSaved);
  expectUsableAndDone(window);

  // The window is usable: the next export makes the archive.
  SetExportFileSource(nullptr);
  exportTo(window, archive);
  ASSERT_EQ(prompts_.asked().size(), 2u);
  EXPECT_EQ(prompts_.asked()[1].message.text, kArchivedAll + q(archive));
  EXPECT_TRUE(window.mbSaved);
}

TEST_F(ExportCommandTest, CancellingTheCopyKeepsWhatWasCopiedWhole) {
  std::vector<fs::path> files;
  for (int i = 0; i < 30; ++i)
    files.push_back(tree_.write("d/f" + std::to_string(i) + ".doc", test::TextBytes(5000, i)));
  SlowFiles slow;
  SetExportFileSource(&slow);
  ListedScanWindow window(files);
  scan(window);
  // Cancel once a whole file is copied: the bar moves with the bytes of the first file already.
  CancelWhen cancel(window, [](QProgressDialog& d) {
    const QString label = d.labelText();
    return label.startsWith("Copying files: ") && !label.startsWith("Copying files: 0 of ");
  });
  prompts_.answer(PromptAnswer::Yes);  // copy instead
  exportTo(window, unwritableArchive());

  ASSERT_TRUE(cancel.pressed);
  const std::vector<QString> texts = prompts_.messageTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_TRUE(texts[1].contains("the copy was cancelled")) << texts[1].toStdString();
  const fs::path migration = out_ / "PC1" / "d";
  const std::set<std::string> copied = test::FolderNames(migration);
  EXPECT_GT(copied.size(), 0u);
  EXPECT_LT(copied.size(), files.size());
  for (const std::string& name : copied)
    EXPECT_EQ(test::TempDir::read(migration / name), test::TempDir::read(tree_ / "d" / name));
  EXPECT_TRUE(texts[1].startsWith("Copied " + QString::number(copied.size()) + " of 30 files"))
      << texts[1].toStdString();
  expectUsableAndDone(window);
}

}  // namespace
}  // namespace tarnwick::gui
