#include "win/restore/frm_restore.h"
#include "win/common/form_dialog_proc.h"

#include <array>
#include <chrono>
#include <future>

#include "app/restore/restore_texts.h"
#include "win/common/layout.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/common/text.h"
#include "win/resource_ids.h"

namespace tarnwick::win {
namespace {

constexpr int kClientWidth = 13500;
constexpr int kClientHeight = 9000;
constexpr std::array<TwipsPlace, 12> kPlaces{{
    {IDC_LBL_ARCHIVE, 120, 120, 13260, 255},
    {IDC_OPT_SAME_PLACES, 120, 450, 4000, 300},
    {IDC_OPT_INTO_FOLDER, 120, 810, 2600, 300},
    {IDC_TXT_RESTORE_FOLDER, 2800, 780, 8900, 330},
    {IDC_CMD_RESTORE_BROWSE, 11820, 765, 1560, 375},
    {IDC_LBL_CONFLICT, 120, 3660, 4200, 255},
    {IDC_CBO_CONFLICT, 4400, 3600, 2400, 1500},
    {IDC_PRG_RESTORE, 120, 7800, 13260, 255},
    {IDC_LBL_RESTORE_STATUS, 120, 8100, 13260, 300},
    {IDC_CMD_RESTORE_START, 9420, 8505, 1200, 375},
    {IDC_CMD_RESTORE_CANCEL, 10800, 8505, 1200, 375},
    {IDCANCEL, 12180, 8505, 1200, 375},
}};
constexpr TwipsPlace kMappingsPlace{IDC_LVW_MAPPINGS, 120, 1260, 13260, 2250};
constexpr TwipsPlace kPlanPlace{IDC_LVW_PLAN, 120, 4080, 13260, 3600};
constexpr int kProgressSteps = 1000;

// The conflict choices in the order the box lists them.
constexpr std::array<std::pair<const char*, app::ConflictPolicy>, 4> kConflictChoices{{
    {app::kKeepBothButton, app::ConflictPolicy::KeepBoth},
    {app::kSkipButton, app::ConflictPolicy::Skip},
    {app::kReplaceButton, app::ConflictPolicy::Replace},
    {app::kAskChoice, app::ConflictPolicy::Ask},
}};

void placeList(clsListView& list, const TwipsPlace& p, int dpi) {
  list.Move(static_cast<float>(TwipsToPixels(p.left, dpi)),
            static_cast<float>(TwipsToPixels(p.top, dpi)),
            static_cast<float>(TwipsToPixels(p.width, dpi)),
            static_cast<float>(TwipsToPixels(p.height, dpi)));
}

// Tells the list its rows changed, all of them (the count may be the same).
void showAllRows(clsListView& list) {
  ListView_SetItemCountEx(list.hWnd(), list.ListCount(), 0);
  list.Publish();
  InvalidateRect(list.hWnd(), nullptr, TRUE);
}

}  // namespace

frmRestore::frmRestore(HWND owner, std::unique_ptr<app::RestoreSession> session,
                       std::string archiveName)
    : mOwner(owner), mSession(std::move(session)), mArchiveName(std::move(archiveName)) {
  mMappingSource = std::make_unique<MappingRowSource>(*mSession);
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RESTORE), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

frmRestore::~frmRestore() {
  // Nothing the workers hand over is run from here on; a question they wait for is dropped,
  // which answers it (skip, for all) so that the run can stop.
  mTasks.Close();
  mChecker.reset();
  mStop = true;
  if (mWorker.joinable())
    mWorker.join();
  mPlan.reset();
  mMappings.reset();
  mhWnd.reset();
}

void frmRestore::Show() {
  CentreWindow(mhWnd.get(), mOwner);
  ShowWindow(mhWnd.get(), SW_SHOW);
  SetForegroundWindow(mhWnd.get());
}

void frmRestore::ShowModal() {
  Show();
  RunModalLoop(mOwner, [this] { return Closed(); });
}

INT_PTR CALLBACK frmRestore::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return FormDialogProc<frmRestore>(dialog, message, wParam, lParam);
}

