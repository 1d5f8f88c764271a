#include "win/scan/frm_scan.h"
#include "win/common/form_dialog_proc.h"

#include <array>

#include "app/questions/texts.h"
#include "core/common/ui_hooks.h"
#include "win/common/layout.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/common/text.h"
#include "win/controls/status_bar.h"
#include "win/resource_ids.h"
#include "win/scan/scan_globals.h"

namespace tarnwick::win {
namespace {

// Pixels at 96 dots per inch.
constexpr int kClientWidth = 620;
constexpr int kClientHeight = 416;
constexpr int kStatusBarHeight = 50;
constexpr std::array<TwipsPlace, 2> kButtonPlaces{{
    {IDC_CMD_CANCEL_SCAN, 7380, 5460, 1755, 375},
    {IDC_CMD_EXPORT, 7380, 5460, 1755, 375},
}};
constexpr UINT kActivateMessage = WM_APP + 1;
// Posted by the walk's thread: found rows are waiting, or the walk has ended.
constexpr UINT kFoundMessage = WM_APP + 2;

frmScan::ExportCommand& exportCommand() {
  static frmScan::ExportCommand command;
  return command;
}

frmScan::SearchRunner& searchRunner() {
  static frmScan::SearchRunner runner;
  return runner;
}

}  // namespace

// The scan session of this window; the walk runs through the installed runner when a test set
// one.
class frmScan::WindowSession final : public app::ScanSession {
 public:
  explicit WindowSession(std::string decimalSeparator)
      : app::ScanSession(std::move(decimalSeparator)) {}

 protected:
  void RunSearch(SearchParams& params, const std::string& root, SearchSink& sink) override {
    if (const SearchRunner& runner = searchRunner()) {
      runner(params, root, sink);
    } else {
      app::ScanSession::RunSearch(params, root, sink);
    }
  }
};

// What the walk shows: the rows taken into the session's store reach the list when the window
// publishes them, the status texts go to the bar.
class frmScan::WindowScanView final : public app::ScanView {
 public:
  explicit WindowScanView(frmScan& window) : window_(window) {}
  void OnRow(std::size_t, const app::ScanRow&, const std::string&) override {
    window_.mList->ScrollBottom();
  }
  void OnStatus(const std::string& text) override {
    SetStatusText(window_.mStatusBar, 0, SBT_SUNKEN, text);
  }
  // The walk runs on its own thread: the window runs its messages all along.
  void Yield() override {}

 private:
  frmScan& window_;
};

void frmScan::SetExportCommand(ExportCommand command) {
  exportCommand() = std::move(command);
}

void frmScan::SetSearchRunner(SearchRunner runner) {
  searchRunner() = std::move(runner);
}

frmScan::frmScan(HWND owner)
    : mOwner(owner), mSession(std::make_unique<WindowSession>(UserDecimalSeparator())) {
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SCAN), owner, DialogProc,
                     reinterpret_cast<LPARAM>(this));
}

frmScan::~frmScan() {
  mWalk.reset();  // stops a walk still running
  mList.reset();
  mhWnd.reset();
}

bool frmScan::ScanEnded() const {
  return mSession->ShowsExport();
}

app::ScanSession& frmScan::Session() {
  return *mSession;
}

void frmScan::Show() {
  CentreWindow(mhWnd.get(), mOwner);
  ShowWindow(mhWnd.get(), SW_SHOW);
  SetForegroundWindow(mhWnd.get());
  if (!mbActivated) {
    mbActivated = true;
    // The scan starts once the window is on screen, from the message loop it runs in.
    PostMessageW(mhWnd.get(), kActivateMessage, 0, 0);
  }
}

void frmScan::ShowModal() {
  Show();
  RunModalLoop(mOwner, [this] { return Closed(); });
}

INT_PTR CALLBACK frmScan::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return FormDialogProc<frmScan>(dialog, message, wParam, lParam);
}

