#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

class QLabel;
class QPushButton;
class QFrame;

namespace xamu::ui {

// The notice window: its title, the description chosen by code (or the code line), an
// e-mail button that opens a message to support and leaves the notice open, and a close
// button (Esc too) that ends the application instead when the notice asks for it.
class TfrmMensajeError : public QDialog {
 public:
  TfrmMensajeError(const TMensajes& mensajes, const DatosAviso& aviso, QWidget* parent = nullptr);

  // Opens a link with the platform's shell; tests replace it.
  static std::function<void(const std::string& enlace)>& AbrirEnlace();

  QFrame* Panel2;
  QLabel* lblError;
  QLabel* lblDescripcion;
  QPushButton* btnEmail;
  QPushButton* btnSalir;

  // Closes the notice, ending the application first when the notice asks for it.
  void reject() override;

  const DatosAviso& Aviso() const { return aviso_; }

 private:
  void Correo();

  DatosAviso aviso_;
};

// Shows the notice modally on the calling thread, which must be the user-interface thread,
// and returns once it is closed.
void MostrarAvisoEnVentana(const TMensajes& mensajes, const DatosAviso& aviso);

}  // namespace xamu::ui
