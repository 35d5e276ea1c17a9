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

// Sets the file's last write to `date` through the file system's DOS form (2-second steps);
// a date that form cannot hold leaves the time as written. Whether it was set is for the
// caller's check of FechaGrabadaCercana to tell.
void FijarFechaDos(const std::string& path, double date, platform::FileSystem& archivos);

// The file's date can be read back and lies within 30 whole minutes of `esperada`.
bool FechaGrabadaCercana(const std::string& path, double esperada, platform::FileSystem& archivos);

// A temporary file "DA....TMP" can be created in the folder and deleted again.
bool PuedeGrabarEnCarpeta(const std::string& folder,
                          platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
