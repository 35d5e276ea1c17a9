#pragma once

#include <string>

#include "platform/file_system_interface.h"

// The two file routines of the table builders that other steps share: the freshness check
// of a file just written, and the folder write probe of the format synchronization (not
// the installation's write-permission probe, which creates ChecK.TMP in every subfolder).
namespace xamu {

// The file exists and its last write lies within 30 whole minutes of the local clock,
// either way (30 minutes 59 seconds still passes, 31 minutes does not).
bool ArchivoRecienGrabado(const std::string& path,
                          platform::FileSystem& archivos = platform::RealFileSystem());

// A temporary file "DA....TMP" can be created in the folder and deleted again.
bool PuedeGrabarEnCarpeta(const std::string& folder,
                          platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
