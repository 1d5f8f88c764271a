#include "win/common/dialog_prompts.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <array>
#include <vector>

#include "app/restore/restore_texts.h"
#include "win/common/handles.h"
#include "win/common/message_window.h"
#include "win/common/text.h"

namespace tarnwick::win {
namespace {

UINT iconStyle(app::Icon icon) {
  switch (icon) {
    case app::Icon::Information:
      return MB_ICONINFORMATION;
    case app::Icon::Question:
      return MB_ICONQUESTION;
    case app::Icon::Exclamation:
      return MB_ICONEXCLAMATION;
    case app::Icon::Error:
      return MB_ICONERROR;
    case app::Icon::None:
      break;
  }
  return 0;
}

PCWSTR taskDialogIcon(app::Icon icon) {
  switch (icon) {
    case app::Icon::Information:
    case app::Icon::Question:
      return TD_INFORMATION_ICON;
    case app::Icon::Exclamation:
      return TD_WARNING_ICON;
    case app::Icon::Error:
      return TD_ERROR_ICON;
    case app::Icon::None:
      break;
  }
  return nullptr;
}

// Yes, No, Yes to all and Cancel: more buttons than a message box has, so a task dialog.
app::Answer askFourWay(HWND owner, const app::Question& request) {
  constexpr int kYesToAll = 100;
  const std::wstring text = Wide(request.text);
  const std::wstring caption = Wide(request.caption);
  const std::array<TASKDIALOG_BUTTON, 1> custom{{{kYesToAll, L"Yes to &all"}}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON | TDCBF_CANCEL_BUTTON;
  config.pszWindowTitle = caption.c_str();
  config.pszMainIcon = taskDialogIcon(request.icon);
  config.pszContent = text.c_str();
  config.cButtons = static_cast<UINT>(custom.size());
  config.pButtons = custom.data();
  config.nDefaultButton = IDYES;
  int pressed = IDCANCEL;
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)))
    return app::Answer::Cancel;
  switch (pressed) {
    case IDYES:
      return app::Answer::Yes;
    case IDNO:
      return app::Answer::No;
    case kYesToAll:
      return app::Answer::YesToAll;
    default:
      return app::Answer::Cancel;
  }
}

// The path of a shell item, when it has one in the file system.
std::optional<std::string> fileSystemPath(IShellItem* item) {
  PWSTR raw = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &raw)) || raw == nullptr)
    return std::nullopt;
  const CoTaskMemPtr<wchar_t> path(raw);
  return Utf8(path.get());
}

void setFolder(IFileDialog* dialog, const std::string& folder) {
  if (folder.empty())
    return;
  ComRef<IShellItem> item;
  if (SUCCEEDED(SHCreateItemFromParsingName(Wide(folder).c_str(), nullptr, IID_IShellItem,
                                            item.put_void()))) {
    dialog->SetFolder(item.get());
  }
}

std::optional<std::string> runItemDialog(IFileDialog* dialog, HWND owner, bool* failed) {
  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
    return std::nullopt;
  ComRef<IShellItem> result;
  if (FAILED(shown) || FAILED(dialog->GetResult(result.put()))) {
    *failed = true;
    return std::nullopt;
  }
  return fileSystemPath(result.get());
}

std::optional<std::string> saveWithItemDialog(HWND owner, const app::SaveFileQuestion& request,
                                              bool* failed) {
  ComRef<IFileSaveDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileSaveDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileSaveDialog, dialog.put_void()))) {
    *failed = true;
    return std::nullopt;
  }
  const std::wstring title = Wide(request.title);
  const std::wstring filterName = Wide(request.filter);
  const std::wstring filterPattern = Wide(request.filterPattern);
  const COMDLG_FILTERSPEC filter{filterName.c_str(), filterPattern.c_str()};
  dialog->SetTitle(title.c_str());
  dialog->SetFileTypes(1, &filter);
  dialog->SetFileTypeIndex(1);
  dialog->SetDefaultExtension(Wide(request.defaultExtension).c_str());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR;
  if (request.confirmOverwrite)
    options |= FOS_OVERWRITEPROMPT;
  dialog->SetOptions(options);
  setFolder(dialog.get(), request.initialFolder);
  dialog->SetFileName(Wide(request.proposedName).c_str());
  return runItemDialog(dialog.get(), owner, failed);
}

