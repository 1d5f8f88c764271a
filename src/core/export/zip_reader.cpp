#include "core/export/zip_reader.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <memory>

namespace tarnwick::zipformat {
namespace {

constexpr std::size_t kPiece = 256 * 1024;
// Deflated entries up to this size (compressed and uncompressed) are read whole and inflated in
// one call with libdeflate, about three times faster than zlib's streaming inflate; larger ones
// stream through zlib, so memory stays bounded however large an entry is.
constexpr std::uint64_t kWholeEntry = 16 << 20;

struct FreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// The inflate state, ended whatever way the read leaves.
class Inflater {
 public:
  Inflater() { ok_ = inflateInit2(&z_, -MAX_WBITS) == Z_OK; }
  ~Inflater() {
    if (ok_)
      inflateEnd(&z_);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;
  bool ok() const { return ok_; }
  z_stream& z() { return z_; }

 private:
  z_stream z_{};
  bool ok_ = false;
};

// Counts and checksums what goes to the sink.
struct Checked {
  const ZipReader::Sink& sink;
  std::uint64_t size = 0;
  std::uint32_t crc = 0;
  bool give(std::string_view bytes) {
    size += bytes.size();
    crc = libdeflate_crc32(crc, bytes.data(), bytes.size());
    return !sink || sink(bytes);
  }
  // Hands `bytes` out in pieces of at most kPiece.
  bool giveInPieces(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size(); at += kPiece) {
      if (!give(bytes.substr(at, kPiece)))
        return false;
    }
    return true;
  }
};

// Inflates a whole deflate stream held in memory into exactly `size` bytes.
EntryStatus InflateWhole(std::string_view in, std::uint64_t size, Checked& out) {
  const std::unique_ptr<libdeflate_decompressor, FreeDecompressor> d(
      libdeflate_alloc_decompressor());
  if (!d)
    return EntryStatus::ReadFailed;
  const auto buffer = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
  std::size_t used = 0;
  std::size_t produced = 0;
  switch (libdeflate_deflate_decompress_ex(d.get(), in.data(), in.size(), buffer.get(),
                                           static_cast<std::size_t>(size), &used, &produced)) {
    case LIBDEFLATE_SUCCESS:
      break;
    case LIBDEFLATE_INSUFFICIENT_SPACE:
      return EntryStatus::SizeMismatch;  // it decodes to more than the directory says
    default:
      return EntryStatus::BadData;
  }
  if (used != in.size())
    return EntryStatus::BadData;  // data after the end of the stream
  if (!out.giveInPieces(std::string_view(buffer.get(), produced)))
    return EntryStatus::Stopped;
  return EntryStatus::Ok;
}

}  // namespace

const char* Describe(EntryStatus status) {
  switch (status) {
    case EntryStatus::Ok:
      return "correct";
    case EntryStatus::ReadFailed:
      return "could not be read";
    case EntryStatus::BadData:
      return "compressed data damaged";
    case EntryStatus::SizeMismatch:
      return "size does not match";
    case EntryStatus::CrcMismatch:
      return "CRC-32 does not match";
    case EntryStatus::Unsupported:
      return "compression method not supported";
    case EntryStatus::Stopped:
      return "stopped";
  }
  return "unknown";
}

std::unique_ptr<ZipReader> ZipReader::Open(std::unique_ptr<platform::InputFile> file,
                                           std::string& error) {
  if (!file) {
    error = "no archive";
    return nullptr;
  }
  std::vector<ExistingEntry> entries;
  if (!ReadDirectory(*file, entries, error))
    return nullptr;
  return std::unique_ptr<ZipReader>(new ZipReader(std::move(file), std::move(entries)));
}

std::unique_ptr<ZipReader> ZipReader::OpenPath(const std::string& path, std::string& error,
                                               const platform::FileSource* files) {
  const platform::FileSource& source = files != nullptr ? *files : platform::SystemFiles();
  platform::OpenedFile opened = source.Open(path);
  if (!opened.file) {
    error = opened.detail.empty() ? platform::Describe(opened.error) : opened.detail;
    return nullptr;
  }
  return Open(std::move(opened.file), error);
}

EntryStatus ZipReader::ReadEntry(std::size_t index, const Sink& sink) const {
  const ExistingEntry& entry = entries_.at(index);
  const EntryRecord& r = entry.record;
  if ((r.flags & 0x0001) != 0 || (r.method != kStored && r.method != kDeflated))
    return EntryStatus::Unsupported;
  if (r.method == kStored && r.compressedSize != r.size)
    return EntryStatus::SizeMismatch;

  Checked out{sink};
  if (r.method == kDeflated && r.size <= kWholeEntry && r.compressedSize <= kWholeEntry) {
    std::string in(static_cast<std::size_t>(r.compressedSize), '\0');
    std::size_t got = 0;
    if (file_->ReadAt(entry.dataOffset, std::span<char>(in.data(), in.size()), got) !=
            platform::FileError::None ||
        got != in.size()) {
      return EntryStatus::ReadFailed;
    }
    if (const EntryStatus status = InflateWhole(in, r.size, out); status != EntryStatus::Ok)
      return status;
    return out.size != r.size ? EntryStatus::SizeMismatch
           : out.crc != r.crc ? EntryStatus::CrcMismatch
                              : EntryStatus::Ok;
  }
  std::string in(static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, r.compressedSize)), '\0');
  std::uint64_t offset = entry.dataOffset;
  std::uint64_t left = r.compressedSize;

  if (r.method == kStored) {
    while (left > 0) {
      const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPiece));
      std::size_t got = 0;
      if (file_->ReadAt(offset, std::span<char>(in.data(), want), got) !=
              platform::FileError::None ||
          got != want) {
        return EntryStatus::ReadFailed;
      }
      if (!out.give(std::string_view(in.data(), want)))
        return EntryStatus::Stopped;
      offset += want;
      left -= want;
    }
  } else {
    Inflater inflater;
    if (!inflater.ok())
      return EntryStatus::ReadFailed;
    z_stream& z = inflater.z();
    std::string buffer(kPiece, '\0');
    bool ended = false;
    while (!ended) {
      if (z.avail_in == 0) {
        if (left == 0)
          return EntryStatus::BadData;  // the stream needs more than the entry holds
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, kPiece));
        std::size_t got = 0;
        if (file_->ReadAt(offset, std::span<char>(in.data(), want), got) !=
                platform::FileError::None ||
            got != want) {
          return EntryStatus::ReadFailed;
        }
        offset += want;
        left -= want;
        z.next_in = reinterpret_cast<Bytef*>(in.data());
        z.avail_in = static_cast<uInt>(want);
      }
      z.next_out = reinterpret_cast<Bytef*>(buffer.data());
      z.avail_out = static_cast<uInt>(buffer.size());
      const int rc = inflate(&z, Z_NO_FLUSH);
      if (rc == Z_STREAM_END)
        ended = true;
      else if (rc != Z_OK && rc != Z_BUF_ERROR)
        return EntryStatus::BadData;
      const std::size_t produced = buffer.size() - z.avail_out;
      if (out.size + produced > r.size)
        return EntryStatus::SizeMismatch;  // stop before handing out more than was promised
      if (produced > 0 && !out.give(std::string_view(buffer.data(), produced)))
        return EntryStatus::Stopped;
    }
    if (z.avail_in != 0 || left != 0)
      return EntryStatus::BadData;  // data after the end of the stream
  }
  if (out.size != r.size)
    return EntryStatus::SizeMismatch;
  if (out.crc != r.crc)
    return EntryStatus::CrcMismatch;
  return EntryStatus::Ok;
}

std::string ZipReader::ReadEntryText(std::size_t index, EntryStatus& status) const {
  std::string text;
  status = ReadEntry(index, [&text](std::string_view bytes) {
    text.append(bytes);
    return true;
  });
  if (status != EntryStatus::Ok)
    text.clear();
  return text;
}

}  // namespace tarnwick::zipformat
