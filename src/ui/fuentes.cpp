#include "ui/fuentes.h"

#include <QFont>

namespace xamu::ui {

void InstalarSustitucionesDeFuentes() {
  QFont::insertSubstitution("Verdana", "DejaVu Sans");
  QFont::insertSubstitution("MS Sans Serif", "DejaVu Sans");
}

}  // namespace xamu::ui
