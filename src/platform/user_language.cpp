#include "platform/user_language.h"

#include <cstdlib>
#include <string>

namespace xamu::platform {
namespace {

constexpr std::uint16_t kEnglishUnitedStates = 0x0409;

struct Language {
  std::string_view code;
  std::uint16_t primary;
};

struct Locale {
  std::string_view name;
  std::uint16_t lang_id;
};

// Primary language ids; a country not in the table below takes sublanguage 1.
constexpr Language kLanguages[] = {
    {"ar", 0x01}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07},
    {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C}, {"he", 0x0D},
    {"hu", 0x0E}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13}, {"nb", 0x14},
    {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"sv", 0x1D}, {"tr", 0x1F},
    {"gl", 0x56}, {"eu", 0x2D}};

constexpr Locale kLocales[] = {
    {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_GT", 0x100A}, {"es_CR", 0x140A}, {"es_PA", 0x180A},
    {"es_DO", 0x1C0A}, {"es_VE", 0x200A}, {"es_CO", 0x240A}, {"es_PE", 0x280A}, {"es_AR", 0x2C0A},
    {"es_EC", 0x300A}, {"es_CL", 0x340A}, {"es_UY", 0x380A}, {"es_PY", 0x3C0A}, {"es_BO", 0x400A},
    {"es_SV", 0x440A}, {"es_HN", 0x480A}, {"es_NI", 0x4C0A}, {"es_PR", 0x500A}, {"es_US", 0x540A},
    {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409},
    {"en_IE", 0x1809}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C},
    {"de_DE", 0x0407}, {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"pt_BR", 0x0416}, {"pt_PT", 0x0816},
    {"it_IT", 0x0410}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404}};

}  // namespace

std::uint16_t LangIdOfLocale(std::string_view locale) {
  // "es_MX.UTF-8@euro" -> "es_MX"
  const std::string_view name = locale.substr(0, locale.find_first_of(".@"));
  for (const Locale& l : kLocales) {
    if (l.name == name) return l.lang_id;
  }
  const std::string_view language = name.substr(0, name.find('_'));
  for (const Language& l : kLanguages) {
    if (l.code == language) return static_cast<std::uint16_t>(0x0400 | l.primary);
  }
  return kEnglishUnitedStates;
}

std::uint16_t UserDefaultLangId() {
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return LangIdOfLocale(value);
  }
  return kEnglishUnitedStates;
}

}  // namespace xamu::platform
