#include "tables/file_checks.h"

#include <cmath>
#include <optional>

namespace xamu {
namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;
constexpr long long kMillisecondsPerMinute = 60'000;
constexpr long long kMinutosDeFrescura = 30;

}  // namespace

bool ArchivoRecienGrabado(const std::string& path, platform::FileSystem& archivos) {
  if (!archivos.FileExists(path)) return false;
  const std::optional<double> written = archivos.LastWriteTime(path);
  if (!written) return false;
  const long long difference =
      std::llround(std::fabs(archivos.CurrentFloatDate() - *written) * kMillisecondsPerDay);
  return difference / kMillisecondsPerMinute <= kMinutosDeFrescura;
}

bool PuedeGrabarEnCarpeta(const std::string& folder, platform::FileSystem& archivos) {
  const std::optional<std::string> temp = archivos.CreateTempFile(folder, "DA");
  return temp && archivos.DeleteFile(*temp);
}

}  // namespace xamu
