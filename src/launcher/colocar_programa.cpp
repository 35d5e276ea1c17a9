#include "launcher/colocar_programa.h"

#include "encoding/compresion.h"
#include "platform/paths.h"
#include "tables/file_checks.h"

namespace xamu {

bool ColocarPrograma(MemoryStream& buffer, const TipoSyncPrograma& programa,
                     const std::string& RutaAplicacion, platform::FileSystem& archivos) {
  // A name from the service that names another folder is refused, not followed.
  if (!platform::IsPlainFileName(programa.Archivo)) return false;
  const DestinoPrograma destino = DestinoDe(RutaAplicacion, programa.Archivo);
  const std::string path = destino.carpeta + programa.Archivo;
  if (archivos.FileExists(path)) (void)archivos.SetNormalAttributes(path);
  buffer.Seek(0);
  if (destino.comprimido) DescomprimirStream(buffer);
  archivos.ReplaceFileAtomically(path, {buffer.Bytes()}, destino.ejecutable ? 0755 : 0644);
  if (!ArchivoRecienGrabado(path, archivos)) return false;
  FijarFechaDos(path, programa.Fecha, archivos);
  (void)archivos.SetReadOnlyAttribute(path);
  return FechaGrabadaCercana(path, programa.Fecha, archivos);
}

}  // namespace xamu
