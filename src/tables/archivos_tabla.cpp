#include "tables/archivos_tabla.h"

#include <cmath>
#include <optional>

#include "platform/file_system.h"
#include "platform/file_times.h"
#include "platform/local_time.h"

namespace xamu {
namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;
constexpr long long kMillisecondsPerMinute = 60'000;
constexpr long long kMinutosDeFrescura = 30;

}  // namespace

bool ArchivoRecienGrabado(const std::string& path) {
  if (!platform::FileExists(path)) return false;
  const std::optional<double> written = platform::LastWriteTime(path);
  if (!written) return false;
  const long long difference =
      std::llround(std::fabs(platform::CurrentFloatDate() - *written) * kMillisecondsPerDay);
  return difference / kMillisecondsPerMinute <= kMinutosDeFrescura;
}

bool PuedeGrabarEnCarpeta(const std::string& folder) {
  const std::optional<std::string> temp = platform::CreateTempFile(folder, "DA");
  return temp && platform::DeleteFile(*temp);
}

}  // namespace xamu
