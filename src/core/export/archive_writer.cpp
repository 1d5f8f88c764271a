#include "core/export/archive_writer.h"

#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "core/export/compression_choice.h"
#include "core/export/deflate_piece.h"
#include "core/platform/sync.h"

namespace tarnwick {
namespace {

using platform::FileError;
using Clock = std::chrono::steady_clock;

// Files this large get a Zip64 field in their local header: their sizes may pass 4 GiB once
// compressed (incompressible data grows slightly), and the header cannot grow afterwards.
constexpr std::uint64_t kZip64LocalThreshold = 0xFF000000ull;
constexpr auto kTickInterval = std::chrono::milliseconds(50);
// The most memory the blocks read and not yet written may take. Each holds two buffers of up to
// a block's size (its bytes and their deflated form), kept for use again once it is written.
constexpr std::uint64_t kBlockMemory = 320ull << 20;
// Small files' blocks a worker takes at once: at most this many, and while they hold less than
// kBatchBytes together.
constexpr std::size_t kBatchJobs = 32;
constexpr std::size_t kBatchBytes = 1 << 20;

enum Method : int { kUndecided = -1, kStore = zipformat::kStored, kDeflate = zipformat::kDeflated };

struct EntryState {
  std::shared_ptr<platform::InputFile> file;
  std::uint64_t size = 0;
  std::int64_t modifiedTime = 0;
  std::atomic<int> method{kUndecided};
  std::atomic<bool> failed{false};
};

struct Job {
  std::size_t seq = 0;
  std::size_t entry = 0;
  std::uint64_t offset = 0;
  std::size_t length = 0;
  bool first = false;
  bool last = false;
  FileError openError = FileError::None;
  std::string detail;
  std::shared_ptr<platform::InputFile> file;
};

struct BlockResult {
  Job job;
  FileError error = FileError::None;
  std::string detail;
  std::string raw;
  std::string deflated;
  bool hasRaw = false;
  bool hasDeflated = false;
  std::uint32_t crc = 0;
};

// What the writing thread knows of the entry it is writing.
struct Current {
  std::uint64_t headerOffset = 0;
  bool headerWritten = false;
  bool failed = false;
  std::uint32_t crc = 0;
  std::uint64_t size = 0;
  std::uint64_t compressedSize = 0;
};

class ArchiveRun {
 public:
  ArchiveRun(std::vector<PlannedEntry>& entries, platform::OutputFile& out,
             const WriterSettings& settings)
      : entries_(entries), out_(out), settings_(settings) {
    states_.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
      states_.push_back(std::make_unique<EntryState>());
    files_ = settings.files != nullptr ? settings.files : &platform::SystemFiles();
    blockSize_ = std::max<std::size_t>(settings.blockSize, 4096);
  }

  WriteResult Go() {
    WriteResult result;
    if (entries_.empty())
      return result;
    unsigned n = settings_.threads != 0 ? settings_.threads : std::thread::hardware_concurrency();
    n = std::max(1u, n);
    // Enough blocks in flight to keep every worker busy while the writer waits for the next in
    // order, but never more than the memory allows, whatever the number of processors.
    const std::size_t fit = static_cast<std::size_t>(kBlockMemory / (2 * blockSize_));
    window_ = std::max<std::size_t>(2, std::min<std::size_t>(4 * n + 4, fit));
    {
      std::vector<std::jthread> pool;
      // Declared after the pool, so it runs first on every way out and the workers can end.
      struct Stopper {
        ArchiveRun* run;
        ~Stopper() { run->stopWorkers(); }
      } stopper{this};
      for (unsigned i = 0; i < n; ++i)
        pool.emplace_back([this] { worker(); });
      result = writeAll();
    }
    return result;
  }

 private:
  void stopWorkers() {
    {
      std::lock_guard lock(m_);
      stop_ = true;
    }
    workCv_.notify_all();
  }

  bool cancelled() const { return settings_.cancel != nullptr && settings_.cancel->load(); }

  void tick(bool force) {
    const auto now = Clock::now();
    if (!force && now - lastTick_ < kTickInterval)
      return;
    lastTick_ = now;
    if (settings_.onTick)
      settings_.onTick(bytesDone_);
  }

  // ---- workers ----

