#include "core/export/zip_verify.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <unordered_map>

#include "core/export/zip_reader.h"

namespace tarnwick {

VerifyResult VerifyArchive(std::unique_ptr<platform::InputFile> file,
                           const std::vector<zipformat::EntryRecord>& written,
                           const VerifyControl& control) {
  VerifyResult result;
  std::string error;
  const auto reader = zipformat::ZipReader::Open(std::move(file), error);
  if (!reader) {
    result.failure = error;
    return result;
  }
  const auto& listed = reader->Entries();
  // Each written entry must be listed exactly once, with what was written.
  std::unordered_map<std::string, std::size_t> byName;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    if (!byName.emplace(listed[i].record.name, i).second)
      result.damaged.push_back({listed[i].record.name, "listed twice in the directory"});
  }
  if (listed.size() != written.size() && result.damaged.empty()) {
    result.failure = "the directory lists " + std::to_string(listed.size()) + " entries, not " +
                     std::to_string(written.size());
  }
  std::vector<std::size_t> toRead;
  for (const auto& w : written) {
    const auto it = byName.find(w.name);
    if (it == byName.end()) {
      result.damaged.push_back({w.name, "missing from the directory"});
      continue;
    }
    const auto& r = listed[it->second].record;
    if (r.size != w.size || r.compressedSize != w.compressedSize || r.crc != w.crc ||
        r.method != w.method) {
      result.damaged.push_back({w.name, "listed with other sizes or CRC-32"});
      continue;
    }
    toRead.push_back(it->second);
  }

  // Every thread takes the next unread entry until none is left. Only the calling thread
  // reports progress (the front end's hook may pump its window), from the shared count.
  std::vector<zipformat::EntryStatus> statuses(toRead.size(), zipformat::EntryStatus::Ok);
  std::atomic<std::size_t> next{0};
  std::atomic<std::uint64_t> done{0};
  std::atomic<bool> stop{false};
  const auto work = [&](bool reports) {
    for (std::size_t k = next++; k < toRead.size() && !stop.load(); k = next++) {
      statuses[k] = reader->ReadEntry(toRead[k], [&](std::string_view bytes) {
        const std::uint64_t now = done += bytes.size();
        if (reports && control.progress)
          control.progress(now);
        if (control.cancel != nullptr && control.cancel->load())
          stop = true;
        return !stop.load();
      });
    }
  };
  unsigned threads = control.threads != 0 ? control.threads : std::thread::hardware_concurrency();
  threads = static_cast<unsigned>(
      std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(toRead.size(), 1)));
  {
    std::atomic<unsigned> busy{threads - 1};
    std::vector<std::jthread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
      helpers.emplace_back([&] {
        work(false);
        --busy;
      });
    }
    work(true);
    // The other threads may still be inflating large entries: keep reporting (and so keep the
    // window alive) and passing on a cancel until they are done.
    while (busy.load() != 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      if (control.progress)
        control.progress(done.load());
      if (control.cancel != nullptr && control.cancel->load())
        stop = true;
    }
  }
  if (stop.load()) {
    result.cancelled = true;
    return result;
  }
  for (std::size_t k = 0; k < toRead.size(); ++k) {
    if (statuses[k] != zipformat::EntryStatus::Ok)
      result.damaged.push_back({listed[toRead[k]].record.name, zipformat::Describe(statuses[k])});
  }
  result.ok = result.failure.empty() && result.damaged.empty();
  return result;
}

}  // namespace tarnwick
