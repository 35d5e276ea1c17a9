#pragma once

#include <QColor>
#include <QIcon>
#include <QString>

class QPushButton;
class QWidget;

// What every window of the launcher is built from.
namespace xamu::ui {

// The colour the windows and their white boxes are filled with.
inline const QColor kFondoVentanas(0xE9, 0xE9, 0xE9);

// Fills the widget's background with `colour`.
void PintarFondo(QWidget& widget, const QColor& colour);

// A 75 x 25 button with its image and caption at left, top; not a tab stop, and pressed by
// Enter only through its own window's rules.
QPushButton* BotonConImagen(QWidget* parent, const QIcon& icon, const QString& caption, int left,
                            int top);

}  // namespace xamu::ui
