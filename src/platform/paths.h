#pragma once

#include <string>
#include <string_view>

#include "platform/ascii_text.h"

namespace xamu::platform {

inline constexpr char kPathSeparator = '/';

// The folder of the running executable, with a trailing separator.
std::string ExecutableFolder();

// The control file (application folder and identity override): /etc/XamuINI/eXamu.ini, or
// the path named by XAMU_CONTROL_INI when that is set.
std::string ControlIniPath();

// File names are case-insensitive for the launcher, as on Windows: each component of
// `path` that does not exist as written but has an entry in its folder differing only in
// letter case is replaced by that entry's name. Components with no such entry stay as
// written, so a new file gets the name as given.
std::string ResolveCaseInsensitive(std::string_view path);

// The last component of a path.
std::string FileNamePart(std::string_view path);

// A name that, appended to a folder, stays inside it on either platform: not empty, not
// "." or "..", and without a separator of either kind, a drive colon or a NUL.
bool IsPlainFileName(std::string_view name);

}  // namespace xamu::platform
