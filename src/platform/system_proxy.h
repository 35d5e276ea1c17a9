#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace xamu::platform {

inline constexpr std::uint32_t kInternetOpenTypeDirect = 1;
inline constexpr std::uint32_t kInternetOpenTypeProxy = 3;

// The system's proxy settings as the WinInet proxy query answers them.
struct WinInetProxyInfo {
  std::uint32_t access_type = kInternetOpenTypeDirect;
  std::string proxy_list;  // "HTTP=host:port HTTPS=host:port"
};

// From http_proxy/HTTP_PROXY and https_proxy/HTTPS_PROXY: a named proxy listing those that
// are set (scheme, credentials and path stripped), else direct access. Empty when the
// query fails.
std::optional<WinInetProxyInfo> QuerySystemProxy();

// "http://user:pw@host:8080/" -> "host:8080"
std::string ProxyHostAndPort(std::string url);

}  // namespace xamu::platform