  void worker() {
    PieceDeflater deflater(settings_.level > 0 ? settings_.level : 1);
    std::vector<Job> jobs;
    std::vector<BlockResult> results;
    for (bool last = false; !last;) {
      jobs.clear();
      results.clear();
      {
        std::unique_lock lock(m_);
        workCv_.wait(lock, [this] { return stop_ || allDispatched_ || roomForAnother(); });
        if (stop_ || allDispatched_)
          return;
        last = !dispatchSome(jobs);
      }
      for (Job& job : jobs) {
        BlockResult result;
        try {
          result = execute(std::move(job), deflater);
        } catch (const std::exception& e) {
          result.job = std::move(job);
          result.error = FileError::Other;
          result.detail = e.what();
        }
        result.job.file.reset();
        results.push_back(std::move(result));
      }
      if (!results.empty()) {
        std::lock_guard lock(m_);
        for (BlockResult& result : results) {
          const std::size_t seq = result.job.seq;
          results_.emplace(seq, std::move(result));
        }
      }
      doneCv_.notify_all();
    }
  }

  // Hands out the next blocks: one when it is large, several small ones at once (up to
  // kBatchBytes, leaving room for the other workers), since every hand-over between this worker
  // and the writer costs a wake-up of each (under Wine, round trips to its server), which for
  // small files cost more than the files themselves. False once there is nothing left to hand
  // out, after marking that. Under the lock.
  bool dispatchSome(std::vector<Job>& jobs) {
    const std::size_t most =
        std::max<std::size_t>(1, std::min<std::size_t>(kBatchJobs, window_ / 2));
    std::size_t bytes = 0;
    do {
      Job job;
      if (!dispatch(job)) {
        allDispatched_ = true;
        workCv_.notify_all();
        doneCv_.notify_all();
        return false;
      }
      bytes += job.length;
      jobs.push_back(std::move(job));
    } while (jobs.size() < most && bytes < kBatchBytes && roomForAnother());
    return true;
  }

  // Whether another block may be read: blocks read and not yet written are held in memory, so
  // their number is bounded (`window_`). Under the lock.
  bool roomForAnother() const { return nextSeq_ < writtenSeq_ + window_; }

  // Hands out the next block, opening the next file when its first block is due. Under the lock.
  bool dispatch(Job& job) {
    while (nextEntry_ < entries_.size()) {
      PlannedEntry& e = entries_[nextEntry_];
      EntryState& s = *states_[nextEntry_];
      job = Job{};
      job.entry = nextEntry_;
      if (!entryOpen_) {
        entryOpen_ = true;
        nextOffset_ = 0;
        if (e.kind == PlannedEntry::Kind::Folder) {
          job.first = job.last = true;
          job.seq = nextSeq_++;
          advanceEntry();
          return true;
        }
        if (e.kind == PlannedEntry::Kind::Kept) {
          s.size = e.record.compressedSize;
          s.method = e.record.method;
        } else {
          platform::OpenedFile opened = files_->Open(e.path);
          if (!opened.file) {
            job.first = job.last = true;
            job.openError = opened.error == FileError::None ? FileError::Other : opened.error;
            job.detail = std::move(opened.detail);
            job.seq = nextSeq_++;
            advanceEntry();
            return true;
          }
          s.size = opened.file->Info().size;
          s.modifiedTime = opened.file->Info().modifiedTime;
          s.file = std::move(opened.file);
          s.method = settings_.level <= 0 || e.storeOnly || s.size == 0 ? kStore : kUndecided;
        }
      }
      job.seq = nextSeq_++;
      job.offset = nextOffset_;
      job.first = nextOffset_ == 0;
      job.length =
          static_cast<std::size_t>(std::min<std::uint64_t>(blockSize_, s.size - nextOffset_));
      nextOffset_ += job.length;
      job.last = nextOffset_ >= s.size;
      job.file = s.file;
      if (job.last)
        advanceEntry();
      return true;
    }
    return false;
  }

  void advanceEntry() {
    ++nextEntry_;
    entryOpen_ = false;
  }

