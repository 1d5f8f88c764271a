// Builds small ZIP archives for the restore tests, entry by entry, with whatever names, link
// entries and manifests a test needs (hostile ones included), from the engine's own header
// writers. Entries are stored (not deflated) unless a test asks for deflate.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/common/escaped_name.h"
#include "core/export/zip_format.h"
#include "support/temp_dir.h"

namespace tarnwick::test {

struct TestEntry {
  std::string name;
  std::string data;
  std::int64_t unixTime = 1600000000;
  bool symlink = false;  // a Unix symbolic link entry whose data is the link's target
  bool deflate = false;
};

inline std::uint32_t Crc32(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

inline std::string Deflated(std::string_view bytes) {
  z_stream z{};
  deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  z.avail_in = static_cast<uInt>(bytes.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// The bytes of an archive holding `entries` in that order.
inline std::string BuildZip(const std::vector<TestEntry>& entries) {
  std::string zip;
  std::string central;
  for (const auto& e : entries) {
    zipformat::EntryRecord r;
    r.name = e.name;
    r.unixTime = e.unixTime;
    const auto dos = zipformat::ToDosTime(e.unixTime);
    r.dosTime = dos.time;
    r.dosDate = dos.date;
    r.crc = Crc32(e.data);
    r.size = e.data.size();
    const std::string body = e.deflate ? Deflated(e.data) : e.data;
    r.method = e.deflate ? zipformat::kDeflated : zipformat::kStored;
    r.compressedSize = body.size();
    r.localHeaderOffset = zip.size();
    r.externalAttributes = (e.symlink ? 0120777u : 0100644u) << 16;
    zip += zipformat::LocalHeader(r);
    zip += body;
    central += zipformat::CentralHeader(r);
  }
  const std::uint64_t dirOffset = zip.size();
  zip += central;
  zip += zipformat::EndRecords(entries.size(), dirOffset, central.size());
  return zip;
}

// One file of a manifest: its exact original path (escaped when written), entry name and data.
struct ManifestTestFile {
  std::string originalPath;  // exact bytes
  std::string entryName;
  std::string data;
  std::int64_t modified = 1600000000;
};

inline std::string EscapeForTest(std::string_view bytes) {
  return EscapeName(bytes);
}

inline std::string UtcText(std::int64_t t) {
  const std::int64_t days = t / 86400, secs = t % 86400;
  // Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02dZ", static_cast<int>(y),
                static_cast<int>(m), static_cast<int>(d), static_cast<int>(secs / 3600),
                static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
  return buf;
}

struct ManifestHeader {
  std::string computer = "OLDPC";
  std::string system = "Windows";
  std::string home = "C:\\Users\\alice";
  std::string scanFolder = "C:\\";
  std::vector<std::pair<std::string, std::string>> knownFolders;
  int part = 1, partCount = 1;
};

inline std::string ManifestText(const ManifestHeader& h,
                                const std::vector<ManifestTestFile>& files) {
  std::string t = "Tarnwick manifest 1\nProgram: Tarnwick 0.3.0\nComputer: " + h.computer +
                  "\nUser: alice\nSystem: " + h.system + "\nHome: " + EscapeForTest(h.home) + "\n";
  for (const auto& [name, path] : h.knownFolders)
    t += "Known folder: " + name + "\t" + EscapeForTest(path) + "\n";
  t += "Created: 2026-12-10T11:20:05Z\nScan folder: " + EscapeForTest(h.scanFolder) +
       "\nPatterns: *.doc\nSome later key: ignored\nPart: " + std::to_string(h.part) + " of " +
       std::to_string(h.partCount) + "\nFiles in this part: " + std::to_string(files.size()) +
       "\n\n[files]\nsize\tmodified\tcrc32\tentry name\toriginal path\n";
  for (const auto& f : files) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08X", Crc32(f.data));
    t += std::to_string(f.data.size()) + "\t" + UtcText(f.modified) + "\t" + crc + "\t" +
         EscapeForTest(f.entryName) + "\t" + EscapeForTest(f.originalPath) + "\n";
  }
  t += "\n[not gathered]\noriginal path\treason\nC:\\x.pst\tin use by another program\n";
  t += "\n[a later section]\nwhatever\tit\tholds\n";
  return t;
}

// An archive made as Tarnwick makes it: the manifest first, then each file's entry.
inline std::string BuildTarnwickZip(const ManifestHeader& h,
                                    const std::vector<ManifestTestFile>& files) {
  std::vector<TestEntry> entries;
  entries.push_back({"tarnwick-manifest.txt", ManifestText(h, files)});
  for (const auto& f : files)
    entries.push_back({f.entryName, f.data, f.modified, false, true});
  return BuildZip(entries);
}

inline std::filesystem::path WriteZip(const TempDir& dir, std::string_view rel,
                                      const std::string& bytes) {
  return dir.write(rel, bytes);
}

}  // namespace tarnwick::test
