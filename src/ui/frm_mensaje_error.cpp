#include "ui/frm_mensaje_error.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "ui/fuentes.h"
#include "ui/imagenes.h"
#include "ui/ventana.h"

namespace xamu::ui {
namespace {

constexpr const char* kCaption = "XAMU Web";

}  // namespace

std::function<void(const std::string&)>& TfrmMensajeError::AbrirEnlace() {
  static std::function<void(const std::string&)> abrir = [](const std::string& enlace) {
    // A missing mail program only means nothing happens.
    QDesktopServices::openUrl(QUrl(QString::fromStdString(enlace), QUrl::TolerantMode));
  };
  return abrir;
}

TfrmMensajeError::TfrmMensajeError(const TMensajes& mensajes, const DatosAviso& aviso,
                                   QWidget* parent)
    : QDialog(parent), aviso_(aviso) {
  setWindowTitle(kCaption);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(381, 254);
  setFont(QFont(kFuenteVentanas, 8));
  PintarFondo(*this, kFondoVentanas);

  Panel2 = new QFrame(this);
  Panel2->setGeometry(12, 12, 357, 197);
  Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel2->setLineWidth(1);

  lblError = new QLabel(QString::fromStdString(mensajes.Aviso), Panel2);
  QFont negrita = font();
  negrita.setBold(true);
  lblError->setFont(negrita);
  QPalette rojo = lblError->palette();
  rojo.setColor(QPalette::WindowText, Qt::red);
  lblError->setPalette(rojo);
  lblError->move(10, 17);
  lblError->adjustSize();

  lblDescripcion = new QLabel(QString::fromStdString(DescripcionAviso(
                                  mensajes, aviso.CodigoError, aviso.Status, aviso.MostrarCodigo)),
                              Panel2);
  lblDescripcion->setGeometry(17, 49, 321, 121);
  lblDescripcion->setWordWrap(true);
  lblDescripcion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  PintarFondo(*lblDescripcion, Qt::white);

  btnEmail =
      BotonConImagen(this, ImagenCorreo(), QString::fromStdString(mensajes.Correo), 213, 223);
  btnSalir =
      BotonConImagen(this, ImagenCerrar(), QString::fromStdString(mensajes.Cerrar), 294, 223);
  connect(btnEmail, &QPushButton::clicked, this, [this] { Correo(); });
  connect(btnSalir, &QPushButton::clicked, this, [this] { reject(); });
}

void TfrmMensajeError::Correo() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  AbrirEnlace()(EnlaceCorreoSoporte(lblDescripcion->text().toStdString(), aviso_.NombreCliente,
                                    aviso_.IDCliente, aviso_.IDUsuario));
  QApplication::restoreOverrideCursor();
}

// The close button, Esc and the title bar's close all come here.
void TfrmMensajeError::reject() {
  if (aviso_.SalirAlCerrar) QCoreApplication::exit(0);
  QDialog::reject();
}

void MostrarAvisoEnVentana(const TMensajes& mensajes, const DatosAviso& aviso) {
  TfrmMensajeError ventana(mensajes, aviso);
  ventana.exec();
}

}  // namespace xamu::ui