  BlockResult execute(Job job, PieceDeflater& deflater) {
    BlockResult r;
    r.job = std::move(job);
    const Job& j = r.job;
    const PlannedEntry& e = entries_[j.entry];
    EntryState& s = *states_[j.entry];
    if (j.openError != FileError::None) {
      r.error = j.openError;
      r.detail = j.detail;
      return r;
    }
    if (e.kind == PlannedEntry::Kind::Folder)
      return r;
    if (s.failed.load()) {
      r.error = FileError::ReadFailed;  // the entry is being dropped; this block is not needed
      return r;
    }
    if (e.kind == PlannedEntry::Kind::Kept) {
      r.raw = spareBuffer();
      r.raw.resize(j.length);
      std::size_t got = 0;
      r.error = settings_.oldArchive == nullptr
                    ? FileError::ReadFailed
                    : settings_.oldArchive->ReadAt(e.keptDataOffset + j.offset, r.raw, got);
      if (r.error == FileError::None && got != j.length)
        r.error = FileError::ReadFailed;
      r.hasRaw = true;
      return r;
    }
    const int method = s.method.load();
    std::string buffer = spareBuffer();
    buffer.resize(j.length);
    std::size_t got = 0;
    r.error = j.file->ReadAt(j.offset, buffer, got);
    if (r.error != FileError::None)
      return r;
    if (got != buffer.size()) {
      r.error = FileError::Changed;  // shorter than when it was opened
      return r;
    }
    r.crc = Crc32(0, buffer);
    if (method == kStore) {
      r.raw = std::move(buffer);
      r.hasRaw = true;
      return r;
    }
    r.deflated = spareBuffer();
    if (!deflater.Run(buffer, j.last, r.deflated)) {
      r.error = FileError::Other;
      r.detail = "compression failed";
      return r;
    }
    r.hasDeflated = true;
    bool keepRaw = method == kUndecided;
    if (method == kUndecided && j.first) {
      // The first block decides for the whole file.
      const bool store = TooLittleSaved(buffer.size(), r.deflated.size());
      s.method.store(store ? kStore : kDeflate);
      keepRaw = store;
      if (store) {
        r.deflated.clear();
        r.hasDeflated = false;
      }
    }
    if (keepRaw) {
      r.raw = std::move(buffer);
      r.hasRaw = true;
    }
    return r;
  }

  // Blocks' buffers are used again rather than freed: a fresh buffer of some MiB costs the
  // system a page fault per page and zero-filling, which came to a tenth of the run's time.
  // Their contents are not cleared: every use overwrites what it uses.
  std::string spareBuffer() {
    std::lock_guard lock(m_);
    if (spare_.empty())
      return {};
    std::string b = std::move(spare_.back());
    spare_.pop_back();
    return b;
  }

  void recycle(std::string&& b) {
    if (b.capacity() < blockSize_ / 2)
      return;
    std::lock_guard lock(m_);
    if (spare_.size() < 2 * window_)
      spare_.push_back(std::move(b));
  }

  // ---- the writing thread ----

  // The result with sequence number `seq`; nothing when 50 ms passed first, or when every block
  // has been written (`finished`).
  std::optional<BlockResult> take(std::size_t seq, bool& finished) {
    std::unique_lock lock(m_);
    const auto deadline = Clock::now() + kTickInterval;
    for (;;) {
      if (auto it = results_.find(seq); it != results_.end()) {
        BlockResult r = std::move(it->second);
        results_.erase(it);
        // Workers wait only when the window is full: wake them only then.
        const bool wasFull = !roomForAnother();
        writtenSeq_ = seq + 1;
        lock.unlock();
        if (wasFull)
          workCv_.notify_all();
        return r;
      }
      if (allDispatched_ && seq >= nextSeq_) {
        finished = true;
        return std::nullopt;
      }
      if (doneCv_.wait_until(lock, deadline) == std::cv_status::timeout)
        return std::nullopt;
    }
  }

  WriteResult writeAll() {
    WriteResult result;
    lastTick_ = Clock::now();
    for (std::size_t seq = 0;;) {
      if (cancelled()) {
        result.status = WriteStatus::Cancelled;
        return result;
      }
      bool finished = false;
      std::optional<BlockResult> r = take(seq, finished);
      if (finished)
        break;
      if (!r) {
        tick(true);
        continue;
      }
      ++seq;
      const FileError outError = handle(*r);
      recycle(std::move(r->raw));
      recycle(std::move(r->deflated));
      if (outError != FileError::None) {
        result.status = WriteStatus::OutputFailed;
        result.error = outError;
        return result;
      }
      tick(false);
    }
    if (central_.empty() && !settings_.writeEmpty)
      return result;
    if (const FileError err = writeFinalEntry(); err != FileError::None)
      return {WriteStatus::OutputFailed, 0, err};
    const std::uint64_t directoryOffset = out_.Position();
    std::string directory;
    for (const auto& record : central_) {
      directory += zipformat::CentralHeader(record);
      if (directory.size() >= (1u << 20)) {
        if (const FileError err = out_.Write(directory); err != FileError::None) {
          return {WriteStatus::OutputFailed, 0, err};
        }
        directory.clear();
      }
    }
    if (const FileError err = out_.Write(directory); err != FileError::None) {
      return {WriteStatus::OutputFailed, 0, err};
    }
    const std::uint64_t directorySize = out_.Position() - directoryOffset;
    if (const FileError err =
            out_.Write(zipformat::EndRecords(central_.size(), directoryOffset, directorySize));
        err != FileError::None) {
      return {WriteStatus::OutputFailed, 0, err};
    }
    result.status = WriteStatus::Written;
    result.entriesWritten = central_.size();
    return result;
  }

