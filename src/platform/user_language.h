#pragma once

#include <cstdint>
#include <string_view>

namespace xamu::platform {

// The Windows language identifier of the user's locale (LC_ALL, else LC_MESSAGES, else
// LANG): es_MX gives 0x080A, es_ES 0x0C0A, en_US 0x0409, fr_FR 0x040C. The C/POSIX locale
// and unknown languages give 0x0409.
std::uint16_t UserDefaultLangId();

// The same for one locale name such as "es_MX.UTF-8".
std::uint16_t LangIdOfLocale(std::string_view locale);

}  // namespace xamu::platform
