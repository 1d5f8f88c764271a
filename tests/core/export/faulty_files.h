// A file source that behaves like the system's but fails where a test says: a read of one file
// fails from a given offset, or the file seems to change size while it is read. Permissions stop
// nothing when tests run as root; this does.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "core/platform/input_file.h"

namespace tarnwick::test {

class FaultyFiles final : public platform::FileSource {
 public:
  struct Fault {
    std::uint64_t failReadsFrom = ~0ull;  // reads reaching this offset fail
    platform::FileError readError = platform::FileError::ReadFailed;
    bool growsWhileRead = false;                                // Restat reports one byte more
    platform::FileError openError = platform::FileError::None;  // Open fails with this
    std::uint32_t attributes = 0;  // Windows attributes Examine adds (online-only ones, say)
  };

  void Add(const std::string& path, Fault fault) { faults_[path] = fault; }

  platform::OpenedFile Open(const std::string& path) const override {
    const auto it = faults_.find(path);
    if (it != faults_.end() && it->second.openError != platform::FileError::None) {
      return {nullptr, it->second.openError, "injected"};
    }
    platform::OpenedFile opened = platform::SystemFiles().Open(path);
    if (opened.file && it != faults_.end()) {
      opened.file = std::make_unique<FaultyFile>(std::move(opened.file), it->second);
    }
    return opened;
  }
  platform::FileError Examine(const std::string& path, platform::FileInfo& info) const override {
    const auto err = platform::SystemFiles().Examine(path, info);
    if (const auto it = faults_.find(path); it != faults_.end())
      info.attributes |= it->second.attributes;
    return err;
  }

 private:
  class FaultyFile final : public platform::InputFile {
   public:
    FaultyFile(std::unique_ptr<platform::InputFile> inner, Fault fault)
        : inner_(std::move(inner)), fault_(fault) {}
    const platform::FileInfo& Info() const override { return inner_->Info(); }
    platform::FileError ReadAt(std::uint64_t offset, std::span<char> buffer,
                               std::size_t& got) override {
      if (offset + buffer.size() > fault_.failReadsFrom) {
        got = 0;
        return fault_.readError;
      }
      return inner_->ReadAt(offset, buffer, got);
    }
    platform::FileError Restat(platform::FileInfo& info) override {
      const auto err = inner_->Restat(info);
      if (fault_.growsWhileRead)
        ++info.size;
      return err;
    }

   private:
    std::unique_ptr<platform::InputFile> inner_;
    Fault fault_;
  };

  std::map<std::string, Fault> faults_;
};

}  // namespace tarnwick::test
