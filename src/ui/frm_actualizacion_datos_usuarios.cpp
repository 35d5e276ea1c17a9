#include "ui/frm_actualizacion_datos_usuarios.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "platform/ascii_text.h"
#include "platform/local_time.h"
#include "ui/cursor.h"
#include "ui/custom_dialog.h"
#include "ui/edicion_filtrada.h"
#include "ui/fuentes.h"
#include "ui/idioma_sistema.h"
#include "ui/imagenes.h"
#include "ui/ventana.h"

namespace xamu::ui {
namespace {

struct Textos {
  const char* caption;
  const char* lblNombreEmpresa;
  const char* lblNombreUsuario;
  const char* lblDireccion;
  const char* lblTelefonos;
  const char* lblCodigoPais;
  const char* lblCodigoArea;
  const char* lblFax;
  const char* lblFechaRegistro;
  const char* lblEmail;
  const char* btnAceptar;
  const char* btnSalir;
  const char* pregunta_salir;
  const char* falla_carga;
};

constexpr Textos kEspanol = {"Datos usuario",
                             "Nombre empresa",
                             "Nombre usuario",
                             "Dirección",
                             "Teléfonos",
                             "Código país",
                             "Código área",
                             "Fax",
                             "Fecha de registro",
                             "Email",
                             "Ok",
                             "Salir",
                             "¿Está seguro que desea salir?",
                             "Aviso: no se pudo cargar la información"};
constexpr Textos kIngles = {"User information",
                            "Company name",
                            "User name",
                            "Address",
                            "Phone number",
                            "Country code",
                            "Area code",
                            "Fax",
                            "Registration date",
                            "Email",
                            "Ok",
                            "Exit",
                            "Are you sure you want to quit?",
                            "Notice: Could not upload the information"};

const Textos& TextosDelSistema() {
  return SistemaEnEspanol() ? kEspanol : kIngles;
}

constexpr const char* kDigitos = "0123456789";
constexpr const char* kTelefono = "0123456789.- ";

QLabel* Etiqueta(QWidget* parent, int left, int top) {
  auto* label = new QLabel(parent);
  label->move(left, top);
  return label;
}

QLineEdit* Edicion(QLineEdit* edit, int left, int top, int width, int max_length,
                   bool right_aligned) {
  edit->setGeometry(left, top, width, 21);
  edit->setMaxLength(max_length);
  if (right_aligned) edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

QDate FechaDe(double fecha) {
  const platform::LocalDateTime local = platform::FloatDateToLocal(fecha);
  return QDate(local.year, local.month, local.day);
}

}  // namespace

TfrmActualizacionDatosUsuarios::TfrmActualizacionDatosUsuarios(EntornoDatosUsuario entorno,
                                                               QWidget* parent)
    : QDialog(parent), entorno_(std::move(entorno)) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(714, 322);
  setFont(QFont(kFuenteVentanas, 8));
  PintarFondo(*this, kFondoVentanas);

  lblNombreEmpresa = Etiqueta(this, 8, 31);
  lblEmpresa = Etiqueta(this, 130, 32);
  lblNombreUsuario = Etiqueta(this, 8, 87);
  edtNombreUsuario = Edicion(new QLineEdit(this), 128, 84, 577, 80, false);
  lblDireccion = Etiqueta(this, 8, 131);
  edtDireccionUsuario = Edicion(new QLineEdit(this), 128, 128, 577, 120, false);
  lblTelefonos = Etiqueta(this, 8, 171);
  lblCodigoPais = Etiqueta(this, 128, 169);
  edtCodigoPaisUsuario = Edicion(new EdicionFiltrada(kDigitos, this), 216, 168, 49, 4, true);
  lblCodigoArea = Etiqueta(this, 275, 170);
  edtCodigoAreaUsuario = Edicion(new EdicionFiltrada(kDigitos, this), 392, 168, 49, 4, true);
  edtTelefono1Usuario = Edicion(new EdicionFiltrada(kTelefono, this), 456, 168, 121, 10, true);
  edtTelefono2Usuario = Edicion(new EdicionFiltrada(kTelefono, this), 584, 168, 121, 10, true);
  lblFax = Etiqueta(this, 8, 211);
  edtFaxUsuario = Edicion(new EdicionFiltrada(kTelefono, this), 128, 208, 121, 10, true);
  lblFechaRegistro = Etiqueta(this, 490, 211);
  lblFechaRegistro->setWordWrap(true);
  dtpFechaRegistroUsuario = new QDateEdit(this);
  dtpFechaRegistroUsuario->setGeometry(600, 208, 105, 21);
  dtpFechaRegistroUsuario->setEnabled(false);  // display only
  dtpFechaRegistroUsuario->setCalendarPopup(true);
  dtpFechaRegistroUsuario->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  dtpFechaRegistroUsuario->setDisplayFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  // The picker's thin border of its own, around the platform's frame.
  dtpFechaRegistroUsuario->setStyleSheet("QDateEdit { border: 1px solid #646464; }");
  lblEmail = Etiqueta(this, 8, 251);
  edtEmailUsuario = Edicion(new QLineEdit(this), 128, 248, 577, 60, false);
  btnAceptar = BotonConImagen(this, ImagenAceptar(), QString(), 551, 288);
  btnSalir = BotonConImagen(this, ImagenCerrar(), QString(), 632, 288);
  connect(btnAceptar, &QPushButton::clicked, this, [this] { btnAceptarClick(); });
  connect(btnSalir, &QPushButton::clicked, this, [this] { btnSalirClick(); });

