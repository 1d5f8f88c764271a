#include "win/app/frm_splash.h"

#include <array>

#include "win/app/wait_pumping.h"
#include "win/common/handles.h"
#include "win/common/layout.h"
#include "win/resource_ids.h"

namespace tarnwick::win {
namespace {

constexpr std::array<TwipsPlace, 1> kPlaces{{{IDC_IMG_LOGO, 60, 60, 5415, 1800}}};

INT_PTR CALLBACK SplashProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
      const int dpi = WindowDpi(dialog);
      SetClientSize(dialog, TwipsToPixels(5580, dpi), TwipsToPixels(1950, dpi));
      PlaceControls(dialog, kPlaces, dpi);
      CentreWindow(dialog, nullptr);
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    default:
      return FALSE;
  }
}

}  // namespace

void ShowSplash(int milliseconds) {
  const WindowHandle splash(CreateDialogParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SPLASH), nullptr, SplashProc, 0));
  if (splash)
    ShowWindow(splash.get(), SW_SHOW);
  WaitPumping(milliseconds);
}

}  // namespace tarnwick::win