  FileError writeFinalEntry() {
    if (!settings_.finalEntry)
      return FileError::None;
    std::optional<MemoryEntry> last = settings_.finalEntry();
    if (!last)
      return FileError::None;
    last->record.localHeaderOffset = out_.Position();
    FileError err = out_.Write(zipformat::LocalHeader(last->record));
    if (err == FileError::None)
      err = out_.Write(last->data);
    if (err == FileError::None)
      central_.push_back(std::move(last->record));
    return err;
  }

  void releaseFile(std::size_t index) {
    std::lock_guard lock(m_);
    states_[index]->file.reset();
  }

  // Leaves the current entry out: cuts back what was written of it and reports why.
  FileError dropEntry(const BlockResult& r, FileError why, std::string detail) {
    const std::size_t index = r.job.entry;
    FileError outError = FileError::None;
    if (cur_.headerWritten)
      outError = out_.TruncateTo(cur_.headerOffset);
    cur_.failed = true;
    states_[index]->failed = true;
    if (entries_[index].kind == PlannedEntry::Kind::File) {
      bytesDone_ += states_[index]->size - std::min(states_[index]->size, cur_.size);
    }
    EntryOutcome outcome;
    outcome.index = index;
    outcome.error = why;
    outcome.detail = std::move(detail);
    outcome.failedWhileReading = r.job.openError == FileError::None;
    outcome.bytesDone = bytesDone_;
    if (outError == FileError::None && entries_[index].fallback) {
      outError = writeFallback(entries_[index], outcome.keptOld);
    }
    if (settings_.onEntry)
      settings_.onEntry(outcome);
    if (r.job.last)
      releaseFile(index);
    return outError;
  }

  // Copies the old entry a failed replacement was meant to replace. Rare, so done right here on
  // the writing thread.
  FileError writeFallback(const PlannedEntry& e, bool& kept) {
    kept = false;
    if (settings_.oldArchive == nullptr)
      return FileError::None;
    zipformat::EntryRecord record = *e.fallback;
    const std::uint64_t start = out_.Position();
    record.localHeaderOffset = start;
    FileError err = out_.Write(zipformat::LocalHeader(record));
    std::string chunk;
    for (std::uint64_t done = 0; err == FileError::None && done < record.compressedSize;) {
      chunk.resize(static_cast<std::size_t>(
          std::min<std::uint64_t>(blockSize_, record.compressedSize - done)));
      std::size_t got = 0;
      if (settings_.oldArchive->ReadAt(e.fallbackDataOffset + done, chunk, got) !=
              FileError::None ||
          got != chunk.size()) {
        // The old archive cannot be read either: the entry is lost from this run only; the old
        // archive itself stays on disk until the new one is committed.
        return out_.TruncateTo(start);
      }
      err = out_.Write(chunk);
      done += got;
    }
    if (err == FileError::None) {
      central_.push_back(record);
      kept = true;
    }
    return err;
  }

  FileError entryDone(std::size_t index, zipformat::EntryRecord& record) {
    central_.push_back(record);
    EntryOutcome outcome;
    outcome.index = index;
    outcome.written = true;
    outcome.record = &central_.back();
    outcome.bytesDone = bytesDone_;
    if (settings_.onEntry)
      settings_.onEntry(outcome);
    releaseFile(index);
    return FileError::None;
  }

