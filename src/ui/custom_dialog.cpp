#include "ui/custom_dialog.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/fuentes.h"
#include "ui/idioma_sistema.h"

namespace xamu::ui {
namespace {

constexpr int kSinBoton = 2;  // closed without a button, as Cancel

struct Boton {
  TMsgDlgBtn boton;
  int resultado;  // 0: the button closes nothing (Help)
  const char* espanol;
  const char* ingles;
};

// An ampersand marks the access key: the letter after it is underlined and Alt presses it.
constexpr Boton kBotones[] = {
    {TMsgDlgBtn::mbYes, 6, "&Si", "&Yes"},
    {TMsgDlgBtn::mbNo, 7, "&No", "&No"},
    {TMsgDlgBtn::mbOK, 1, "OK", "OK"},
    {TMsgDlgBtn::mbCancel, 2, "Cancelar", "Cancel"},
    {TMsgDlgBtn::mbAbort, 3, "&Abort", "&Abort"},
    {TMsgDlgBtn::mbRetry, 4, "&Reintentar", "&Retry"},
    {TMsgDlgBtn::mbIgnore, 5, "&Ignorar", "&Ignore"},
    {TMsgDlgBtn::mbAll, 12, "&TODO", "&ALL"},
    // The dialog's Spanish texts for these two never replace the English captions.
    {TMsgDlgBtn::mbNoToAll, 13, "N&o to All", "N&o to All"},
    {TMsgDlgBtn::mbYesToAll, 14, "Yes to &All", "Yes to &All"},
    {TMsgDlgBtn::mbHelp, 0, "&Ayuda", "&Help"},
    {TMsgDlgBtn::mbClose, 8, "&Close", "&Close"},
};

struct Tipo {
  const char* espanol;
  const char* ingles;
  QStyle::StandardPixmap icono;
  bool con_icono;
};

Tipo TipoDe(TMsgDlgType tipo) {
  switch (tipo) {
    case TMsgDlgType::mtWarning:
      return {"Advertencia", "Warning", QStyle::SP_MessageBoxWarning, true};
    case TMsgDlgType::mtError:
      return {"Aviso", "Notice", QStyle::SP_MessageBoxCritical, true};
    case TMsgDlgType::mtInformation:
      return {"Información", "Information", QStyle::SP_MessageBoxInformation, true};
    case TMsgDlgType::mtConfirmation:
      return {"Confirmar", "Confirm", QStyle::SP_MessageBoxQuestion, true};
    case TMsgDlgType::mtCustom:
      break;
  }
  return {nullptr, nullptr, QStyle::SP_MessageBoxInformation, false};
}

// Esc presses the cancel button; closing the window otherwise gives 2.
class Dialogo : public QDialog {
 public:
  QPushButton* cancelar = nullptr;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
      if (cancelar != nullptr) cancelar->click();
      return;
    }
    QDialog::keyPressEvent(event);
  }
  void reject() override { done(kSinBoton); }
};

}  // namespace

int TCustomDialog::MessageDlg(const std::string& Msg, TMsgDlgType DlgType,
                              const TMsgDlgButtons& Buttons) {
  const bool espanol = SistemaEnEspanol();
  const Tipo tipo = TipoDe(DlgType);

  Dialogo dialogo;
  dialogo.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
  dialogo.setFont(QFont(kFuenteVentanas, 8));
  dialogo.setWindowTitle(tipo.espanol == nullptr ? QApplication::applicationDisplayName()
                         : espanol               ? QString::fromUtf8(tipo.espanol)
                                                 : QString::fromUtf8(tipo.ingles));

  auto* arriba = new QHBoxLayout;
  if (tipo.con_icono) {
    auto* icono = new QLabel;
    const int lado = dialogo.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icono->setPixmap(dialogo.style()->standardIcon(tipo.icono).pixmap(lado, lado));
    icono->setAlignment(Qt::AlignTop);
    icono->setObjectName("icono");
    arriba->addWidget(icono, 0, Qt::AlignTop);
  }
  auto* texto = new QLabel(QString::fromStdString(Msg));
  texto->setObjectName("texto");
  texto->setWordWrap(true);
  texto->setTextFormat(Qt::PlainText);
  // At most half the screen wide; a short text keeps its own width.
  const QScreen* pantalla = QGuiApplication::primaryScreen();
  const int media = pantalla != nullptr ? pantalla->availableGeometry().width() / 2 : 640;
  const int natural = texto->fontMetrics()
                          .boundingRect(QRect(0, 0, media, 100000), Qt::TextWordWrap, texto->text())
                          .width();
  texto->setFixedWidth(std::min(media, natural + 2));
  arriba->addWidget(texto, 1);

  auto* fila = new QHBoxLayout;
  fila->addStretch();
  std::vector<QPushButton*> botones;
  QPushButton* predeterminado = nullptr;
  for (const Boton& b : kBotones) {
    if (!Buttons.contains(b.boton)) continue;
    auto* boton = new QPushButton(QString::fromUtf8(espanol ? b.espanol : b.ingles));
    boton->setAutoDefault(false);
    if (b.resultado != 0) {
      QObject::connect(boton, &QPushButton::clicked, &dialogo,
                       [&dialogo, r = b.resultado] { dialogo.done(r); });
    }
    fila->addWidget(boton);
    botones.push_back(boton);
    const auto es = [&](TMsgDlgBtn otro) { return b.boton == otro; };
    if (es(TMsgDlgBtn::mbOK) || (es(TMsgDlgBtn::mbYes) && !Buttons.contains(TMsgDlgBtn::mbOK)) ||
        (es(TMsgDlgBtn::mbRetry) && !Buttons.contains(TMsgDlgBtn::mbOK) &&
         !Buttons.contains(TMsgDlgBtn::mbYes))) {
      predeterminado = boton;
    }
    if (es(TMsgDlgBtn::mbCancel) ||
        (es(TMsgDlgBtn::mbNo) && !Buttons.contains(TMsgDlgBtn::mbCancel)) ||
        (es(TMsgDlgBtn::mbOK) && !Buttons.contains(TMsgDlgBtn::mbCancel) &&
         !Buttons.contains(TMsgDlgBtn::mbNo))) {
      dialogo.cancelar = boton;
    }
  }
  fila->addStretch();
  // Equal widths, the widest caption's.
  int ancho = 75;
  for (QPushButton* b : botones) ancho = std::max(ancho, b->sizeHint().width());
  for (QPushButton* b : botones) b->setFixedWidth(ancho);
  if (predeterminado != nullptr) {
    predeterminado->setDefault(true);
    predeterminado->setFocus();
  }

  auto* todo = new QVBoxLayout(&dialogo);
  todo->addLayout(arriba);
  todo->addSpacing(8);
  todo->addLayout(fila);
  todo->setSizeConstraint(QLayout::SetFixedSize);
  return dialogo.exec();
}

}  // namespace xamu::ui
