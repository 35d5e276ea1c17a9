#pragma once

#include <memory>
#include <string>

#include "encoding/compresion.h"
#include "service/http_trace.h"

// HTTP for the service clients, over one libcurl handle that keeps its connection open
// between calls. Failures raise ESOAPHTTPException. The launcher's program download has a
// connection of its own (launcher/descarga_directa.h): fresh each time, and never through
// a proxy of the environment.
namespace xamu {

struct HttpSettings {
  std::string url;
  long timeout_ms = 0;  // connect, and the longest silence while sending or receiving
  std::string proxy;    // "host:port"; empty leaves the system's own proxy handling
  std::string user;     // credentials for the server or the proxy; empty sets none
  std::string password;
};

struct HttpResponse {
  long status = 0;
  std::string reason;  // the status line's reason phrase
  std::string body;
};

class HttpTransport {
 public:
  explicit HttpTransport(HttpSettings settings);
  ~HttpTransport();
  HttpTransport(const HttpTransport&) = delete;
  HttpTransport& operator=(const HttpTransport&) = delete;

  const std::string& Url() const { return settings_.url; }

  // POSTs a SOAP request. The body of a 2xx or 500 answer is returned (a fault comes with
  // 500); any other status of 300 or more raises "<reason> (<status>) - '<url>'".
  std::string PostSoap(const std::string& envelope, const std::string& soap_action);

  // A plain GET of `url` through the same connection settings; the status is the caller's.
  HttpResponse Get(const std::string& url);

 private:
  HttpResponse Perform(HttpExchange exchange);

  HttpSettings settings_;
  struct Handle;
  std::unique_ptr<Handle> handle_;
};

// Answers larger than this are refused rather than held in memory: the largest a caller can
// use is an array of the decompression limit in base64 lines (4 characters per 3 bytes, a
// line break every 76), with room for the envelope around it.
inline constexpr std::size_t kMaxHttpResponse =
    kDecompressionLimit / 3 * 4 / 76 * 78 + (std::size_t{16} << 20);

}  // namespace xamu
