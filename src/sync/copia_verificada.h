#pragma once

#include <string>

#include "platform/file_system_interface.h"

namespace xamu {

// Copies `source` over `target` (a read-only target makes it fail; callers clear that
// first) after setting the source's attributes to normal, and checks the copy: true when
// the copy was made and the target, if it exists, has the source's last-write time.
bool CopiarArchivoVerificado(const std::string& source, const std::string& target,
                             platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
