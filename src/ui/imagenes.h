#pragma once

#include <QIcon>

// The button images of the windows, drawn for this project as vector shapes at 16 and 32
// pixels, so that they are crisp at 1x and 2x.
namespace xamu::ui {

QIcon ImagenCorreo();   // an envelope
QIcon ImagenCerrar();   // a cross in a red disc
QIcon ImagenAceptar();  // a tick in a green disc

}  // namespace xamu::ui