INT_PTR frmScan::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kActivateMessage:
      Form_Activate();
      return TRUE;
    case kFoundMessage:
      TakeFound();
      return TRUE;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (mList && mList->OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) {
        SetWindowLongPtrW(mhWnd.get(), DWLP_MSGRESULT, result);
        return TRUE;
      }
      return FALSE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_CMD_CANCEL_SCAN:
          cmdCancel_Click();
          return TRUE;
        case IDC_CMD_EXPORT:
          cmdExport_Click();
          return TRUE;
        case IDCANCEL:  // Escape
          TryClose();
          return TRUE;
        default:
          return FALSE;
      }
    case WM_CLOSE:
      TryClose();
      return TRUE;
    case WM_DPICHANGED:
      MoveToSuggestedRect(mhWnd.get(), lParam);
      ApplyLayout(HIWORD(wParam));
      return TRUE;
    case WM_DESTROY:
      if (ghStatusBar == mStatusBar) {
        ghStatusBar = nullptr;
        SetStatusHook({});
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void frmScan::Form_Load() {
  HWND dialog = mhWnd.get();
  cmdCancel = GetDlgItem(dialog, IDC_CMD_CANCEL_SCAN);
  cmdExport = GetDlgItem(dialog, IDC_CMD_EXPORT);
  InitComCtl(ICC_BAR_CLASSES);
  mStatusBar = CreateStatusBar(dialog);
  ghStatusBar = mStatusBar;
  // Progress texts of the export and the archive engine reach this window's bar too.
  SetStatusHook([](const std::string& text) { SetStatusText(ghStatusBar, 0, SBT_SUNKEN, text); });
  SetWindowTextUtf8(dialog, app::texts::kAppTitle);
  SetWindowTextUtf8(cmdCancel, app::texts::kCancelCaption);
  SetWindowTextUtf8(cmdExport, app::texts::kExportCaption);
  mIcon.reset(static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TARNWICK), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR)));
  SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mIcon.get()));
  InitListView();
  ApplyLayout(WindowDpi(dialog));
}

void frmScan::ApplyLayout(int dpi) {
  HWND dialog = mhWnd.get();
  mFont = MakeFont(dpi);
  SetFontOnChildren(dialog, mFont.get());
  const int width = PixelsAt(kClientWidth, dpi);
  const int height = PixelsAt(kClientHeight, dpi);
  SetClientSize(dialog, width, height);
  PlaceControls(dialog, kButtonPlaces, dpi);
  if (mStatusBar != nullptr) {
    // The bar keeps its own height along the bottom edge.
    MoveWindow(mStatusBar, 0, height - PixelsAt(kStatusBarHeight, dpi), width,
               PixelsAt(kStatusBarHeight, dpi), TRUE);
  }
  if (mList) {
    const float scale = static_cast<float>(dpi) / kDefaultDpi;
    mList->Move(8 * scale, 8 * scale, 605 * scale, 350 * scale);
  }
}

void frmScan::InitListView() {
  mList = std::make_unique<clsListView>();
  mList->Init(mhWnd.get(), IDC_LVW_RESULTS);
  mList->View(LVS_REPORT);
  mList->GridLines(true);
  mList->FullRowSelect(true);
  mList->Move(8, 8, 605, 350);
  mList->ColumnAdd(std::string(app::texts::kColumnFilename), 150, LVCFMT_LEFT);
  mList->ColumnAdd(std::string(app::texts::kColumnPath), 375, LVCFMT_LEFT);
  mList->ColumnAdd(std::string(app::texts::kColumnSize), 75, LVCFMT_LEFT);
  mRows = std::make_unique<ScanRows>(mSession->Rows(), mSession->DecimalSeparator());
  mList->SetRows(mRows.get());
  // Below the two buttons in the tab order, as the list was made last.
  SetWindowPos(mList->hWnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void frmScan::Form_Activate() {
  // The walk runs on a thread of its own, so the window never waits for a folder to be read.
  HWND window = mhWnd.get();
  mWalk = std::make_unique<app::BackgroundWalk>(
      *mSession, [window] { PostMessageW(window, kFoundMessage, 0, 0); });
  mWalk->Start();
}

void frmScan::TakeFound() {
  if (!mWalk)
    return;  // a wake that came after the end
  WindowScanView view(*this);
  const bool ended = mWalk->TakeFound(view);
  mList->Publish();
  if (!ended)
    return;
  mWalk.reset();
  PromptAnswerer answers(mhWnd.get());
  mSession->Finish(view, answers);
  ShowWindow(cmdCancel, SW_HIDE);
  EnableWindow(cmdExport, static_cast<bool>(exportCommand()));
  ShowWindow(cmdExport, SW_SHOW);
}

void frmScan::cmdCancel_Click() {
  PromptAnswerer answers(mhWnd.get());
  mSession->AskCancel(answers);
}

void frmScan::cmdExport_Click() {
  if (const ExportCommand command = exportCommand())
    command(*this);
}

void frmScan::TryClose() {
  PromptAnswerer answers(mhWnd.get());
  if (!mSession->MayClose(answers))
    return;
  mList.reset();
  mhWnd.reset();  // destroys the window
}

}  // namespace tarnwick::win