  FileError handle(BlockResult& r) {
    const std::size_t index = r.job.entry;
    PlannedEntry& e = entries_[index];
    EntryState& s = *states_[index];
    if (r.job.first)
      cur_ = Current{};
    if (cur_.failed) {
      if (r.job.last)
        releaseFile(index);
      return FileError::None;
    }
    if (r.error != FileError::None)
      return dropEntry(r, r.error, r.detail);

    zipformat::EntryRecord& record = e.record;
    const bool isFile = e.kind == PlannedEntry::Kind::File;
    if (r.job.first) {
      record.localHeaderOffset = out_.Position();
      if (e.kind == PlannedEntry::Kind::Folder) {
        record.method = zipformat::kStored;
        record.crc = 0;
        record.size = record.compressedSize = 0;
        if (const FileError err = out_.Write(zipformat::LocalHeader(record));
            err != FileError::None) {
          return err;
        }
        return entryDone(index, record);
      }
      if (isFile) {
        record.method = static_cast<std::uint16_t>(s.method.load() == kDeflate ? kDeflate : kStore);
        record.zip64InLocal = s.size >= kZip64LocalThreshold;
        // The time of the content read, which may be newer than when the list was made.
        const zipformat::DosTime t = zipformat::ToDosTime(s.modifiedTime);
        record.dosTime = t.time;
        record.dosDate = t.date;
        record.unixTime = s.modifiedTime;
        record.crc = 0;
        record.size = record.compressedSize = 0;
      }
      cur_.headerOffset = record.localHeaderOffset;
      cur_.headerWritten = true;
      if (const FileError err = out_.Write(zipformat::LocalHeader(record));
          err != FileError::None) {
        return err;
      }
    }

    const bool useRaw = !isFile || record.method == zipformat::kStored;
    if (useRaw ? !r.hasRaw : !r.hasDeflated) {
      return dropEntry(r, FileError::Other, "internal error: block data missing");
    }
    const std::string& data = useRaw ? r.raw : r.deflated;
    if (const FileError err = out_.Write(data); err != FileError::None)
      return err;
    cur_.compressedSize += data.size();
    if (isFile) {
      cur_.crc = r.job.first ? r.crc
                             : static_cast<std::uint32_t>(crc32_combine(
                                   cur_.crc, r.crc, static_cast<z_off_t>(r.job.length)));
      cur_.size += r.job.length;
      bytesDone_ += r.job.length;
    }
    if (!r.job.last)
      return FileError::None;

    if (isFile) {
      platform::FileInfo now;
      const bool unchanged = s.file && s.file->Restat(now) == FileError::None &&
                             now.size == s.size && now.modifiedTime == s.modifiedTime &&
                             cur_.size == s.size;
      const bool fits = record.zip64InLocal ||
                        (cur_.size < zipformat::kMax32 && cur_.compressedSize < zipformat::kMax32);
      if (!unchanged || !fits)
        return dropEntry(r, FileError::Changed, {});
      record.crc = cur_.crc;
      record.size = cur_.size;
      record.compressedSize = cur_.compressedSize;
      if (const FileError err = out_.WriteAt(cur_.headerOffset, zipformat::LocalHeader(record));
          err != FileError::None) {
        return err;
      }
    }
    return entryDone(index, record);
  }

  std::vector<PlannedEntry>& entries_;
  platform::OutputFile& out_;
  const WriterSettings& settings_;
  const platform::FileSource* files_ = nullptr;
  std::size_t blockSize_ = 1 << 20;
  std::vector<std::unique_ptr<EntryState>> states_;

  platform::Mutex m_;
  platform::ConditionVariable workCv_;
  platform::ConditionVariable doneCv_;
  std::map<std::size_t, BlockResult> results_;
  std::vector<std::string> spare_;  // buffers of written blocks, for use again
  std::size_t window_ = 8;
  std::size_t nextSeq_ = 0;
  std::size_t writtenSeq_ = 0;
  std::size_t nextEntry_ = 0;
  std::uint64_t nextOffset_ = 0;
  bool entryOpen_ = false;
  bool allDispatched_ = false;
  bool stop_ = false;

  // Used by the writing thread only.
  Current cur_;
  std::vector<zipformat::EntryRecord> central_;
  std::uint64_t bytesDone_ = 0;
  Clock::time_point lastTick_;
};

}  // namespace

WriteResult WriteArchive(std::vector<PlannedEntry>& entries, platform::OutputFile& out,
                         const WriterSettings& settings) {
  ArchiveRun run(entries, out, settings);
  return run.Go();
}

}  // namespace tarnwick
