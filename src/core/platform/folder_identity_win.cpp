// FILE_ID_INFO (the 128-bit file ids of ReFS) needs the Windows 8 declarations.
#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0602
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#endif
#include "core/platform/folder_identity_win.h"

#include <winternl.h>

#include <array>
#include <cstring>
#include <cwchar>

namespace tarnwick::platform {
namespace {

bool fullIdOf(HANDLE folder, FILE_ID_INFO& info) {
  return ::GetFileInformationByHandleEx(folder, FileIdInfo, &info, sizeof info) != 0;
}

// File systems whose 64-bit file numbers are unique on the volume. ReFS numbers files with 128
// bits; network file systems number them as the server does.
bool numbersUniqueOn(const wchar_t* fileSystem) {
  constexpr std::array kNames = {L"NTFS", L"FAT", L"FAT32", L"exFAT"};
  for (const wchar_t* name : kNames) {
    if (::CompareStringOrdinal(fileSystem, -1, name, -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

// The file number through the native call: the Win32 calls that give it
// (GetFileInformationByHandle) ask for the volume's serial number as well, which is the costly
// part under Wine.
bool fileNumberOf(HANDLE folder, std::uint64_t& number) {
  IO_STATUS_BLOCK status{};
  FILE_INTERNAL_INFORMATION info{};
  if (!NT_SUCCESS(
          ::NtQueryInformationFile(folder, &status, &info, sizeof info, FileInternalInformation))) {
    return false;
  }
  number = static_cast<std::uint64_t>(info.IndexNumber.QuadPart);
  // 0 and all bits set are what file systems without file numbers give.
  return number != 0 && number != ~std::uint64_t{0};
}

}  // namespace

FolderVolume VolumeOfFolder(HANDLE folder, const FolderVolume* cameFrom) {
  FolderVolume volume;
  FILE_ID_INFO id{};
  if (fullIdOf(folder, id)) {
    volume.serial = id.VolumeSerialNumber;
    volume.known = true;
    if (cameFrom && cameFrom->known && cameFrom->serial == volume.serial) {
      volume.numbersUnique = cameFrom->numbersUnique;
      return volume;
    }
  }
  std::array<wchar_t, MAX_PATH + 1> fileSystem{};
  DWORD serial = 0;
  if (::GetVolumeInformationByHandleW(folder, nullptr, 0, &serial, nullptr, nullptr,
                                      fileSystem.data(), static_cast<DWORD>(fileSystem.size()))) {
    if (!volume.known) {
      volume.serial = serial;
      volume.known = true;
    }
    volume.numbersUnique = numbersUniqueOn(fileSystem.data());
  }
  return volume;
}

FolderId IdentityOfFolder(HANDLE folder, const FolderVolume& volume) {
  FolderId result;
  if (!volume.known)
    return result;  // numbers alone could be equal on two volumes
  if (!volume.numbersUnique) {
    FILE_ID_INFO id{};
    if (fullIdOf(folder, id)) {
      static_assert(sizeof id.FileId.Identifier == 16);
      result.volume = id.VolumeSerialNumber;
      std::memcpy(&result.low, id.FileId.Identifier, 8);
      std::memcpy(&result.high, id.FileId.Identifier + 8, 8);
      result.known = true;
      return result;
    }
  }
  std::uint64_t number = 0;
  if (fileNumberOf(folder, number)) {
    result.volume = volume.serial;
    result.low = number;
    result.known = true;
  }
  return result;
}

}  // namespace tarnwick::platform
