#include "platform/host_lookup.h"

#include <netdb.h>
#include <sys/socket.h>

namespace xamu::platform {

bool HostResolves(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* result = nullptr;
  const int rc = getaddrinfo(host.c_str(), nullptr, &hints, &result);
  if (result != nullptr) freeaddrinfo(result);
  return rc == 0;
}

}  // namespace xamu::platform
