// The identity of an open folder on Windows, asked for in the cheapest way the volume allows.
//
// A walk needs every folder's identity to notice a link or mount that leads back into folders it
// has entered. The full identity (FileIdInfo: the volume's serial number and a 128-bit file id)
// costs little on Windows itself, but under Wine each such query is a round trip to the mount
// manager in another process, several times the cost of listing the folder. So the volume is
// looked up only where it can change: at the root of the walk and where a folder is reached
// through a reparse point (a junction, a mount point, a link). Below such a folder, on a volume
// whose 64-bit file numbers are unique (NTFS, FAT, exFAT), a folder's identity is its file
// number, one cheap query on the handle the folder is listed with. Elsewhere (ReFS, network file
// systems, anything unknown) the full identity is asked for every folder.
#pragma once
#ifdef _WIN32

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdint>

#include "core/platform/dir_reader.h"

namespace tarnwick::platform {

struct FolderVolume {
  std::uint64_t serial = 0;
  bool known = false;
  bool numbersUnique = false;  // a folder's 64-bit file number tells it apart on this volume
};

// The volume of the folder open as `folder` (for listing or reading attributes). `cameFrom` is
// the volume the walk reached it from, or null at the root: when the serial number is the same,
// what is known about that volume is kept without asking the file system again.
FolderVolume VolumeOfFolder(HANDLE folder, const FolderVolume* cameFrom);

// The identity of the folder open as `folder` on `volume`; `known` is false when the OS cannot
// tell.
FolderId IdentityOfFolder(HANDLE folder, const FolderVolume& volume);

}  // namespace tarnwick::platform

#endif
