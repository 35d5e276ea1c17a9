#include "ui/ventana.h"

#include <QPushButton>
#include <QWidget>

namespace xamu::ui {

void PintarFondo(QWidget& widget, const QColor& colour) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, colour);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

QPushButton* BotonConImagen(QWidget* parent, const QIcon& icon, const QString& caption, int left,
                            int top) {
  auto* b = new QPushButton(icon, caption, parent);
  b->setGeometry(left, top, 75, 25);
  b->setFocusPolicy(Qt::NoFocus);
  b->setAutoDefault(false);
  return b;
}

}  // namespace xamu::ui
