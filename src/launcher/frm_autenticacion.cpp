#include "launcher/frm_autenticacion.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "ui/codigos.h"
#include "ui/imagenes.h"
#include "ui/interfaz_usuario.h"
#include "ui/ventana.h"

namespace xamu {
namespace {

constexpr const char* kCaption = "XAMU Web";
constexpr const char* kFuente = "MS Sans Serif";
constexpr int kAlturaFuente = 11;        // pixels
constexpr int kAlturaFuenteGrande = 13;  // the offer's title, choices and download text

struct Titulos {
  const char* Label1;
  const char* btnSalir;
  const char* btnContinuar;
  const char* Label4;
  const char* rbActualizarTodo;
  const char* rbActualizarFaltantes;
  const char* rbNoActualizar;
};

constexpr Titulos kEspanol = {"Cargando XAMU.\nPor favor espere...",
                              "Cancelar",
                              "Aceptar",
                              "XAMUweb tiene actualizaciones disponibles para descargar",
                              "Actualizar todo (Recomendado)",
                              "Actualizar faltantes",
                              "No actualizar"};
constexpr Titulos kIngles = {"Loading XAMU.\nPlease wait...",
                             "Cancel",
                             "OK",
                             "New updates are available for download",
                             "Update All (Recommended)",
                             "Update missing",
                             "No update"};

QFont Fuente(int pixels) {
  QFont font(kFuente);
  font.setPixelSize(pixels);
  return font;
}

QFrame* Panel(QWidget* parent, const QRect& geometry, int frame_style) {
  auto* panel = new QFrame(parent);
  panel->setGeometry(geometry);
  panel->setFrameStyle(frame_style);
  return panel;
}

QLabel* Blanco(QLabel* label, const QRect& geometry, Qt::Alignment alignment) {
  label->setGeometry(geometry);
  label->setAlignment(alignment);
  label->setWordWrap(true);
  ui::PintarFondo(*label, Qt::white);
  return label;
}

QRadioButton* Opcion(QWidget* parent, const QRect& geometry) {
  auto* radio = new QRadioButton(parent);
  radio->setGeometry(geometry);
  radio->setFont(Fuente(kAlturaFuenteGrande));
  return radio;
}

}  // namespace

TfrmAutenticacion::TfrmAutenticacion() {
  // A fixed dialog-style window: a title bar without buttons or system menu.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setWindowTitle(kCaption);
  setFixedSize(504, 224);
  setFont(Fuente(kAlturaFuente));
  ui::PintarFondo(*this, ui::kFondoVentanas);
  const QRect todo(0, 0, 504, 224);

  Panel1 = Panel(this, todo, QFrame::NoFrame);
  Label1 = Blanco(new QLabel(Panel1), {9, 26, 484, 107}, Qt::AlignLeft | Qt::AlignTop);
  ProgressBar1 = new QProgressBar(Panel1);
  ProgressBar1->setGeometry(9, 148, 484, 17);
  ProgressBar1->setRange(0, kProgresoMaximo);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setStyleSheet(
      "QProgressBar { background: silver; border: 1px solid gray; }"
      "QProgressBar::chunk { background: navy; }");

  Panel3 = Panel(this, todo, QFrame::NoFrame);
  Panel5 = Panel(Panel3, {9, 12, 484, 157}, QFrame::Panel | QFrame::Raised);
  Label4 = Blanco(new QLabel(Panel5), {13, 11, 460, 33}, Qt::AlignCenter);
  Label4->setFont(Fuente(kAlturaFuenteGrande));
  Panel6 = Panel(Panel5, {14, 54, 460, 67}, QFrame::NoFrame);
  rbActualizarTodo = Opcion(Panel6, {0, 26, 241, 17});
  rbActualizarFaltantes = Opcion(Panel6, {247, 26, 202, 17});
  rbNoActualizar = Opcion(Panel6, {247, 26, 204, 17});
  rbActualizarTodo->setChecked(true);
  lblDesarrollo = Blanco(new QLabel(Panel5), {14, 127, 460, 21}, Qt::AlignCenter);
  lblDesarrollo->setFont(Fuente(kAlturaFuenteGrande));
  lblDesarrollo->setWordWrap(false);
  lblDesarrollo->hide();
  btnContinuar = ui::BotonConImagen(Panel3, ui::ImagenAceptar(), QString(), 339, 183);
  btnSalir = ui::BotonConImagen(Panel3, ui::ImagenCerrar(), QString(), 418, 183);
  connect(btnContinuar, &QPushButton::clicked, this, [this] {
    if (AlContinuar) AlContinuar();
  });
  connect(btnSalir, &QPushButton::clicked, this, [this] { close(); });

  Timer1 = new QTimer(this);
  Timer1->setInterval(500);
  connect(Timer1, &QTimer::timeout, this, [this] {
    if (AlTemporizador) AlTemporizador();
  });

  Panel1->hide();
  Panel3->hide();
}

void TfrmAutenticacion::MostrarProgreso() {
  Panel3->hide();
  Panel1->show();
}

void TfrmAutenticacion::MostrarOferta() {
  Panel1->hide();
  Panel3->show();
}

void TfrmAutenticacion::EstablecerTitulos(std::uint8_t Idioma) {
  const Titulos& t = Idioma == kIdiomaEspanol ? kEspanol : kIngles;
  Label1->setText(QString::fromUtf8(t.Label1));
  btnSalir->setText(QString::fromUtf8(t.btnSalir));
  btnContinuar->setText(QString::fromUtf8(t.btnContinuar));
  Label4->setText(QString::fromUtf8(t.Label4));
  rbActualizarTodo->setText(QString::fromUtf8(t.rbActualizarTodo));
  rbActualizarFaltantes->setText(QString::fromUtf8(t.rbActualizarFaltantes));
  rbNoActualizar->setText(QString::fromUtf8(t.rbNoActualizar));
}

void TfrmAutenticacion::EstablecerOpciones(std::size_t presentes, std::size_t total) {
  rbActualizarTodo->show();
  rbActualizarFaltantes->setVisible(presentes > 0 && presentes < total);
  rbNoActualizar->setVisible(presentes > 0 && presentes == total);
}

void TfrmAutenticacion::EstablecerTexto(const std::string& texto) {
  Label1->setText(QString::fromStdString(texto));
}

void TfrmAutenticacion::EstablecerProgreso(int posicion) {
  ProgressBar1->setValue(posicion);
}

void TfrmAutenticacion::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  if (!PrimeraVez) return;
  PrimeraVez = false;
  // The sequence opens modal windows, which may not run inside a paint: it runs as soon
  // as this paint is over.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (AlPrimeraPintura) AlPrimeraPintura();
      },
      Qt::QueuedConnection);
}

void TfrmAutenticacion::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QWidget::showEvent(event);
}

// Esc presses btnSalir when it can be pressed, that is, while the offer is shown.
void TfrmAutenticacion::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (btnSalir->isVisible() && btnSalir->isEnabled()) btnSalir->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

// Each activation brings the application to the foreground.
void TfrmAutenticacion::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) raise();
  QWidget::changeEvent(event);
}

void TfrmAutenticacion::closeEvent(QCloseEvent* event) {
  if (Timer1->isActive()) {
    event->ignore();
  } else {
    QWidget::closeEvent(event);
  }
}

}  // namespace xamu
