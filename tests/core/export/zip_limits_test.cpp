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

TEST(ZipLimitsTest, EntryOver4GiBFromASparseFile) {
  ResetProcessState();
  TempDir dir;
  const auto big = dir / "big.pst";
  const std::uint64_t size = (4ull << 30) + (3 << 20) + 12345;
  {
    // Mostly a hole, with data at both ends so that misplaced blocks would change the CRC.
    platform::UniqueFd fd(::open(big.c_str(), O_CREAT | O_WRONLY, 0644));
    ASSERT_TRUE(fd);
    const std::string head = test::TextBytes(100000), tail = test::RandomBytes(70000);
    ASSERT_EQ(::pwrite(fd.get(), head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    ASSERT_EQ(::pwrite(fd.get(), tail.data(), tail.size(), static_cast<off_t>(size - tail.size())),
              static_cast<ssize_t>(tail.size()));
  }
  const auto small = dir.write("after.txt", "the entry after the big one");
  ZipReport report;
  ASSERT_EQ(
      RunZip((dir / "big.zip").string(), {big.string(), small.string()}, ZipOptions{}, {}, &report),
      kZipOk)
      << LastZipMessage;
  ASSERT_EQ(report.archived.size(), 2u);
  EXPECT_EQ(report.archived[0].size, size);
  EXPECT_EQ(test::CheckWithAllReaders(dir / "big.zip",
                                      {{test::FullEntryName(big), size, std::nullopt, std::nullopt},
                                       {test::FullEntryName(small), 27, std::nullopt, small}}),
            "");

  // The CRC stored is that of the file's bytes (unzip -t and 7z t checked the data against it).
  uLong crc = crc32(0, nullptr, 0);
  {
    platform::UniqueFd fd(::open(big.c_str(), O_RDONLY));
    std::string buf(1 << 22, '\0');
    for (ssize_t n; (n = ::read(fd.get(), buf.data(), buf.size())) > 0;) {
      crc = crc32_z(crc, reinterpret_cast<const Bytef*>(buf.data()), static_cast<size_t>(n));
    }
  }
  const auto listed = test::RunCommand(
      "python3 -c \"import zipfile,sys; print(zipfile.ZipFile(sys.argv[1]).infolist()[0].CRC)\" " +
      test::Quote((dir / "big.zip").string()));
  EXPECT_EQ(listed.output, std::to_string(crc) + "\n");
}

}  // namespace
}  // namespace tarnwick