// The older save dialog, where the shell's item dialog cannot be made.
std::optional<std::string> saveWithCommonDialog(HWND owner, const app::SaveFileQuestion& request) {
  std::wstring filter = Wide(request.filter) + L'\0' + Wide(request.filterPattern) + L'\0';
  std::vector<wchar_t> file(32768, L'\0');
  const std::wstring proposed = Wide(request.proposedName);
  proposed.copy(file.data(), std::min(proposed.size(), file.size() - 1));
  const std::wstring title = Wide(request.title);
  const std::wstring folder = Wide(request.initialFolder);
  const std::wstring extension = Wide(request.defaultExtension);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size() - 1);
  ofn.lpstrInitialDir = folder.c_str();
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER | (request.confirmOverwrite ? OFN_OVERWRITEPROMPT : 0);
  ofn.lpstrDefExt = extension.c_str();
  if (!GetSaveFileNameW(&ofn))
    return std::nullopt;
  return Utf8(file.data());
}

std::optional<std::string> pickWithItemDialog(HWND owner, const std::string& title,
                                              const std::string& initialFolder, bool* failed) {
  ComRef<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, dialog.put_void()))) {
    *failed = true;
    return std::nullopt;
  }
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR);
  dialog->SetTitle(Wide(title).c_str());
  setFolder(dialog.get(), initialFolder);
  return runItemDialog(dialog.get(), owner, failed);
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data != 0)
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

// The older folder browser, where the shell's item dialog cannot be made.
std::optional<std::string> pickWithBrowseDialog(HWND owner, const std::string& title,
                                                const std::string& initialFolder) {
  const std::wstring wtitle = Wide(title);
  const std::wstring initial = Wide(initialFolder);
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = wtitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(initial.c_str());
  const CoTaskMemPtr<ITEMIDLIST> chosen(SHBrowseForFolderW(&info));
  if (!chosen)
    return std::nullopt;
  std::vector<wchar_t> path(32768, L'\0');
  if (!SHGetPathFromIDListEx(chosen.get(), path.data(), static_cast<DWORD>(path.size()),
                             GPFIDL_DEFAULT)) {
    return std::nullopt;
  }
  return Utf8(path.data());
}

std::vector<std::string> openWithItemDialog(HWND owner, const OpenFilesRequest& request,
                                            bool* failed) {
  ComRef<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IFileOpenDialog, dialog.put_void()))) {
    *failed = true;
    return {};
  }
  const std::wstring filterName = Wide(request.filter);
  const std::wstring filterPattern = Wide(request.filterPattern);
  const COMDLG_FILTERSPEC filter{filterName.c_str(), filterPattern.c_str()};
  dialog->SetTitle(Wide(request.title).c_str());
  dialog->SetFileTypes(1, &filter);
  dialog->SetFileTypeIndex(1);
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_FILEMUSTEXIST |
                     FOS_ALLOWMULTISELECT);
  const HRESULT shown = dialog->Show(owner);
  if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
    return {};
  ComRef<IShellItemArray> items;
  DWORD count = 0;
  if (FAILED(shown) || FAILED(dialog->GetResults(items.put())) || FAILED(items->GetCount(&count))) {
    *failed = true;
    return {};
  }
  std::vector<std::string> paths;
  for (DWORD i = 0; i < count; ++i) {
    ComRef<IShellItem> item;
    if (SUCCEEDED(items->GetItemAt(i, item.put()))) {
      if (auto path = fileSystemPath(item.get()))
        paths.push_back(std::move(*path));
    }
  }
  return paths;
}

// The older open dialog, where the shell's item dialog cannot be made. With several files chosen
// it gives the folder, then each name, each ended by a zero.
std::vector<std::string> openWithCommonDialog(HWND owner, const OpenFilesRequest& request) {
  std::wstring filter = Wide(request.filter) + L'\0' + Wide(request.filterPattern) + L'\0';
  std::vector<wchar_t> buffer(65536, L'\0');
  const std::wstring title = Wide(request.title);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn))
    return {};
  std::vector<std::wstring> parts;
  for (const wchar_t* p = buffer.data(); *p != L'\0'; p += parts.back().size() + 1)
    parts.emplace_back(p);
  std::vector<std::string> paths;
  if (parts.size() == 1) {
    paths.push_back(Utf8(parts[0]));
    return paths;
  }
  for (std::size_t i = 1; i < parts.size(); ++i)
    paths.push_back(Utf8(parts[0] + L'\\' + parts[i]));
  return paths;
}

}  // namespace