INT_PTR frmRestore::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WindowTasks::kMessage:
      mTasks.RunPending();
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (mMappings && header.hwndFrom == mMappings->hWnd() && header.code == NM_DBLCLK) {
        lvwMappings_DoubleClick(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
        return TRUE;
      }
      LRESULT result = 0;
      if ((mPlan && mPlan->OnNotify(header, result)) ||
          (mMappings && mMappings->OnNotify(header, result))) {
        SetWindowLongPtrW(mhWnd.get(), DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_CLOSE:
      TryClose();
      return TRUE;
    case WM_DPICHANGED:
      MoveToSuggestedRect(mhWnd.get(), lParam);
      ApplyLayout(HIWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

bool frmRestore::OnCommand(int id, int code) {
  switch (id) {
    case IDC_OPT_SAME_PLACES:
    case IDC_OPT_INTO_FOLDER:
      if (code == BN_CLICKED)
        optMode_Click();
      return true;
    case IDC_TXT_RESTORE_FOLDER:
      if (code == EN_KILLFOCUS) {
        txtFolder_Change();
      } else if (code == EN_CHANGE && !Running() &&
                 WindowTextUtf8(Item(IDC_TXT_RESTORE_FOLDER)) != mSession->IntoFolder()) {
        // A folder being typed is planned when the box is left or Restore is pressed (Enter
        // included), so Restore may be pressed for it.
        EnableWindow(Item(IDC_CMD_RESTORE_START), TRUE);
      }
      return true;
    case IDC_CMD_RESTORE_BROWSE:
      cmdBrowse_Click();
      return true;
    case IDC_CBO_CONFLICT:
      if (code == CBN_SELCHANGE) {
        const LRESULT at = SendMessageW(Item(IDC_CBO_CONFLICT), CB_GETCURSEL, 0, 0);
        if (at >= 0 && at < static_cast<LRESULT>(kConflictChoices.size()))
          mSession->SetConflicts(kConflictChoices[static_cast<std::size_t>(at)].second);
      }
      return true;
    case IDC_CMD_RESTORE_START:
      cmdRestore_Click();
      return true;
    case IDC_CMD_RESTORE_CANCEL:
      cmdCancel_Click();
      return true;
    case IDCANCEL:  // Close, and Escape
      TryClose();
      return true;
    default:
      return false;
  }
}

void frmRestore::Form_Load() {
  HWND dialog = mhWnd.get();
  SetWindowTextUtf8(dialog, std::string(app::kRestoreWindowTitle) + " - " + mArchiveName);
  SetWindowTextUtf8(Item(IDC_LBL_ARCHIVE), mArchiveName);
  SetWindowTextUtf8(Item(IDC_OPT_SAME_PLACES), app::kSamePlacesChoice);
  SetWindowTextUtf8(Item(IDC_OPT_INTO_FOLDER), app::kIntoFolderChoice);
  SetWindowTextUtf8(Item(IDC_LBL_CONFLICT), app::kConflictLabel);
  SetWindowTextUtf8(Item(IDC_CMD_RESTORE_START), app::kStartButton);
  SetWindowTextUtf8(Item(IDC_CMD_RESTORE_CANCEL), app::kCancelButton);
  SetWindowTextUtf8(Item(IDCANCEL), app::kCloseButton);
  for (const auto& [text, policy] : kConflictChoices) {
    SendMessageW(Item(IDC_CBO_CONFLICT), CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(text).c_str()));
    if (policy == mSession->Conflicts()) {
      SendMessageW(Item(IDC_CBO_CONFLICT), CB_SETCURSEL,
                   SendMessageW(Item(IDC_CBO_CONFLICT), CB_GETCOUNT, 0, 0) - 1, 0);
    }
  }
  SendMessageW(Item(IDC_PRG_RESTORE), PBM_SETRANGE32, 0, kProgressSteps);
  if (!mSession->HasManifest()) {
    // A plain archive has no old places: only a folder will do.
    mSession->SetMode(restore::PlanMode::IntoFolder);
    EnableWindow(Item(IDC_OPT_SAME_PLACES), FALSE);
  }
  CheckRadioButton(dialog, IDC_OPT_SAME_PLACES, IDC_OPT_INTO_FOLDER,
                   mSession->Mode() == restore::PlanMode::SamePlaces ? IDC_OPT_SAME_PLACES
                                                                     : IDC_OPT_INTO_FOLDER);
  SetWindowTextUtf8(Item(IDC_TXT_RESTORE_FOLDER), mSession->IntoFolder());
  mIcon.reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TARNWICK), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mIcon.get()));
  mTasks.SetWindow(dialog);
  InitLists();
  ApplyLayout(WindowDpi(dialog));
  RefreshMappings();
  RefreshPlan();
}

