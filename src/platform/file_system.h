#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/outcome.h"

// Files and folders with the Windows view of them that the launcher expects, on POSIX.
// Every path is resolved case-insensitively first (see ResolveCaseInsensitive). Calls that
// change a name (attributes, replacement) act on the name itself and never follow a
// symbolic link. The writers reach these through FileSystem (file_system_interface.h);
// the functions here are its POSIX implementation and serve the checks and the tools.
namespace xamu::platform {

// Windows attributes as they map onto a POSIX file system: read-only is the absence of
// every write permission bit, hidden is a name beginning with ".", a symbolic link is a
// reparse point (as a Windows junction is); system and archive are never set.
struct FileAttributes {
  bool directory = false;
  bool read_only = false;
  bool hidden = false;
  bool system = false;
  bool archive = false;
  bool reparse_point = false;

  // Exactly the directory attribute and nothing else.
  bool IsPlainDirectory() const {
    return directory && !read_only && !hidden && !system && !archive && !reparse_point;
  }
};

// Empty when the path's attributes cannot be read. A symbolic link shows its target's.
std::optional<FileAttributes> GetFileAttributes(const std::string& path);
// Normal attributes: the owner may write. A symbolic link has no write bits of its own to
// change: it counts as normal, and cannot be made read-only.
Outcome SetNormalAttributes(const std::string& path);
Outcome SetReadOnlyAttribute(const std::string& path);

// Attributes readable and the directory attribute among them.
bool IsExistingFolder(const std::string& path);
// Exists and is not a folder.
bool FileExists(const std::string& path);

// One level; fails when the folder cannot be created (its parent missing included).
Outcome CreateFolder(const std::string& path);

struct FolderEntry {
  std::string name;
  FileAttributes attributes;
};

// Entries of `folder` whose names match `pattern` ("*" and "?" wildcards, letter case
// ignored; "*.*" matches every name), in the order the directory search returns them.
// "." and ".." are never listed; a folder that cannot be listed gives nothing.
std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view pattern);

bool MatchesPattern(std::string_view name, std::string_view pattern);

// Creates `path` as a new file (failing when any file of that name exists, whatever its
// letter case), then closes and deletes it. True when the creation succeeded.
bool CreateAndDeleteProbeFile(const std::string& path);

// Creates a new empty file named prefix + hex number + ".TMP" in `folder`, retrying on
// collisions; its path, or empty when no file can be created there.
std::optional<std::string> CreateTempFile(const std::string& folder, std::string_view prefix);

Outcome DeleteFile(const std::string& path);

// Copies a file with its last-write time, replacing `target` atomically when it exists; a
// failure leaves `target` as it was and no temporary file behind.
Outcome CopyFile(const std::string& source, const std::string& target);

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path);

// Writes `bytes` to a temporary file in the target's folder and renames it over the target
// once complete, so a failure leaves the previous file untouched. The new file keeps the
// previous file's permissions, or gets `new_file_mode` (also in place of a symbolic link,
// which is replaced, its target left alone). Raises EInOutError on failure, its message
// ending with the system's reason.
void ReplaceFileAtomically(const std::string& path, std::span<const std::uint8_t> bytes,
                           unsigned new_file_mode = 0644);
// The same for a file made of several parts written one after another.
void ReplaceFileAtomically(const std::string& path,
                           std::initializer_list<std::span<const std::uint8_t>> parts,
                           unsigned new_file_mode = 0644);
// The same for a file whose bytes `produce` hands to the sink it is given, a piece at a
// time, so that they need not all be held at once; an exception from `produce` leaves the
// target as it was.
using PieceSink = std::function<void(std::span<const std::uint8_t>)>;
void ReplaceFileAtomicallyInPieces(const std::string& path,
                                   const std::function<void(const PieceSink&)>& produce,
                                   unsigned new_file_mode = 0644);

// What ReplaceFileAtomically puts between the target's name and the six random characters
// of its temporary file ".NAME.xamu-XXXXXX", so that a leftover one is known for ours.
inline constexpr const char* kTempFileMark = ".xamu-";

// Removes from `folder` the temporary files that an interrupted ReplaceFileAtomically left
// (regular files named by its pattern, never a link) and returns how many.
std::size_t RemoveLeftoverTempFiles(const std::string& folder);

// A new empty folder of this process's own in the system's temporary folder; empty when
// it cannot be made.
std::string MakeScratchFolder();

}  // namespace xamu::platform
