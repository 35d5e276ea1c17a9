#include "tables/file_checks.h"

#include <cmath>
#include <optional>

#include "platform/local_time.h"

namespace xamu {
namespace {

constexpr double kMillisecondsPerDay = 86'400'000.0;
constexpr long long kMillisecondsPerMinute = 60'000;
constexpr long long kMinutosDeTolerancia = 30;

// Whole minutes apart, either way: 30 minutes 59 seconds is 30.
bool DentroDeTolerancia(double a, double b) {
  const long long difference = std::llround(std::fabs(a - b) * kMillisecondsPerDay);
  return difference / kMillisecondsPerMinute <= kMinutosDeTolerancia;
}

}  // namespace

bool ArchivoRecienGrabado(const std::string& path, platform::FileSystem& archivos) {
  if (!archivos.FileExists(path)) return false;
  const std::optional<double> written = archivos.LastWriteTime(path);
  return written && DentroDeTolerancia(archivos.CurrentFloatDate(), *written);
}

void FijarFechaDos(const std::string& path, double date, platform::FileSystem& archivos) {
  if (const std::uint32_t dos = platform::FloatDateToDosDateTime(date); dos != 0) {
    (void)archivos.SetLastWriteTime(path, platform::DosDateTimeToFloatDate(dos));
  }
}

bool FechaGrabadaCercana(const std::string& path, double esperada, platform::FileSystem& archivos) {
  const std::optional<double> fecha = archivos.LastWriteTime(path);
  return fecha && DentroDeTolerancia(*fecha, esperada);
}

bool PuedeGrabarEnCarpeta(const std::string& folder, platform::FileSystem& archivos) {
  const std::optional<std::string> temp = archivos.CreateTempFile(folder, "DA");
  return temp && archivos.DeleteFile(*temp);
}

}  // namespace xamu