void frmRestore::InitLists() {
  HWND dialog = mhWnd.get();
  mMappings = std::make_unique<clsListView>();
  mMappings->Init(dialog, IDC_LVW_MAPPINGS);
  mMappings->View(LVS_REPORT);
  mMappings->FullRowSelect(true);
  mMappings->ColumnAdd(app::kColumnFrom, 430);
  mMappings->ColumnAdd(app::kColumnTo, 430);
  mMappings->SetRows(mMappingSource.get());
  mPlan = std::make_unique<clsListView>();
  mPlan->Init(dialog, IDC_LVW_PLAN);
  mPlan->View(LVS_REPORT);
  mPlan->FullRowSelect(true);
  mPlan->ColumnAdd(app::kColumnFrom, 330);
  mPlan->ColumnAdd(app::kColumnTo, 330);
  mPlan->ColumnAdd(app::kColumnStatus, 200);
  mPlan->SetRows(&mPlanSource);
  // In the tab order where they stand: after the folder row, and after the conflict choice.
  SetWindowPos(mMappings->hWnd(), Item(IDC_CMD_RESTORE_BROWSE), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(mPlan->hWnd(), Item(IDC_CBO_CONFLICT), 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmRestore::ApplyLayout(int dpi) {
  HWND dialog = mhWnd.get();
  mFont = MakeFont(dpi);
  SetFontOnChildren(dialog, mFont.get());
  SetClientSize(dialog, TwipsToPixels(kClientWidth, dpi), TwipsToPixels(kClientHeight, dpi));
  PlaceControls(dialog, kPlaces, dpi);
  if (mMappings)
    placeList(*mMappings, kMappingsPlace, dpi);
  if (mPlan)
    placeList(*mPlan, kPlanPlace, dpi);
}

void frmRestore::RefreshMappings() {
  const bool samePlaces = mSession->Mode() == restore::PlanMode::SamePlaces;
  EnableWindow(mMappings->hWnd(), samePlaces);
  EnableWindow(Item(IDC_TXT_RESTORE_FOLDER), !samePlaces);
  EnableWindow(Item(IDC_CMD_RESTORE_BROWSE), !samePlaces);
  showAllRows(*mMappings);
}

void frmRestore::StopChecking() {
  mChecker.reset();
  ++mPlanNumber;
}

void frmRestore::RefreshPlan() {
  StopChecking();
  mRows = mSession->QuickRows();
  showAllRows(*mPlan);
  std::string status;
  for (const auto& w : mSession->Warnings())
    status += w + "\n";
  status += mSession->PlanError();
  while (!status.empty() && status.back() == '\n')
    status.pop_back();
  SetWindowTextUtf8(Item(IDC_LBL_RESTORE_STATUS), status);
  EnableWindow(Item(IDC_CMD_RESTORE_START), mSession->PlanError().empty() && !mRows.rows.empty());
  if (mRows.checks.empty())
    return;
  const std::uint64_t number = mPlanNumber;
  mChecker = std::make_unique<app::PlanStatusChecker>(
      mRows.checks,
      [this, number](std::size_t row, const std::string& text) {
        mTasks.Post([this, number, row, text] {
          if (number != mPlanNumber || row >= mRows.rows.size())
            return;
          mRows.rows[row].status = text;
          ListView_RedrawItems(mPlan->hWnd(), static_cast<int>(row), static_cast<int>(row));
        });
      },
      [this, number] {
        mTasks.Post([this, number] {
          if (number == mPlanNumber)
            mChecker.reset();
        });
      });
}

void frmRestore::optMode_Click() {
  const auto mode = IsDlgButtonChecked(mhWnd.get(), IDC_OPT_SAME_PLACES) == BST_CHECKED
                        ? restore::PlanMode::SamePlaces
                        : restore::PlanMode::IntoFolder;
  if (mode == mSession->Mode())
    return;
  mSession->SetMode(mode);
  RefreshMappings();
  RefreshPlan();
}

void frmRestore::txtFolder_Change() {
  const std::string folder = WindowTextUtf8(Item(IDC_TXT_RESTORE_FOLDER));
  if (folder == mSession->IntoFolder())
    return;
  mSession->SetIntoFolder(folder);
  RefreshPlan();
}

void frmRestore::cmdBrowse_Click() {
  PromptAnswerer answers(mhWnd.get());
  const auto folder = answers.AskFolder({app::kChooseFolderTitle, mSession->IntoFolder()});
  if (!folder)
    return;
  SetWindowTextUtf8(Item(IDC_TXT_RESTORE_FOLDER), *folder);
  mSession->SetIntoFolder(*folder);
  RefreshPlan();
}

void frmRestore::lvwMappings_DoubleClick(int row) {
  if (row < 0 || row >= mMappingSource->Count() || Running())
    return;
  const bool other = mMappingSource->IsOtherPlaces(row);
  // Copied: the session's list changes below.
  const std::string from = other ? std::string() : mSession->Mappings()[row].from;
  const std::string current = other ? mSession->OtherPlacesFolder() : mSession->Mappings()[row].to;
  PromptAnswerer answers(mhWnd.get());
  const auto folder = answers.AskFolder({app::kChooseFolderTitle, current});
  if (!folder)
    return;
  if (other)
    mSession->SetOtherPlacesFolder(*folder);
  else
    mSession->SetMapping(from, *folder);
  RefreshMappings();
  RefreshPlan();
}

void frmRestore::SetRunning(bool running) {
  const bool samePlaces = mSession->Mode() == restore::PlanMode::SamePlaces;
  EnableWindow(Item(IDC_CMD_RESTORE_START), !running);
  EnableWindow(Item(IDCANCEL), !running);
  EnableWindow(Item(IDC_CMD_RESTORE_CANCEL), running);
  EnableWindow(Item(IDC_OPT_SAME_PLACES), !running && mSession->HasManifest());
  EnableWindow(Item(IDC_OPT_INTO_FOLDER), !running);
  EnableWindow(Item(IDC_TXT_RESTORE_FOLDER), !running && !samePlaces);
  EnableWindow(Item(IDC_CMD_RESTORE_BROWSE), !running && !samePlaces);
  EnableWindow(mMappings->hWnd(), !running && samePlaces);
  EnableWindow(Item(IDC_CBO_CONFLICT), !running);
  if (running)
    SetFocus(Item(IDC_CMD_RESTORE_CANCEL));
}

void frmRestore::cmdRestore_Click() {
  // A folder typed and not yet left counts (Enter presses Restore while the box has the focus).
  txtFolder_Change();
  if (Running() || !mSession->PlanError().empty() || mRows.rows.empty())
    return;
  // The run tells each row's outcome; the comparison for the status column is not needed now.
  StopChecking();
  mStop = false;
  mOutcome.reset();
  SetRunning(true);
  SendMessageW(Item(IDC_PRG_RESTORE), PBM_SETPOS, 0, 0);
  mWorker = std::thread([this] {
    app::RestoreHooks hooks;
    hooks.stop = &mStop;
    hooks.progress = app::ThrottledRestoreProgress(
        [this](std::uint64_t fd, std::uint64_t ft, std::uint64_t bd, std::uint64_t bt) {
          mTasks.Post([=, this] { OnProgress(fd, ft, bd, bt); });
        });
    hooks.outcome = [this](const app::OutcomeLine& line) {
      mTasks.Post([this, line] { OnOutcome(line); });
    };
    hooks.askConflict = [this](const app::ConflictQuestion& question) {
      auto promise = std::make_shared<std::promise<app::ConflictAnswer>>();
      std::future<app::ConflictAnswer> answer = promise->get_future();
      // The task owns the only promise: dropped with the window, it breaks it.
      mTasks.Post([this, question, promise = std::move(promise)] {
        promise->set_value(CurrentPrompts().AskConflict(mhWnd.get(), question));
      });
      try {
        return answer.get();
      } catch (const std::future_error&) {
        return app::ConflictAnswer{restore::ConflictChoice::Skip, true};
      }
    };
    app::RestoreOutcome outcome = mSession->Run(hooks);
    mTasks.Post([this, outcome = std::move(outcome)] { OnFinished(outcome); });
  });
}

void frmRestore::OnProgress(std::uint64_t filesDone, std::uint64_t filesTotal,
                            std::uint64_t bytesDone, std::uint64_t bytesTotal) {
  const std::uint64_t step =
      bytesTotal == 0 ? (filesTotal == 0 ? kProgressSteps : filesDone * kProgressSteps / filesTotal)
                      : bytesDone * kProgressSteps / bytesTotal;
  SendMessageW(Item(IDC_PRG_RESTORE), PBM_SETPOS, static_cast<WPARAM>(step), 0);
  SetWindowTextUtf8(Item(IDC_LBL_RESTORE_STATUS),
                    app::RestoringText(std::min(filesDone + 1, filesTotal), filesTotal));
}

void frmRestore::OnOutcome(const app::OutcomeLine& line) {
  if (line.planIndex >= mRows.rows.size())
    return;
  app::RestoreRow& row = mRows.rows[line.planIndex];
  row.status = app::OutcomeWord(line.outcome);
  if (!line.reason.empty())
    row.status += ": " + line.reason;
  row.to = line.path;
  const int at = static_cast<int>(line.planIndex);
  ListView_RedrawItems(mPlan->hWnd(), at, at);
}

void frmRestore::OnFinished(app::RestoreOutcome outcome) {
  if (mWorker.joinable())
    mWorker.join();
  SetRunning(false);
  SetWindowTextUtf8(Item(IDC_LBL_RESTORE_STATUS), outcome.summary);
  mOutcome = std::move(outcome);
  if (mbCloseWhenDone) {
    TryClose();
    return;
  }
  app::Question question = app::MakeQuestion(
      mOutcome->summary, mOutcome->AllInPlace() ? app::Icon::Information : app::Icon::Exclamation);
  question.caption = app::kRestoreWindowTitle;
  CurrentPrompts().MessageWithDetails(mhWnd.get(), question, app::OutcomeDetails(mOutcome->lines));
}

void frmRestore::cmdCancel_Click() {
  mStop = true;
}

void frmRestore::TryClose() {
  if (Running()) {
    // Stop first; the window closes once the worker has left nothing half-written.
    mStop = true;
    mbCloseWhenDone = true;
    return;
  }
  mTasks.Close();
  mChecker.reset();
  mPlan.reset();
  mMappings.reset();
  mhWnd.reset();  // destroys the window
}

}  // namespace tarnwick::win
