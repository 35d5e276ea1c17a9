#include "service/http_transport.h"

#include <curl/curl.h>

#include <charconv>
#include <chrono>
#include <mutex>

#include "platform/ascii_text.h"
#include "platform/version.h"
#include "service/errors.h"

namespace xamu {
namespace {

void InitialiseCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Collected {
  HttpResponse response;
  bool too_large = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* c = static_cast<Collected*>(user);
  const std::size_t n = size * count;
  if (c->response.body.size() + n > kMaxHttpResponse) {
    c->too_large = true;
    return 0;
  }
  c->response.body.append(data, n);
  return n;
}

// Keeps the reason phrase of the last status line (a 100 Continue comes first).
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto* c = static_cast<Collected*>(user);
  const std::string_view line(data, size * count);
  if (line.starts_with("HTTP/")) {
    const std::size_t code = line.find(' ');
    const std::size_t reason = code == std::string_view::npos ? code : line.find(' ', code + 1);
    std::string_view phrase = reason == std::string_view::npos ? "" : line.substr(reason + 1);
    while (!phrase.empty() && (phrase.back() == '\r' || phrase.back() == '\n'))
      phrase.remove_suffix(1);
    c->response.reason = phrase;
  } else if (platform::StartsWithIgnoringCase(line, "Content-Length:")) {
    // The body is received into one buffer of its announced size, not grown as it comes.
    std::uint64_t length = 0;
    const std::string_view value = platform::TrimWhitespace(line.substr(15));
    const auto parsed = std::from_chars(value.data(), value.data() + value.size(), length);
    if (parsed.ec == std::errc() && length <= kMaxHttpResponse) c->response.body.reserve(length);
  }
  return size * count;
}

}  // namespace

struct HttpTransport::Handle {
  CURL* curl = nullptr;
  curl_slist* headers = nullptr;
  char error[CURL_ERROR_SIZE] = {};
  ~Handle() {
    curl_slist_free_all(headers);
    if (curl != nullptr) curl_easy_cleanup(curl);
  }
};

HttpTransport::HttpTransport(HttpSettings settings)
    : settings_(std::move(settings)), handle_(std::make_unique<Handle>()) {
  InitialiseCurlOnce();
  handle_->curl = curl_easy_init();
  if (handle_->curl == nullptr) throw ESOAPHTTPException("cannot create an HTTP connection");
  CURL* c = handle_->curl;
  curl_easy_setopt(c, CURLOPT_ERRORBUFFER, handle_->error);
  curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, settings_.timeout_ms);
  // The time-out is one of silence, not of the whole transfer: a long download that keeps
  // moving is not cut.
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, std::max(1L, settings_.timeout_ms / 1000));
  // The vendor's servers are accepted whatever their certificate says.
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
  curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
  if (!settings_.proxy.empty()) curl_easy_setopt(c, CURLOPT_PROXY, settings_.proxy.c_str());
  // Where the vendor's user agent is not fixed, the servers see which launcher calls.
  static const std::string user_agent = std::string("XamuLauncher/") + kVersion;
  curl_easy_setopt(c, CURLOPT_USERAGENT, user_agent.c_str());
  if (!settings_.user.empty()) {
    curl_easy_setopt(c, CURLOPT_USERNAME, settings_.user.c_str());
    curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, settings_.user.c_str());
    curl_easy_setopt(c, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    curl_easy_setopt(c, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
  }
  if (!settings_.password.empty()) {
    curl_easy_setopt(c, CURLOPT_PASSWORD, settings_.password.c_str());
    curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, settings_.password.c_str());
  }
}

HttpTransport::~HttpTransport() = default;

HttpResponse HttpTransport::Perform(HttpExchange exchange) {
  CURL* c = handle_->curl;
  Collected collected;
  handle_->error[0] = '\0';
  curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(c, CURLOPT_WRITEDATA, &collected);
  curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(c, CURLOPT_HEADERDATA, &collected);
  const auto start = std::chrono::steady_clock::now();
  const CURLcode rc = curl_easy_perform(c);
  exchange.proxy = settings_.proxy;
  exchange.environment_proxy = settings_.proxy.empty();
  exchange.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &collected.response.status);
  exchange.status = collected.response.status;
  if (collected.too_large) {
    exchange.error = "The answer is larger than " + std::to_string(kMaxHttpResponse) + " bytes";
  } else if (rc != CURLE_OK) {
    exchange.error = handle_->error[0] != '\0' ? handle_->error : curl_easy_strerror(rc);
  }
  ReportHttp(exchange);
  if (!exchange.error.empty()) throw ESOAPHTTPException(exchange.error);
  return std::move(collected.response);
}

std::string HttpTransport::PostSoap(const std::string& envelope, const std::string& soap_action) {
  CURL* c = handle_->curl;
  curl_slist_free_all(handle_->headers);
  handle_->headers = nullptr;
  handle_->headers = curl_slist_append(handle_->headers, "Content-Type: text/xml; charset=utf-8");
  handle_->headers =
      curl_slist_append(handle_->headers, ("SOAPAction: \"" + soap_action + "\"").c_str());
  handle_->headers = curl_slist_append(handle_->headers, "Expect:");
  curl_easy_setopt(c, CURLOPT_URL, settings_.url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, handle_->headers);
  curl_easy_setopt(c, CURLOPT_POST, 1L);
  curl_easy_setopt(c, CURLOPT_POSTFIELDS, envelope.data());
  curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(envelope.size()));
  HttpResponse response = Perform({.method = "POST", .url = settings_.url, .action = soap_action});
  if (response.status >= 300 && response.status != 500) {
    throw ESOAPHTTPException(response.reason + " (" + std::to_string(response.status) + ") - '" +
                             settings_.url + "'");
  }
  return std::move(response.body);
}

HttpResponse HttpTransport::Get(const std::string& url) {
  CURL* c = handle_->curl;
  curl_easy_setopt(c, CURLOPT_URL, url.c_str());
  curl_easy_setopt(c, CURLOPT_HTTPHEADER, nullptr);
  curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
  return Perform({.method = "GET", .url = url});
}

}  // namespace xamu
