#include "sync/copia_verificada.h"

namespace xamu {

bool CopiarArchivoVerificado(const std::string& source, const std::string& target,
                             platform::FileSystem& archivos) {
  // Not checked: the copy and its date tell whether it worked.
  (void)archivos.SetNormalAttributes(source);
  if (!archivos.CopyFile(source, target)) return false;
  if (!archivos.FileExists(target)) return true;
  const std::optional<double> from = archivos.LastWriteTime(source);
  const std::optional<double> to = archivos.LastWriteTime(target);
  return from && to && *from == *to;
}

}  // namespace xamu
