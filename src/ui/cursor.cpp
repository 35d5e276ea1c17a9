#include "ui/cursor.h"

#include <QApplication>

namespace xamu::ui {

void CursorEspera() {
  if (QApplication::overrideCursor() == nullptr) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CursorNormal() {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

}  // namespace xamu::ui
