#include "app/scan/scan_session.h"

#include "app/questions/texts.h"
#include "core/scan/format_size.h"

namespace tarnwick::app {

// Adapts what the walk reports to the session's rows and the window's view.
class SessionSink final : public SearchSink {
 public:
  SessionSink(ScanSession& session, ScanView& view) : session_(session), view_(view) {}

  void OnMatch(const std::string& name, const std::string& folder, std::uint64_t size) override {
    session_.addRow(ScanRow{name, folder, size}, view_);
  }
  void OnEnterFolder(const std::string& path) override {
    pendingFolder_ = path;
    folderPending_ = true;
  }
  void OnUnreadable(const std::string& path, const std::string& reason) override {
    session_.unreadable_.push_back(UnreadableFolder{path, reason});
  }
  // The folder last entered is shown only now, when the window is about to repaint.
  void Yield() override {
    if (folderPending_) {
      folderPending_ = false;
      view_.OnStatus(pendingFolder_);
    }
    view_.Yield();
  }

 private:
  ScanSession& session_;
  ScanView& view_;
  std::string pendingFolder_;
  bool folderPending_ = false;
};

ScanSession::ScanSession(std::string decimalSeparator, SearchParams& params,
                         const std::string& rootFolder, std::atomic<bool>& running)
    : decimalSeparator_(std::move(decimalSeparator)),
      params_(params),
      rootFolder_(rootFolder),
      running_(running) {
  mbSaved = false;
  running_ = true;
}

void ScanSession::addRow(ScanRow row, ScanView& view) {
  const std::uint64_t size = row.size;
  rows_.Add(std::move(row));
  const std::size_t index = rows_.Count() - 1;
  view.OnRow(index, rows_.Row(index), FormatSize(size, decimalSeparator_));
}

void ScanSession::RunSearch(SearchParams& params, const std::string& root, SearchSink& sink) {
  SearchFolder(params, root, sink, running_);
}

void ScanSession::Run(ScanView& view, Answerer& answers) {
  {
    SessionSink sink(*this, view);
    RunSearch(params_, DisplayRoot(rootFolder_), sink);
  }
  Finish(view, answers);
}

void ScanSession::Finish(ScanView& view, Answerer& answers) {
  view.OnStatus(SummaryLine());
  if (running_) {
    answers.Ask(MakeQuestion(std::string(texts::kScanComplete), Icon::Information));
    running_ = false;
  }
  finished_ = true;
}

void ScanSession::AskCancel(Answerer& answers) {
  if (answers.Ask(MakeQuestion(std::string(texts::kCancelScanQuestion), Icon::Question,
                               Buttons::YesNo)) == Answer::Yes) {
    running_ = false;
  }
}

bool ScanSession::MayClose(Answerer& answers) {
  if (running_ || mbExporting)
    return false;
  return mbSaved || answers.Ask(MakeQuestion(std::string(texts::kUnsavedQuestion), Icon::Question,
                                             Buttons::YesNo)) == Answer::Yes;
}

std::string SummaryLine(const SearchParams& params, const std::string& decimalSeparator) {
  return std::to_string(params.MatchCount) + std::string(texts::kSummaryMatches) +
         std::to_string(params.ScannedCount) + std::string(texts::kSummaryScanned) +
         FormatSize(params.TotalBytes, decimalSeparator);
}

std::string ScanSession::SummaryLine() const {
  return app::SummaryLine(params_, decimalSeparator_);
}

}  // namespace tarnwick::app
