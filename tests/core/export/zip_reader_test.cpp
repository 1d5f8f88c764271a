// The archive reader: entries listed from the directory, data streamed back with size and CRC
// checked, damage reported rather than handed out as good data; and the end records at the
// Zip64 boundary, read back.
#include <gtest/gtest.h>

#include <fstream>

#include "core/common/process_state.h"
#include "core/export/export_fixtures.h"
#include "core/export/zip_engine.h"
#include "core/export/zip_format.h"
#include "core/export/zip_reader.h"

namespace tarnwick {
namespace {

using test::TempDir;
using zipformat::EntryStatus;
using zipformat::ZipReader;

std::string readAll(const ZipReader& reader, std::size_t i, EntryStatus& status,
                    std::size_t* pieces = nullptr) {
  std::string data;
  status = reader.ReadEntry(i, [&](std::string_view bytes) {
    EXPECT_LE(bytes.size(), 256u * 1024u);
    data.append(bytes);
    if (pieces != nullptr)
      ++*pieces;
    return true;
  });
  return data;
}

void flipByte(const std::filesystem::path& p, std::uint64_t offset) {
  std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
  f.seekg(static_cast<std::streamoff>(offset));
  char c = 0;
  f.get(c);
  f.seekp(static_cast<std::streamoff>(offset));
  f.put(static_cast<char>(c ^ 0x5A));
}

class ZipReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProcessState();
    contents = {test::TextBytes(3 << 20), test::RandomBytes(300000), ""};
    for (std::size_t i = 0; i < contents.size(); ++i)
      names.push_back(dir.write("f" + std::to_string(i) + ".doc", contents[i]).string());
    ASSERT_EQ(RunZip(archive.string(), names, ZipOptions{}), kZipOk);
  }
  void TearDown() override { ResetProcessState(); }

  TempDir dir;
  std::filesystem::path archive = dir / "a.zip";
  std::vector<std::string> contents, names;
};

TEST_F(ZipReaderTest, ListsAndStreamsEveryEntryBackExactly) {
  std::string error;
  auto reader = ZipReader::OpenPath(archive.string(), error);
  ASSERT_TRUE(reader) << error;
  ASSERT_EQ(reader->Entries().size(), contents.size());
  for (std::size_t i = 0; i < contents.size(); ++i) {
    EXPECT_EQ(reader->Entries()[i].record.name, test::FullEntryName(names[i]));
    EntryStatus status{};
    std::size_t pieces = 0;
    EXPECT_EQ(readAll(*reader, i, status, &pieces), contents[i]) << i;
    EXPECT_EQ(status, EntryStatus::Ok) << i;
    if (i == 0) {
      EXPECT_GT(pieces, 10u);  // streamed in pieces, never whole
    }
  }
  EXPECT_EQ(reader->Entries()[0].record.method, zipformat::kDeflated);
  EXPECT_EQ(reader->Entries()[1].record.method, zipformat::kStored);
}

TEST_F(ZipReaderTest, ADamagedByteIsReportedNotHandedOutAsGood) {
  std::string error;
  std::uint64_t deflatedAt = 0, storedAt = 0;
  {
    auto reader = ZipReader::OpenPath(archive.string(), error);
    ASSERT_TRUE(reader);
    deflatedAt = reader->Entries()[0].dataOffset + 5000;
    storedAt = reader->Entries()[1].dataOffset + 1234;
  }
  flipByte(archive, deflatedAt);
  flipByte(archive, storedAt);
  auto reader = ZipReader::OpenPath(archive.string(), error);
  ASSERT_TRUE(reader) << error;
  EntryStatus status{};
  readAll(*reader, 0, status);
  EXPECT_TRUE(status == EntryStatus::BadData || status == EntryStatus::CrcMismatch ||
              status == EntryStatus::SizeMismatch)
      << zipformat::Describe(status);
  readAll(*reader, 1, status);
  EXPECT_EQ(status, EntryStatus::CrcMismatch);
  readAll(*reader, 2, status);
  EXPECT_EQ(status, EntryStatus::Ok);
}

TEST_F(ZipReaderTest, ATruncatedArchiveDoesNotOpen) {
  std::filesystem::resize_file(archive, std::filesystem::file_size(archive) - 10);
  std::string error;
  EXPECT_FALSE(ZipReader::OpenPath(archive.string(), error));
  EXPECT_FALSE(error.empty());
}

// Builds an archive of `count` empty stored entries straight from the header functions.
std::string archiveOfEmptyEntries(std::uint64_t count) {
  std::string bytes, directory;
  for (std::uint64_t i = 0; i < count; ++i) {
    zipformat::EntryRecord e;
    e.name = "e" + std::to_string(i);
    e.localHeaderOffset = bytes.size();
    bytes += zipformat::LocalHeader(e);
    directory += zipformat::CentralHeader(e);
  }
  const std::uint64_t dirOffset = bytes.size();
  bytes += directory;
  bytes += zipformat::EndRecords(count, dirOffset, directory.size());
  return bytes;
}

// The classic end record holds at most 65,534 entries; 65,535 (its "see Zip64" value) and more
// need the Zip64 end record and its locator.
TEST(ZipEndRecordsTest, Zip64FromExactly65535Entries) {
  const auto hasZip64 = [](const std::string& end) {
    return end.find(std::string("PK\x06\x06", 4)) != std::string::npos &&
           end.find(std::string("PK\x06\x07", 4)) != std::string::npos;
  };
  EXPECT_FALSE(hasZip64(zipformat::EndRecords(65534, 1000, 1000)));
  EXPECT_TRUE(hasZip64(zipformat::EndRecords(65535, 1000, 1000)));
  EXPECT_TRUE(hasZip64(zipformat::EndRecords(65536, 1000, 1000)));
  EXPECT_TRUE(hasZip64(zipformat::EndRecords(3, 0xFFFFFFFFull, 10)));
  EXPECT_TRUE(hasZip64(zipformat::EndRecords(3, 10, 0xFFFFFFFFull)));

  TempDir dir;
  for (const std::uint64_t count : {65534u, 65535u}) {
    const auto path = dir.write("n" + std::to_string(count) + ".zip", archiveOfEmptyEntries(count));
    std::string error;
    auto reader = ZipReader::OpenPath(path.string(), error);
    ASSERT_TRUE(reader) << error;
    EXPECT_EQ(reader->Entries().size(), count);
    EXPECT_EQ(reader->Entries().back().record.name, "e" + std::to_string(count - 1));
    const auto listed = test::RunCommand("unzip -l " + test::Quote(path.string()) + " | tail -1");
    EXPECT_NE(listed.output.find(std::to_string(count) + " file"), std::string::npos)
        << listed.output;
  }
}

}  // namespace
}  // namespace tarnwick
