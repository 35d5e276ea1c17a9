#pragma once

#include <cstdint>
#include <string>

#include "encoding/memory_stream.h"
#include "platform/file_system_interface.h"
#include "ui/interfaz_usuario.h"

namespace xamu {

// The table builder of `id_objeto`: turns the decompressed bytes of a synchronization
// entry into the dataset file `nombre` in `carpeta`, replacing an existing one. On
// success `codigo_error` stays 0. A decoding failure sets the table's own code and
// writes nothing (an existing file stays as it was); a file that cannot be written, or
// is not fresh once written, shows notice 24 through `ui` (with the session's values in
// `sesion`) and sets 24. A name that is not a plain file name is refused the same way.
// Nothing escapes; an IDObjeto without a table writes nothing. Runs on the calling thread
// (the worker's, in a synchronization); the notice blocks it until it is closed.
void GrabarTablaCDS(std::int16_t id_objeto, const std::string& carpeta, const std::string& nombre,
                    MemoryStream& datos, std::int16_t& codigo_error, InterfazUsuario& ui,
                    const DatosAviso& sesion,
                    platform::FileSystem& archivos = platform::RealFileSystem());

}  // namespace xamu
