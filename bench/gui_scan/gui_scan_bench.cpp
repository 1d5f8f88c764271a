// Measures the scan window: how long a real scan takes in it, the longest time the window goes
// without processing events during the scan, and the memory it holds with many rows.
//
//   tarnwick-gui-scan-bench scan ROOT [--patterns LIST] [--show]
//   tarnwick-gui-scan-bench rows COUNT [--show]
//
// "scan" walks ROOT (both exclusion switches off) in a scan window; "rows" feeds COUNT made-up
// matches through the window's own sink, yielding every 25 ms as the walk does. Every question
// is answered at once unless --show is given (then the window stays open with real dialogs, for
// looking at it). Results go to stdout as "name value" lines.
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "core/scan/search_state.h"
#include "gui/common/prompts.h"
#include "gui/scan/frm_scan.h"

using namespace tarnwick;
using namespace tarnwick::gui;

namespace {

const char* kDefaultPatterns =
    "*.url;*.doc;*.docx;*.docm;*.dot;*.dotx;*.dotm;*.xls;*.xlsx;*.xlsm;*.xlsb;*.xlt;*.xlsx;"
    "*.xlsm;*.ppt;*.pptx;*.pptm;*.pot;*.potx;*.potm;*.pps;*.ppsx;*.ppsm;*.mdb;*.accdb;*.pub;"
    "*.mpp;*.vsd;*.xsn;*.one;*.onepkg;*.pst;*.pab;*.pdf;*.xps";

class AnswerAll final : public Prompts {
 public:
  PromptAnswer Message(QWidget*, const MessageRequest& r) override {
    return r.buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::Yes;
  }
  std::optional<QString> SaveFile(QWidget*, const SaveFileRequest&) override { return {}; }
  std::optional<QString> BrowseFolder(QWidget*, const QString&, const QString&) override {
    return {};
  }
};

long statusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::string key = std::string(field) + ":";
  while (std::getline(in, line)) {
    if (line.rfind(key, 0) == 0)
      return std::stol(line.substr(key.size()));
  }
  return -1;
}

// The scan window with a stopwatch around the walk and a ticker that notes the longest time
// between two runs of the event loop while the walk runs.
class MeasuredScanWindow : public frmScan {
 public:
  explicit MeasuredScanWindow(long syntheticRows) : syntheticRows_(syntheticRows) {
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(1);
    QObject::connect(&ticker_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (lastTick_ >= 0 && now - lastTick_ > longestGap_)
        longestGap_ = now - lastTick_;
      lastTick_ = now;
      ++ticks_;
    });
  }
  double walkMs = 0;
  double longestGapMs() const { return static_cast<double>(longestGap_) / 1e6; }
  long ticks() const { return ticks_; }

 protected:
  void RunSearch(SearchParams& params, const std::string& root, SearchSink& sink) override {
    clock_.start();
    ticker_.start();
    if (syntheticRows_ > 0) {
      feedRows(params, sink);
    } else {
      frmScan::RunSearch(params, root, sink);
    }
    // The time from the walk's last yield to its end counts as a gap too.
    const qint64 end = clock_.nsecsElapsed();
    if (lastTick_ >= 0 && end - lastTick_ > longestGap_)
      longestGap_ = end - lastTick_;
    walkMs = static_cast<double>(end) / 1e6;
    ticker_.stop();
  }

 private:
  // Made-up matches shaped like a user's documents: about 35-byte names, twenty files a folder.
  void feedRows(SearchParams& params, SearchSink& sink) {
    using Clock = std::chrono::steady_clock;
    auto last = Clock::now();
    char name[96];
    char folder[128];
    for (long i = 0; i < syntheticRows_ && gScanning; ++i) {
      std::snprintf(name, sizeof name, "Quarterly report %07ld final version.docx", i);
      std::snprintf(folder, sizeof folder,
                    "/home/someone/Documents/Projects/Client %05ld/Reports and minutes/", i / 20);
      ++params.MatchCount;
      params.ScannedCount += 2;
      const std::uint64_t size = static_cast<std::uint64_t>(i % 5000) * 1000 + 517;
      params.TotalBytes += size;
      sink.OnMatch(name, folder, size);
      if ((i & 31) == 0 && Clock::now() - last >= std::chrono::milliseconds(25)) {
        const auto before = Clock::now();
        sink.Yield();
        last = Clock::now();
        longestYield_ = std::max(longestYield_, last - before);
      }
    }
  }

  long syntheticRows_;
  std::chrono::steady_clock::duration longestYield_{};

 public:
  double longestYieldMs() const {
    return std::chrono::duration<double, std::milli>(longestYield_).count();
  }

 private:
  QElapsedTimer clock_;
  QTimer ticker_;
  qint64 lastTick_ = -1;
  qint64 longestGap_ = 0;
  long ticks_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 3 || (args[1] != "scan" && args[1] != "rows")) {
    std::cerr << "usage: tarnwick-gui-scan-bench scan ROOT [--patterns LIST] [--show]\n"
                 "       tarnwick-gui-scan-bench rows COUNT [--show]\n";
    return 2;
  }
  const bool show = args.contains("--show");
  AnswerAll answers;
  if (!show)
    InstallPrompts(&answers);

  gSearch = SearchParams{};
  gSearch.Recurse = true;
  gSearch.Pattern = kDefaultPatterns;
  const int patternsAt = static_cast<int>(args.indexOf("--patterns"));
  if (patternsAt > 0 && patternsAt + 1 < args.size()) {
    gSearch.Pattern = args[patternsAt + 1].toStdString();
  }
  long rows = 0;
  if (args[1] == "scan") {
    gRootFolder = args[2].toStdString();
    if (gRootFolder.empty() || gRootFolder.back() != '/')
      gRootFolder += '/';
  } else {
    rows = args[2].toLong();
    gRootFolder = "/";
  }

  MeasuredScanWindow window(rows);
  bool reported = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (reported || !window.cmdExport->isVisible())
      return;
    reported = true;
    // Let the last rows and the summary paint before reading the memory.
    QApplication::processEvents();
    std::cout << "rows " << window.mList->ListCount() << "\n"
              << "matches " << gSearch.MatchCount << "\n"
              << "scanned " << gSearch.ScannedCount << "\n"
              << "walk_ms " << window.walkMs << "\n"
              << "longest_gap_ms " << window.longestGapMs() << "\n"
              << "event_loop_runs " << window.ticks() << "\n"
              << "longest_yield_ms " << window.longestYieldMs() << "\n"
              << "rss_kb " << statusKb("VmRSS") << "\n"
              << "peak_rss_kb " << statusKb("VmHWM") << std::endl;
    if (!show) {
      window.mbSaved = true;
      window.close();
    }
  });
  watch.start(20);
  window.exec();
  return 0;
}
