// Reads the entries of one folder, in the order the OS returns them, with as few system calls as
// the OS allows: the entry's kind comes with the enumeration where the file system provides it,
// and a file's size is asked for only when the caller needs it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace tarnwick::platform {

enum class EntryKind : std::uint8_t {
  kFolder,   // a folder, or a link to one (followed)
  kFile,     // an ordinary file, or a link to one (followed)
  kOther,    // a device, pipe, socket or a link that leads nowhere: never a document
  kUnknown,  // not told by the enumeration: Resolve() finds out
};

struct DirEntry {
  // The name exactly as the OS gives it; valid until the next call of Next().
  std::string_view name;
  EntryKind kind = EntryKind::kUnknown;
  bool sizeKnown = false;
  std::uint64_t size = 0;  // bytes; meaningful when sizeKnown
};

// Identifies a folder on the machine (device and inode; volume and file id), so that a walk can
// tell when a link or mount leads into a folder it has already entered.
struct FolderId {
  std::uint64_t volume = 0;
  std::uint64_t high = 0;
  std::uint64_t low = 0;
  bool known = false;
  bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
  std::size_t operator()(const FolderId& id) const noexcept {
    std::uint64_t h = id.volume * 0x9E3779B97F4A7C15ull;
    h ^= id.high + 0x632BE59BD9B4E019ull + (h << 6) + (h >> 2);
    h ^= id.low + 0x94D049BB133111EBull + (h << 6) + (h >> 2);
    return static_cast<std::size_t>(h);
  }
};

class DirReader {
 public:
  DirReader();
  DirReader(DirReader&&) noexcept;
  DirReader& operator=(DirReader&&) noexcept;
  DirReader(const DirReader&) = delete;
  DirReader& operator=(const DirReader&) = delete;
  ~DirReader();

  // Opens the folder `path`, which ends in the path separator. Links are followed. On failure the
  // reader is closed and `error` tells why.
  static DirReader Open(std::string path, std::error_code& error);

  // Opens the sub-folder `name` of this folder (an entry this reader returned). Its path is
  // Path() + name + separator.
  DirReader OpenChild(std::string_view name, std::error_code& error) const;

  explicit operator bool() const { return impl_ != nullptr; }

  // The folder's path as given to Open (or built by OpenChild), ending in the separator.
  const std::string& Path() const;

  // The folder's identity; `known` is false when the OS could not tell.
  FolderId Id() const;

  // The next entry, the dot entries included where the OS returns them. False at the end of the
  // folder, or when reading failed: then Error() is set.
  bool Next(DirEntry& entry);
  std::error_code Error() const;

  // Fills in the kind and size of the entry Next() just returned, following a link to its target.
  // False when the entry can no longer be examined (removed meanwhile, a link to nothing, no
  // access); the entry is then left as it was.
  bool Resolve(DirEntry& entry) const;

  // Reads the rest of the folder into memory and gives the OS handle back. Used for folders deep
  // in a tree, so that a deep walk does not run out of open handles; later calls work by path.
  void Detach();

 private:
  struct Impl;
  explicit DirReader(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace tarnwick::platform
