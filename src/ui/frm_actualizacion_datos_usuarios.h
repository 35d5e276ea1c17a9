#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "encoding/memory_stream.h"
#include "service/clientes.h"
#include "ui/datos_usuario.h"
#include "ui/interfaz_usuario.h"
#include "ui/mensajes.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace xamu::ui {

// The form's modal results.
inline constexpr int kResultadoOk = 1;        // Ok ran to its end, stored or not
inline constexpr int kResultadoCancelar = 2;  // Exit answered Yes, or the record unreadable
inline constexpr int kResultadoCerrar = 8;    // Exit answered No: go on without sending

// What the form works with, all owned by the caller and outliving the form.
struct EntornoDatosUsuario {
  TipoArregloByte& ArregloArchivosCDS;  // holds the record; the form leaves it empty
  const TMensajes& Mensajes;            // the launcher's catalogue, by Idioma
  UserRecordSession Sesion;
  std::function<std::unique_ptr<IAutenticacionNEW>()> CrearClienteAutenticacion;
  InterfazUsuario& ui;  // shows the notices
};

// The modal form in which the user checks their contact data and sends it back. Its
// captions follow the operating system's language; the catalogue's texts, Idioma. Created,
// run and destroyed on the user-interface thread; the call to the service blocks it.
// A record that cannot be read is said at creation, and the form closes itself with
// kResultadoCancelar as soon as it paints.
class TfrmActualizacionDatosUsuarios : public QDialog {
 public:
  explicit TfrmActualizacionDatosUsuarios(EntornoDatosUsuario entorno, QWidget* parent = nullptr);

  QLabel* lblNombreEmpresa;
  QLabel* lblEmpresa;
  QLabel* lblNombreUsuario;
  QLineEdit* edtNombreUsuario;
  QLabel* lblDireccion;
  QLineEdit* edtDireccionUsuario;
  QLabel* lblTelefonos;
  QLabel* lblCodigoPais;
  QLineEdit* edtCodigoPaisUsuario;
  QLabel* lblCodigoArea;
  QLineEdit* edtCodigoAreaUsuario;
  QLineEdit* edtTelefono1Usuario;
  QLineEdit* edtTelefono2Usuario;
  QLabel* lblFax;
  QLineEdit* edtFaxUsuario;
  QLabel* lblFechaRegistro;
  QDateEdit* dtpFechaRegistroUsuario;
  QLabel* lblEmail;
  QLineEdit* edtEmailUsuario;
  QPushButton* btnAceptar;
  QPushButton* btnSalir;

  void btnAceptarClick();
  void btnSalirClick();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // The form has no close box and no cancel button: Esc and a close request do nothing.
  void reject() override {}

 private:
  void Crear();
  // The eight edits in the order of CampoUsuario.
  std::array<QLineEdit*, 8> Campos() const;

  EntornoDatosUsuario entorno_;
  bool falla_carga_ = false;
};

}  // namespace xamu::ui
