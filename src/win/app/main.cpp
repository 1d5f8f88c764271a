// tarnwick.exe: the desktop program for Windows.
#include <windows.h>

#include "core/platform/system.h"
#include "win/app/app_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return tarnwick::win::Main(tarnwick::platform::ExecutableFolder());
}