UINT MessageBoxStyle(app::Icon icon, app::Buttons buttons, bool foreground) {
  UINT style = iconStyle(icon);
  style |= buttons == app::Buttons::YesNo ? MB_YESNO : MB_OK;
  if (foreground)
    style |= MB_SETFOREGROUND;
  return style;
}

app::Reply DialogPrompts::MessageWithCheckBox(HWND owner, const app::Question& request) {
  if (request.details.empty() && request.checkBox.empty())
    return {Message(owner, request), false};
  return MessageWindow(owner, request).ShowModal();
}

app::Answer DialogPrompts::Message(HWND owner, const app::Question& request) {
  if (request.buttons == app::Buttons::YesNoYesToAllCancel)
    return askFourWay(owner, request);
  if (!request.details.empty() || !request.checkBox.empty())
    return MessageWindow(owner, request).ShowModal().answer;
  const int result =
      MessageBoxW(owner, Wide(request.text).c_str(), Wide(request.caption).c_str(),
                  MessageBoxStyle(request.icon, request.buttons, request.foreground));
  switch (result) {
    case IDYES:
      return app::Answer::Yes;
    case IDNO:
      return app::Answer::No;
    default:
      return request.buttons == app::Buttons::YesNo ? app::Answer::No : app::Answer::Ok;
  }
}

std::optional<std::string> DialogPrompts::SaveFile(HWND owner,
                                                   const app::SaveFileQuestion& request) {
  bool failed = false;
  auto chosen = saveWithItemDialog(owner, request, &failed);
  if (failed)
    return saveWithCommonDialog(owner, request);
  return chosen;
}

std::optional<std::string> DialogPrompts::BrowseFolder(HWND owner,
                                                       const app::FolderQuestion& question) {
  bool failed = false;
  auto chosen = pickWithItemDialog(owner, question.title, question.initialFolder, &failed);
  if (failed)
    return pickWithBrowseDialog(owner, question.title, question.initialFolder);
  return chosen;
}

std::vector<std::string> DialogPrompts::OpenFiles(HWND owner, const OpenFilesRequest& request) {
  bool failed = false;
  auto chosen = openWithItemDialog(owner, request, &failed);
  if (failed)
    return openWithCommonDialog(owner, request);
  return chosen;
}

app::ConflictAnswer DialogPrompts::AskConflict(HWND owner, const app::ConflictQuestion& question) {
  enum { kKeepBoth = 100, kSkip, kReplace };
  const std::wstring keep = Wide(app::kKeepBothButton);
  const std::wstring skip = Wide(app::kSkipButton);
  const std::wstring replace = Wide(app::kReplaceButton);
  const std::array<TASKDIALOG_BUTTON, 3> buttons{
      {{kKeepBoth, keep.c_str()}, {kSkip, skip.c_str()}, {kReplace, replace.c_str()}}};
  const std::wstring text = Wide(question.text);
  const std::wstring caption = Wide(question.caption);
  const std::wstring forAll = Wide(app::kForAllCheck);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof(config);
  config.hwndParent = owner;
  config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = caption.c_str();
  config.pszMainIcon = TD_WARNING_ICON;
  config.pszContent = text.c_str();
  config.cButtons = static_cast<UINT>(buttons.size());
  config.pButtons = buttons.data();
  config.nDefaultButton = kKeepBoth;
  config.pszVerificationText = forAll.c_str();
  int pressed = kSkip;
  BOOL checked = FALSE;
  app::ConflictAnswer answer;
  // Escape, or no dialog at all, leaves the file that is there alone.
  if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, &checked)))
    pressed = kSkip;
  answer.choice = pressed == kKeepBoth  ? restore::ConflictChoice::KeepBoth
                  : pressed == kReplace ? restore::ConflictChoice::Replace
                                        : restore::ConflictChoice::Skip;
  answer.forAll = checked != FALSE;
  return answer;
}

// The same box as every message with a list behind it: "Details..." opens the whole list.
void DialogPrompts::MessageWithDetails(HWND owner, const app::Question& question,
                                       const std::string& details) {
  app::Question withDetails = question;
  withDetails.details = details;
  Message(owner, withDetails);
}

}  // namespace tarnwick::win
