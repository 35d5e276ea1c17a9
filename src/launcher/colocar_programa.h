#pragma once

#include <string>

#include "encoding/memory_stream.h"
#include "launcher/programas.h"
#include "platform/file_system_interface.h"

namespace xamu {

// Writes one fetched file into its place: decompressed (a RES file as received), replacing
// the previous one atomically, with the server's date, read-only. False when the file is
// not in place afterwards as it should be (not fresh, its date not the server's, or a name
// that would leave its folder): the caller's notice 24. Any other failure is raised for the
// caller's notice 24 with the error's text. The buffer is left holding what was written.
bool ColocarPrograma(MemoryStream& buffer, const TipoSyncPrograma& programa,
                     const std::string& RutaAplicacion,
                     platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
