#pragma once

#include <string>

namespace xamu {

// The file exists and its last write lies within 30 whole minutes of the local clock,
// either way (30 minutes 59 seconds still passes, 31 minutes does not).
bool ArchivoRecienGrabado(const std::string& path);

// A temporary file "DA....TMP" can be created in the folder and deleted again.
bool PuedeGrabarEnCarpeta(const std::string& folder);

}  // namespace xamu
