#include "platform/drive_type.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace xamu::platform {
namespace {

struct Mount {
  std::string point;
  std::string fs_type;
  std::string device;  // "major:minor"
};

// mountinfo escapes space, tab, newline and backslash as \ooo.
std::string Unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      out += static_cast<char>(std::strtol(field.substr(i + 1, 3).c_str(), nullptr, 8));
      i += 3;
    } else {
      out += field[i];
    }
  }
  return out;
}

std::vector<Mount> ReadMounts() {
  std::vector<Mount> mounts;
  std::ifstream in("/proc/self/mountinfo");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point, field;
    fields >> id >> parent >> device >> root >> point;
    while (fields >> field && field != "-") {
    }
    std::string fs_type;
    fields >> fs_type;
    if (!fs_type.empty()) mounts.push_back({Unescape(point), fs_type, device});
  }
  return mounts;
}

bool IsUnder(const std::string& path, const std::string& mount_point) {
  if (mount_point == "/") return true;
  return path.starts_with(mount_point) &&
         (path.size() == mount_point.size() || path[mount_point.size()] == '/');
}

// The path itself, or the nearest ancestor that exists, made absolute and canonical.
std::string ExistingCanonical(std::string path) {
  while (!path.empty()) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    const std::size_t slash = path.find_last_of('/', path.size() > 1 ? path.size() - 2 : 0);
    if (slash == std::string::npos) break;
    path = slash == 0 ? "/" : path.substr(0, slash);
  }
  char cwd[PATH_MAX];
  return getcwd(cwd, sizeof cwd) != nullptr ? cwd : "/";
}

bool IsRemovableBlockDevice(const std::string& device) {
  // A partition has no flag of its own; its disk, one folder up, has.
  for (const char* flag : {"/removable", "/../removable"}) {
    std::ifstream in("/sys/dev/block/" + device + flag);
    int removable = 0;
    if (in >> removable) return removable == 1;
  }
  return false;
}

DriveType Classify(const Mount& mount) {
  static constexpr std::string_view kRemote[] = {
      "nfs",       "nfs4",         "cifs",  "smb3",       "smbfs",      "ncpfs",
      "9p",        "afs",          "ceph",  "glusterfs",  "fuse.sshfs", "fuse.rclone",
      "fuse.s3fs", "fuse.gcsfuse", "davfs", "fuse.davfs2"};
  static constexpr std::string_view kRam[] = {"tmpfs", "ramfs"};
  static constexpr std::string_view kCd[] = {"iso9660", "udf"};
  const auto among = [&](const auto& list) {
    for (const std::string_view t : list) {
      if (mount.fs_type == t) return true;
    }
    return false;
  };
  if (among(kRemote)) return DriveType::kRemote;
  if (among(kRam)) return DriveType::kRamDisk;
  if (among(kCd)) return DriveType::kCdRom;
  if (IsRemovableBlockDevice(mount.device)) return DriveType::kRemovable;
  return DriveType::kFixed;
}

}  // namespace

DriveType GetDriveType(const std::string& path) {
  const std::string canonical = ExistingCanonical(path.empty() ? "." : path);
  const Mount* best = nullptr;
  const std::vector<Mount> mounts = ReadMounts();
  // Later mounts hide earlier ones at the same point.
  for (const Mount& m : mounts) {
    if (IsUnder(canonical, m.point) && (best == nullptr || m.point.size() >= best->point.size())) {
      best = &m;
    }
  }
  return best == nullptr ? DriveType::kUnknown : Classify(*best);
}

}  // namespace xamu::platform