  QWidget* orden[] = {edtNombreUsuario,     edtDireccionUsuario,     edtCodigoPaisUsuario,
                      edtCodigoAreaUsuario, edtTelefono1Usuario,     edtTelefono2Usuario,
                      edtFaxUsuario,        dtpFechaRegistroUsuario, edtEmailUsuario};
  for (std::size_t i = 1; i < std::size(orden); ++i) setTabOrder(orden[i - 1], orden[i]);

  Crear();
}

void TfrmActualizacionDatosUsuarios::Crear() {
  CursorEspera();
  const Textos& t = TextosDelSistema();
  setWindowTitle(QString::fromUtf8(t.caption));
  const std::pair<QLabel*, const char*> captions[] = {{lblNombreEmpresa, t.lblNombreEmpresa},
                                                      {lblNombreUsuario, t.lblNombreUsuario},
                                                      {lblDireccion, t.lblDireccion},
                                                      {lblTelefonos, t.lblTelefonos},
                                                      {lblCodigoPais, t.lblCodigoPais},
                                                      {lblCodigoArea, t.lblCodigoArea},
                                                      {lblFax, t.lblFax},
                                                      {lblFechaRegistro, t.lblFechaRegistro},
                                                      {lblEmail, t.lblEmail}};
  for (const auto& [label, caption] : captions) {
    label->setText(QString::fromUtf8(caption));
    label->adjustSize();
  }
  // Word-wrapped up to the picker, so a long caption takes two lines rather than the date's room.
  lblFechaRegistro->setFixedWidth(dtpFechaRegistroUsuario->x() - lblFechaRegistro->x() - 4);
  lblFechaRegistro->setFixedHeight(lblFechaRegistro->heightForWidth(lblFechaRegistro->width()));
  btnAceptar->setText(QString::fromUtf8(t.btnAceptar));
  btnSalir->setText(QString::fromUtf8(t.btnSalir));

  falla_carga_ = false;
  const std::optional<UserRecord> record = ReadUserRecord(entorno_.ArregloArchivosCDS);
  CursorNormal();
  if (!record) {
    falla_carga_ = true;
    TCustomDialog::MessageDlg(t.falla_carga, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    return;
  }
  lblEmpresa->setText(QString::fromStdU16String(record->Empresa));
  lblEmpresa->adjustSize();
  const auto campos = Campos();
  for (std::size_t i = 0; i < campos.size(); ++i) {
    campos[i]->setText(QString::fromStdU16String(record->Campos[i]));
  }
  dtpFechaRegistroUsuario->setDate(FechaDe(record->FechaRegistro));
}

std::array<QLineEdit*, 8> TfrmActualizacionDatosUsuarios::Campos() const {
  return {edtNombreUsuario,    edtDireccionUsuario, edtCodigoPaisUsuario, edtCodigoAreaUsuario,
          edtTelefono1Usuario, edtTelefono2Usuario, edtFaxUsuario,        edtEmailUsuario};
}

void TfrmActualizacionDatosUsuarios::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // Closing from inside a paint is not allowed; the close comes right after it.
  if (falla_carga_) {
    QMetaObject::invokeMethod(
        this, [this] { done(kResultadoCancelar); }, Qt::QueuedConnection);
  }
}

void TfrmActualizacionDatosUsuarios::btnAceptarClick() {
  CursorEspera();
  const auto campos = Campos();
  for (const CampoUsuario requerido :
       {kNombre, kDireccion, kCodigoPais, kCodigoArea, kTelefono1, kEmail}) {
    QLineEdit* campo = campos[requerido];
    if (!platform::TrimBlanksAndControls(std::u16string_view(campo->text().toStdU16String()))
             .empty()) {
      continue;
    }
    campo->setFocus();
    CursorNormal();
    TCustomDialog::MessageDlg(entorno_.Mensajes.InformacionRequerida, TMsgDlgType::mtError,
                              {TMsgDlgBtn::mbOK});
    return;
  }
  std::array<std::u16string, 8> textos;
  for (std::size_t i = 0; i < textos.size(); ++i) textos[i] = campos[i]->text().toStdU16String();
  const std::optional<DatosAviso> aviso = SendUserRecordUpdate(
      entorno_.CrearClienteAutenticacion, entorno_.Sesion,
      WriteUserRecordUpdate(entorno_.Sesion.IDCliente, entorno_.Sesion.IDUsuario, textos));
  if (aviso) entorno_.ui.MostrarAviso(*aviso);
  done(kResultadoOk);
  CursorNormal();
}

void TfrmActualizacionDatosUsuarios::btnSalirClick() {
  setResult(kResultadoCerrar);
  const QMessageBox::StandardButton respuesta = QMessageBox::question(
      this, QApplication::applicationDisplayName(),
      QString::fromUtf8(TextosDelSistema().pregunta_salir), QMessageBox::Yes | QMessageBox::No);
  done(respuesta == QMessageBox::Yes ? kResultadoCancelar : kResultadoCerrar);
}

}  // namespace xamu::ui
