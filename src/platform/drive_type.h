#pragma once

#include <string>

namespace xamu::platform {

// The kinds of drive Windows tells apart, with its numbers.
enum class DriveType {
  kUnknown = 0,
  kNoRootDir = 1,
  kRemovable = 2,
  kFixed = 3,
  kRemote = 4,
  kCdRom = 5,
  kRamDisk = 6,
};

// The kind of the mount that holds `path` (or its nearest existing ancestor): network file
// systems are remote, tmpfs and ramfs RAM disks, CD file systems CD-ROM, a block device
// flagged removable is removable, every other local file system fixed.
DriveType GetDriveType(const std::string& path);

}  // namespace xamu::platform
