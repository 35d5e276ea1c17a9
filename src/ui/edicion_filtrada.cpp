#include "ui/edicion_filtrada.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>
#include <memory>

namespace xamu::ui {

EdicionFiltrada::EdicionFiltrada(QString permitidos, QWidget* parent)
    : QLineEdit(parent), permitidos_(std::move(permitidos)) {
  setAcceptDrops(false);
}

void EdicionFiltrada::keyPressEvent(QKeyEvent* event) {
  // The shortcuts that reach the clipboard or change the text without typing it.
  for (const auto key : {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Copy,
                         QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll,
                         QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord}) {
    if (event->matches(key)) return;
  }
  switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      QLineEdit::keyPressEvent(event);
      return;
    default:
      break;
  }
  const QString text = event->text();
  const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
  const bool allowed =
      text.isEmpty()
          ? !control
          : !control && std::ranges::all_of(text, [&](QChar c) { return permitidos_.contains(c); });
  if (allowed) QLineEdit::keyPressEvent(event);
}

void EdicionFiltrada::contextMenuEvent(QContextMenuEvent* event) {
  std::unique_ptr<QMenu> menu(createStandardContextMenu());
  for (QAction* action : menu->actions()) {
    if (action->objectName() == "edit-paste" || action->objectName() == "edit-cut" ||
        action->objectName() == "edit-undo" || action->objectName() == "edit-redo") {
      action->setEnabled(false);
    }
  }
  menu->exec(event->globalPos());
}

}  // namespace xamu::ui
