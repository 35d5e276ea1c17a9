#include "platform/system_proxy.h"

#include <cstdlib>

namespace xamu::platform {
namespace {

std::string Variable(const char* lower, const char* upper) {
  for (const char* name : {lower, upper}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

}  // namespace

std::string ProxyHostAndPort(std::string url) {
  const std::size_t scheme = url.find("://");
  if (scheme != std::string::npos) url.erase(0, scheme + 3);
  const std::size_t path = url.find('/');
  if (path != std::string::npos) url.erase(path);
  const std::size_t at = url.rfind('@');
  if (at != std::string::npos) url.erase(0, at + 1);
  return url;
}

std::optional<WinInetProxyInfo> QuerySystemProxy() {
  const std::string http = Variable("http_proxy", "HTTP_PROXY");
  const std::string https = Variable("https_proxy", "HTTPS_PROXY");
  WinInetProxyInfo info;
  if (http.empty() && https.empty()) return info;
  info.access_type = kInternetOpenTypeProxy;
  if (!http.empty()) info.proxy_list = "HTTP=" + ProxyHostAndPort(http);
  if (!https.empty()) {
    if (!info.proxy_list.empty()) info.proxy_list += ' ';
    info.proxy_list += "HTTPS=" + ProxyHostAndPort(https);
  }
  return info;
}

}  // namespace xamu::platform
