// Archives past the classic ZIP limits: more than 65,535 entries and an entry over 4 GiB. Slow
// (label "slow"), but run in CI: Zip64 is what lets any number and size of files be exported.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fcntl.h>
#include <unistd.h>

#include "core/common/process_state.h"
#include "core/export/cgzip_files.h"
#include "core/export/export_fixtures.h"
#include "core/export/zip_state.h"
#include "core/platform/unique_fd.h"

namespace tarnwick {
namespace {

using test::TempDir;

TEST(ZipLimitsTest, MoreThan65535EntriesThroughTheBuilder) {
  ResetProcessState();
  TempDir dir;
  constexpr int kFolders = 70, kPerFolder = 1000;
  std::vector<test::ExpectedEntry> expected;
  CGZipFiles zip;
  zip.SetZipFileName((dir / "many.zip").string());
  for (int f = 0; f < kFolders; ++f) {
    const auto folder = dir.mkdir("d" + std::to_string(f));
    for (int i = 0; i < kPerFolder; ++i) {
      const auto p = folder / ("f" + std::to_string(i) + ".doc");
      platform::UniqueFd fd(::open(p.c_str(), O_CREAT | O_WRONLY, 0644));
      ASSERT_TRUE(fd);
      zip.AddFile(p.string());
      expected.push_back({test::FullEntryName(p), 0, std::nullopt, std::nullopt});
    }
  }
  ASSERT_EQ(zip.ZipFileCount(), kFolders * kPerFolder);
  ASSERT_EQ(zip.MakeZipFile(), kZipOk) << LastZipMessage.substr(0, 500);
  EXPECT_EQ(zip.LastReport().archived.size(), expected.size());
  EXPECT_EQ(test::CheckWithAllReaders(dir / "many.zip", expected), "");
}

// Writes a sparse file of `size` bytes, mostly a hole, with data at both ends so that misplaced
// blocks would change the CRC. Returns the file's CRC-32, worked out without reading it back.
std::uint32_t writeSparse(const std::filesystem::path& p, std::uint64_t size) {
  platform::UniqueFd fd(::open(p.c_str(), O_CREAT | O_WRONLY, 0644));
  const std::string head = test::TextBytes(100000), tail = test::RandomBytes(70000);
  EXPECT_EQ(::pwrite(fd.get(), head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
  EXPECT_EQ(::pwrite(fd.get(), tail.data(), tail.size(), static_cast<off_t>(size - tail.size())),
            static_cast<ssize_t>(tail.size()));
  const auto crcOf = [](const std::string& bytes) {
    return crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
  };
  const std::string zeros(1 << 20, '\0');
  const uLong zerosCrc = crcOf(zeros);
  uLong crc = crcOf(head);
  std::uint64_t hole = size - head.size() - tail.size();
  for (; hole >= zeros.size(); hole -= zeros.size()) {
    crc = crc32_combine(crc, zerosCrc, static_cast<z_off_t>(zeros.size()));
  }
  crc = crc32_combine(crc, crcOf(std::string(hole, '\0')), static_cast<z_off_t>(hole));
  return static_cast<std::uint32_t>(
      crc32_combine(crc, crcOf(tail), static_cast<z_off_t>(tail.size())));
}

// One deflated entry over 4 GiB (split into blocks, CRCs combined), one stored entry over 4 GiB
// (so the archive passes 4 GiB and the entries after it lie beyond 32-bit offsets, as does the
// central directory), and a small entry at the end.
TEST(ZipLimitsTest, EntriesOver4GiBAndAnArchiveOver4GiB) {
  ResetProcessState();
  TempDir dir;
  const auto mail = dir / "big.pst";
  const auto video = dir / "big.mp4";
  const std::uint64_t mailSize = (4ull << 30) + (3 << 20) + 12345;
  const std::uint64_t videoSize = (4ull << 30) + 4321;
  const std::uint32_t mailCrc = writeSparse(mail, mailSize);
  const std::uint32_t videoCrc = writeSparse(video, videoSize);
  const auto small = dir.write("after.txt", "the entry after the big ones");
  const auto archive = dir / "big.zip";
  ZipReport report;
  ASSERT_EQ(RunZip(archive.string(), {mail.string(), video.string(), small.string()}, ZipOptions{},
                   {}, &report),
            kZipOk)
      << LastZipMessage;
  ASSERT_EQ(report.archived.size(), 3u);
  EXPECT_TRUE(report.archived[0].deflated);
  EXPECT_FALSE(report.archived[1].deflated);
  EXPECT_GT(std::filesystem::file_size(archive), 4ull << 30);
  EXPECT_EQ(test::CheckWithAllReaders(
                archive, {{test::FullEntryName(mail), mailSize, std::nullopt, std::nullopt},
                          {test::FullEntryName(video), videoSize, std::nullopt, std::nullopt},
                          {test::FullEntryName(small), 28, std::nullopt, small}}),
            "");

  // The CRCs stored are those of the files' bytes (unzip -t and 7z t checked the data against
  // them).
  const auto listed = test::RunCommand(
      "python3 -c \"import zipfile,sys; print(*[i.CRC for i in "
      "zipfile.ZipFile(sys.argv[1]).infolist()[:2]])\" " +
      test::Quote(archive.string()));
  EXPECT_EQ(listed.output, std::to_string(mailCrc) + " " + std::to_string(videoCrc) + "\n");
}

}  // namespace
}  // namespace tarnwick
