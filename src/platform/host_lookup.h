#pragma once

#include <string>

namespace xamu::platform {

// Whether `host` resolves to at least one IPv4 address.
bool HostResolves(const std::string& host);

}  // namespace xamu::platform
