#pragma once

#include "platform/user_language.h"
#include "ui/codigos.h"

namespace xamu::ui {

// Whether the user's operating-system language is Spanish, whatever the sublanguage: the
// message dialog and the user data form speak it, not the launcher's Idioma.
inline bool SistemaEnEspanol() {
  return (platform::UserDefaultLangId() & 0xFF) == kLenguajePrimarioEspanol;
}

}  // namespace xamu::ui
