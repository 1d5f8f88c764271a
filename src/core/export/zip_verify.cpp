#include "core/export/zip_verify.h"

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

  std::uint64_t done = 0;
  for (const std::size_t i : toRead) {
    std::uint64_t entryDone = 0;
    const auto status = reader->ReadEntry(i, [&](std::string_view bytes) {
      entryDone += bytes.size();
      if (control.progress)
        control.progress(done + entryDone);
      return control.cancel == nullptr || !control.cancel->load();
    });
    done += listed[i].record.size;
    if (status == zipformat::EntryStatus::Stopped) {
      result.cancelled = true;
      return result;
    }
    if (status != zipformat::EntryStatus::Ok)
      result.damaged.push_back({listed[i].record.name, zipformat::Describe(status)});
  }
  result.ok = result.failure.empty() && result.damaged.empty();
  return result;
}

}  // namespace tarnwick
