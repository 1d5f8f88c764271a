// Measures the Windows scan window: how long a real scan takes in it (walk_ms: the walk itself;
// scan_ms: from the window shown to the last rows and the summary painted), the longest time its
// thread goes without answering messages during the scan, and the memory it holds with many rows.
//
//   tarnwick-win-scan-bench.exe scan ROOT [--patterns LIST] [--no-watch]
//   tarnwick-win-scan-bench.exe rows COUNT [--no-watch]
//
// "scan" walks ROOT (both exclusion switches off) in a scan window; "rows" feeds COUNT made-up
// matches through the window's own sink, yielding every 25 ms as the walk does. Every question
// is answered at once. Results go to stdout as "name value" lines.
//
// The stall is what a user feels: a second thread sends the window a message every millisecond
// and notes how long the window's thread takes to answer it (a sent message is answered only
// while that thread runs its messages).
#include <windows.h>
// After <windows.h>, whose types it uses.
#include <psapi.h>
#undef Yield

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "core/scan/search.h"
#include "core/scan/search_state.h"
#include "win/common/message_loop.h"
#include "win/common/prompts.h"
#include "win/controls/status_bar.h"
#include "win/scan/frm_scan.h"

using namespace tarnwick;
using namespace tarnwick::win;
using Clock = std::chrono::steady_clock;

namespace {

const char* kDefaultPatterns =
    "*.url;*.doc;*.docx;*.docm;*.dot;*.dotx;*.dotm;*.xls;*.xlsx;*.xlsm;*.xlsb;*.xlt;*.xlsx;"
    "*.xlsm;*.ppt;*.pptx;*.pptm;*.pot;*.potx;*.potm;*.pps;*.ppsx;*.ppsm;*.mdb;*.accdb;*.pub;"
    "*.mpp;*.vsd;*.xsn;*.one;*.onepkg;*.pst;*.pab;*.pdf;*.xps";

class AnswerAll final : public Prompts {
 public:
  app::Answer Message(HWND, const app::Question& q) override {
    return q.buttons == app::Buttons::Ok ? app::Answer::Ok : app::Answer::Yes;
  }
  std::optional<std::string> SaveFile(HWND, const app::SaveFileQuestion&) override { return {}; }
  std::optional<std::string> BrowseFolder(HWND, const app::FolderQuestion&) override { return {}; }
  std::vector<std::string> OpenFiles(HWND, const OpenFilesRequest&) override { return {}; }
  app::ConflictAnswer AskConflict(HWND, const app::ConflictQuestion&) override { return {}; }
  void MessageWithDetails(HWND, const app::Question&, const std::string&) override {}
};

// Sends WM_NULL to the window every millisecond while armed and keeps the longest answer time.
class StallWatch {
 public:
  void Start(HWND window) {
    window_ = window;
    thread_ = std::thread([this] {
      while (!quit_) {
        if (armed_) {
          const auto before = Clock::now();
          DWORD_PTR ignored = 0;
          SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
          const auto took = Clock::now() - before;
          longest_ = std::max<std::int64_t>(
              longest_, std::chrono::duration_cast<std::chrono::microseconds>(took).count());
          ++pings_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    });
  }
  void Arm(bool on) { armed_ = on; }
  ~StallWatch() {
    quit_ = true;
    if (thread_.joinable())
      thread_.join();
  }
  double LongestMs() const { return static_cast<double>(longest_) / 1000.0; }
  long Pings() const { return pings_; }

 private:
  HWND window_ = nullptr;
  std::thread thread_;
  std::atomic<bool> quit_{false}, armed_{false};
  std::atomic<std::int64_t> longest_{0};
  std::atomic<long> pings_{0};
};

// Made-up matches shaped like a user's documents: about 35-byte names, twenty files a folder.
void FeedRows(long rows, SearchParams& params, SearchSink& sink) {
  auto last = Clock::now();
  char name[96];
  char folder[128];
  for (long i = 0; i < rows && gScanning; ++i) {
    std::snprintf(name, sizeof name, "Quarterly report %07ld final version.docx", i);
    std::snprintf(folder, sizeof folder,
                  "C:\\Users\\someone\\Documents\\Projects\\Client %05ld\\Reports and minutes\\",
                  i / 20);
    ++params.MatchCount;
    params.ScannedCount += 2;
    const std::uint64_t size = static_cast<std::uint64_t>(i % 5000) * 1000 + 517;
    params.TotalBytes += size;
    sink.OnMatch(name, folder, size);
    if ((i & 31) == 0 && Clock::now() - last >= std::chrono::milliseconds(25)) {
      sink.Yield();
      last = Clock::now();
    }
  }
}

std::string Utf8(const wchar_t* w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || (std::wstring(argv[1]) != L"scan" && std::wstring(argv[1]) != L"rows")) {
    std::fprintf(stderr,
                 "usage: tarnwick-win-scan-bench scan ROOT [--patterns LIST]\n"
                 "       tarnwick-win-scan-bench rows COUNT\n");
    return 2;
  }
  InitComCtl(ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES);
  AnswerAll answers;
  InstallPrompts(&answers);
  const bool synthetic = std::wstring(argv[1]) == L"rows";
  const long rows = synthetic ? std::wcstol(argv[2], nullptr, 10) : 0;

  gSearch = SearchParams{};
  gSearch.Recurse = true;
  gSearch.Pattern = kDefaultPatterns;
  for (int i = 3; i + 1 < argc; ++i) {
    if (std::wstring(argv[i]) == L"--patterns")
      gSearch.Pattern = Utf8(argv[i + 1]);
  }
  gRootFolder = synthetic ? "C:\\" : Utf8(argv[2]);
  if (gRootFolder.empty() || gRootFolder.back() != '\\')
    gRootFolder += '\\';

  // --no-watch: no message from the watching thread (to see what the watch itself costs the walk).
  bool watching = true;
  for (int i = 3; i < argc; ++i) {
    if (std::wstring(argv[i]) == L"--no-watch")
      watching = false;
  }
  StallWatch watch;
  double walkMs = 0;
  frmScan::SetSearchRunner([&](SearchParams& params, const std::string& root, SearchSink& sink) {
    watch.Arm(watching);
    const auto start = Clock::now();
    if (synthetic) {
      FeedRows(rows, params, sink);
    } else {
      SearchFolder(params, root, sink, gScanning);
    }
    walkMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    watch.Arm(false);
  });

  frmScan window(nullptr);
  watch.Start(window.hWnd());
  // The scan as the user sees it: from the window shown to the last rows and the summary painted.
  const auto shown = Clock::now();
  window.Show();
  RunModalLoop(nullptr, [&] { return window.ScanEnded(); });
  PumpPending();  // the last rows and the summary painted before the memory is read
  const double scanMs = std::chrono::duration<double, std::milli>(Clock::now() - shown).count();

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  std::printf(
      "rows %d\nmatches %llu\nscanned %llu\nwalk_ms %.1f\nscan_ms %.1f\nlongest_gap_ms %.1f\n"
      "pings %ld\nrss_kb %llu\npeak_rss_kb %llu\n",
      window.mList->ListCount(), static_cast<unsigned long long>(gSearch.MatchCount),
      static_cast<unsigned long long>(gSearch.ScannedCount), walkMs, scanMs, watch.LongestMs(),
      watch.Pings(), static_cast<unsigned long long>(memory.WorkingSetSize / 1024),
      static_cast<unsigned long long>(memory.PeakWorkingSetSize / 1024));
  std::fflush(stdout);
  window.Session().mbSaved = true;
  SendMessageW(window.hWnd(), WM_CLOSE, 0, 0);
  return 0;
}
