#include "launcher/descarga_directa.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>

#include "encoding/compresion.h"
#include "platform/ascii_text.h"
#include "service/http_trace.h"

namespace xamu {
namespace {

constexpr const char* kUserAgent =
    "Mozilla/5.0 (X11; U; Linux i686; en-US; rv:1.9.2.1) Gecko/20100122 firefox/3.6.1";
constexpr long kTiempoLecturaSegundos = 60;
// Progress more often than this would only be repainted, not seen.
constexpr auto kIntervaloProgreso = std::chrono::milliseconds(100);

struct Transferencia {
  MemoryStream& buffer;
  const ProgresoDescarga& progreso;
  std::size_t recibidos = 0;
  bool demasiado = false;
  bool comenzada = false;
  std::chrono::steady_clock::time_point ultimo{};
};

std::size_t Escribir(char* data, std::size_t size, std::size_t count, void* user) {
  auto& t = *static_cast<Transferencia*>(user);
  const std::size_t n = size * count;
  // Nothing larger is ever decompressed or stored as it is.
  if (t.recibidos + n > kDecompressionLimit) {
    t.demasiado = true;
    return 0;
  }
  t.buffer.Write(data, n);
  t.recibidos += n;
  return n;
}

int Progreso(void* user, curl_off_t total, curl_off_t ahora, curl_off_t, curl_off_t) {
  auto& t = *static_cast<Transferencia*>(user);
  if (!t.comenzada && (total > 0 || ahora > 0)) {
    t.comenzada = true;
    if (t.progreso.WorkBegin) t.progreso.WorkBegin(total);
  }
  const auto now = std::chrono::steady_clock::now();
  if (t.comenzada && t.progreso.Work && (now - t.ultimo >= kIntervaloProgreso || ahora == total)) {
    t.ultimo = now;
    t.progreso.Work(ahora);
  }
  return 0;
}

struct CurlDeleter {
  void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

std::string Recortado(const std::string& text) {
  return std::string(platform::TrimWhitespace(text));
}

}  // namespace

void DescargarDirecto(const std::string& url, const LauncherSettings& settings,
                      MemoryStream& buffer, const ProgresoDescarga& progreso) {
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) throw EDescargaDirecta("cannot create an HTTP client");
  CURL* c = curl.get();
  Transferencia t{buffer, progreso};
  std::unique_ptr<curl_slist, SlistDeleter> headers(
      curl_slist_append(nullptr, "Cache-Control: no-store"));
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(c, CURLOPT_FORBID_REUSE, 1L);
  curl_easy_setopt(c, CURLOPT_FRESH_CONNECT, 1L);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kTiempoLecturaSegundos);
  // The read time-out is the longest silence, not the whole transfer's time.
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kTiempoLecturaSegundos);
  // Only the settings' proxy, never one from the environment.
  const std::string proxy = Recortado(settings.Proxy);
  curl_easy_setopt(c, CURLOPT_PROXY, proxy.c_str());
  if (const std::string port = Recortado(settings.PortProxy); !port.empty()) {
    long value = 0;
    try {
      std::size_t used = 0;
      value = std::stol(port, &used);
      if (used != port.size()) throw std::invalid_argument(port);
    } catch (const std::exception&) {
      throw EDescargaDirecta("'" + port + "' is not a valid integer value");
    }
    curl_easy_setopt(c, CURLOPT_PROXYPORT, value);
  }
  const std::string user = Recortado(settings.UserProxy);
  if (!user.empty()) curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, user.c_str());
  if (!Recortado(settings.PasswordProxy).empty()) {
    curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, settings.PasswordProxy.c_str());
  }
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Escribir);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progreso);
  curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);

  const auto start = std::chrono::steady_clock::now();
  const CURLcode rc = curl_easy_perform(c);
  HttpExchange exchange{.method = "GET", .url = url, .proxy = proxy};
  exchange.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &exchange.status);
  if (t.demasiado) {
    exchange.error = "the answer is larger than " + DecompressionLimitText();
  } else if (rc != CURLE_OK) {
    exchange.error = curl_easy_strerror(rc);
  }
  ReportHttp(exchange);
  if (t.demasiado) throw EDescargaDirecta(exchange.error);
  if (rc != CURLE_OK) throw EDescargaDirecta(curl_easy_strerror(rc));
  long status = 0;
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
  if (status < 200 || status >= 300) {
    throw EDescargaDirecta("HTTP/1.1 " + std::to_string(status));
  }
  if (progreso.WorkEnd) progreso.WorkEnd();
}

}  // namespace xamu
