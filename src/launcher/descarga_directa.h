#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "encoding/memory_stream.h"
#include "launcher/errors.h"
#include "launcher/settings.h"

// The direct download of a program file from the vendor's web server.
namespace xamu {

// The transfer's progress, on the calling thread, during the transfer.
struct ProgresoDescarga {
  std::function<void(std::int64_t total)> WorkBegin;  // the expected byte count, 0 if unknown
  std::function<void(std::int64_t recibidos)> Work;
  std::function<void()> WorkEnd;
};

// GETs `url` into `buffer` (appended to) on a connection of its own, closed afterwards:
// redirects followed, Cache-Control "no-store", the browser user agent, a 60 s read
// time-out, and each proxy value of the settings applied when it is not empty. Raises
// EDescargaDirecta.
void DescargarDirecto(const std::string& url, const LauncherSettings& settings,
                      MemoryStream& buffer, const ProgresoDescarga& progreso);

}  // namespace xamu
