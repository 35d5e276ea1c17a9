#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"

// The update list the session brings and where each of its files goes.
namespace xamu {

// One program with an update.
struct TipoSyncPrograma {
  std::string Archivo;  // upper-cased, then trimmed
  double Fecha = 0;     // the file's date on the server, a float date
  bool Status = true;   // still to be downloaded
};

// Decompresses and reads the session's ArregloProgramas: vaList, then a name and a date per
// program, then vaNull. Raises the encodings' errors when it does not decode.
std::vector<TipoSyncPrograma> LeerListaProgramas(TipoArregloByte ArregloProgramas);

// Whether the file is among the local program files. Letter case is ignored, as every file
// name of the installation is resolved, so that a present file is not counted as missing.
bool EstaPresente(const std::string& Archivo, const std::vector<std::string>& locales);
std::size_t ContarPresentes(const std::vector<TipoSyncPrograma>& programas,
                            const std::vector<std::string>& locales);

// Where a downloaded file is written, by the text after its name's first dot.
struct DestinoPrograma {
  std::string carpeta;       // RutaAplicacion, or one of its subfolders, with the separator
  bool es_lanzador = false;  // the launcher's own executable, staged in Work1
  bool comprimido = true;    // every file arrives compressed except a RES file
  bool ejecutable = false;   // EXE: written with execute permission
};
DestinoPrograma DestinoDe(const std::string& RutaAplicacion, const std::string& Archivo);

// The address of a direct download: URLServ with every "https" made "http" (letter case
// kept), then "/Programas/" and the name.
std::string DireccionPrograma(const std::string& URLServ, const std::string& Archivo);

// Whether the host of `url` resolves. The host is the url with every "http://" removed and
// nothing else, so an "https://", a port or a path stay in it and do not resolve.
bool ServidorResuelve(const std::string& url);

}  // namespace xamu
