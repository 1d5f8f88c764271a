#include "cli/terminal.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace tarnwick::cli {

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  // _isatty is true for every character device, NUL included; only a console has a console
  // mode. Taking NUL for a terminal left the output unbuffered, one write per byte.
  const int fd = _fileno(stream);
  if (_isatty(fd) == 0)
    return false;
  DWORD mode = 0;
  return ::GetConsoleMode(reinterpret_cast<HANDLE>(_get_osfhandle(fd)), &mode) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

int TerminalWidth(std::FILE* stream) {
#ifdef _WIN32
  HANDLE h = ::GetStdHandle(stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (::GetConsoleScreenBufferInfo(h, &info)) {
    return info.srWindow.Right - info.srWindow.Left + 1;
  }
#else
  winsize ws{};
  if (::ioctl(::fileno(stream), TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0)
    return ws.ws_col;
#endif
  return 80;
}

void PrepareConsoleOutput() {
#ifdef _WIN32
  ::SetConsoleOutputCP(CP_UTF8);
#endif
}

std::string TerminalSafe(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F)
      c = '?';
  }
  return out;
}

}  // namespace tarnwick::cli
