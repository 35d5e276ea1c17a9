// The notice window, the message dialog and the Qt user interface, as real widgets on the
// offscreen platform. Every window is also saved as a PNG under the build folder.
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "ui/custom_dialog.h"
#include "ui/frm_mensaje_error.h"
#include "ui/interfaz_qt.h"
#include "ui/qt_app.h"

namespace xamu::ui {
namespace {

using testing::SaveScreenshot;
using testing::WhenModalOpens;

TMensajes Catalogue(std::uint8_t idioma) {
  TMensajes m;
  CargarMensajes(m, idioma);
  return m;
}

class Ventanas : public ::testing::Test {
 protected:
  void SetUp() override { testing::App(); }
};

TEST_F(Ventanas, TheNoticeShowsItsTitleAndTheDescriptionOfItsCode) {
  struct Case {
    std::uint8_t idioma;
    DatosAviso aviso;
    const char* title;
    const char* description;
    const char* picture;
  };
  const Case cases[] = {
      {1,
       {.CodigoError = 24, .Status = 5},
       "Aviso",
       "No se puede grabar información.\nRevise configuración de seguridad y espacio en disco.",
       "aviso-24-es"},
      {2,
       {.CodigoError = 24},
       "Notice",
       "Can not record information.\nCheck security settings and disk space.",
       "aviso-24-en"},
      {2,
       {.CodigoError = 190, .Status = -7, .MostrarCodigo = true},
       "Notice",
       "Aviso :  # 190\nStatus : -7",
       "aviso-codigo-en"},
      {1,
       {.CodigoError = 157},
       "Aviso",
       "No se puede establecer conexión con el servidor\nIntente nuevamente",
       "aviso-157-es"},
      {1, {.CodigoError = 25}, "Aviso", "", "aviso-25-es"},
  };
  for (const Case& c : cases) {
    const TMensajes m = Catalogue(c.idioma);
    TfrmMensajeError w(m, c.aviso);
    EXPECT_EQ(w.windowTitle(), "XAMU Web");
    EXPECT_EQ(w.size(), QSize(381, 254));
    EXPECT_EQ(w.lblError->text().toStdString(), c.title);
    EXPECT_EQ(w.lblDescripcion->text().toStdString(), c.description) << c.picture;
    EXPECT_EQ(w.lblDescripcion->geometry(), QRect(17, 49, 321, 121));
    EXPECT_EQ(w.btnEmail->geometry(), QRect(213, 223, 75, 25));
    EXPECT_EQ(w.btnSalir->geometry(), QRect(294, 223, 75, 25));
    EXPECT_EQ(w.btnEmail->text().toStdString(), m.Correo);
    EXPECT_EQ(w.btnSalir->text().toStdString(), m.Cerrar);
    EXPECT_EQ(w.btnEmail->focusPolicy(), Qt::NoFocus);
    // Both captions fit their buttons beside the image.
    for (QPushButton* b : {w.btnEmail, w.btnSalir})
      EXPECT_LE(b->sizeHint().width(), b->width() + 6) << b->text().toStdString();
    w.show();
    SaveScreenshot(w, c.picture);
  }
}

TEST_F(Ventanas, EscOrCloseEndsTheNoticeAndTheMailButtonLeavesItOpen) {
  const TMensajes m = Catalogue(1);
  std::string link;
  TfrmMensajeError::AbrirEnlace() = [&](const std::string& l) { link = l; };
  bool open_after_mail = false;
  WhenModalOpens([&](QWidget* w) {
    auto* notice = static_cast<TfrmMensajeError*>(w);
    notice->btnEmail->click();
    open_after_mail = notice->isVisible();
    QTest::keyClick(notice, Qt::Key_Escape);
  });
  MostrarAvisoEnVentana(
      m, {.CodigoError = 24, .NombreCliente = "Banco", .IDCliente = 17, .IDUsuario = -3});
  EXPECT_TRUE(open_after_mail);
  EXPECT_EQ(link, EnlaceCorreoSoporte("No se puede grabar información.\nRevise configuración de "
                                      "seguridad y espacio en disco.",
                                      "Banco", 17, -3));

  WhenModalOpens([](QWidget* w) { static_cast<TfrmMensajeError*>(w)->btnSalir->click(); });
  MostrarAvisoEnVentana(m, {.CodigoError = 25});  // returns: the test goes on
  TfrmMensajeError::AbrirEnlace() = nullptr;
}

struct DialogAnswer {
  QString title;
  std::vector<QString> captions;
  int width = 0;
};

// Shows the dialog, records it, then sends `key` (with `modifiers`) or closes it.
int Dialog(const std::string& text, TMsgDlgType type, const TMsgDlgButtons& buttons, int key,
           DialogAnswer& seen, const std::string& picture = "",
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  WhenModalOpens([&, key, modifiers, picture](QWidget* w) {
    seen.title = w->windowTitle();
    seen.width = w->width();
    for (QPushButton* b : w->findChildren<QPushButton*>()) seen.captions.push_back(b->text());
    if (!picture.empty()) SaveScreenshot(*w, picture);
    if (key == 0) {
      w->close();
    } else {
      QTest::keyClick(w->focusWidget() ? w->focusWidget() : w, static_cast<Qt::Key>(key),
                      modifiers);
    }
  });
  return TCustomDialog::MessageDlg(text, type, buttons);
}

TEST_F(Ventanas, TheMessageDialogSpeaksTheSystemsLanguageWithItsButtonsAndKeys) {
  using B = TMsgDlgBtn;
  struct Case {
    const char* lang;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    int key;
    Qt::KeyboardModifiers modifiers;
    int result;
    QString title;
    std::vector<QString> captions;
    const char* picture;
  };
  const Case cases[] = {
      {"es_MX.UTF-8",
       TMsgDlgType::mtError,
       {B::mbOK},
       Qt::Key_Return,
       Qt::NoModifier,
       1,
       "Aviso",
       {"OK"},
       "dialogo-error-es"},
      {"es_ES.UTF-8",
       TMsgDlgType::mtError,
       {B::mbOK},
       Qt::Key_Escape,
       Qt::NoModifier,
       1,
       "Aviso",
       {"OK"},
       ""},
      {"en_US.UTF-8",
       TMsgDlgType::mtError,
       {B::mbOK},
       0,
       Qt::NoModifier,
       2,
       "Notice",
       {"OK"},
       "dialogo-error-en"},
      {"pt_BR.UTF-8",
       TMsgDlgType::mtWarning,
       {B::mbOK},
       Qt::Key_Return,
       Qt::NoModifier,
       1,
       "Warning",
       {"OK"},
       ""},
      {"es_MX.UTF-8",
       TMsgDlgType::mtConfirmation,
       {B::mbNo, B::mbYes},
       Qt::Key_Return,
       Qt::NoModifier,
       6,
       "Confirmar",
       {"&Si", "&No"},
       "dialogo-si-no-es"},
      {"es_MX.UTF-8",
       TMsgDlgType::mtConfirmation,
       {B::mbYes, B::mbNo},
       Qt::Key_Escape,
       Qt::NoModifier,
       7,
       "Confirmar",
       {"&Si", "&No"},
       ""},
      {"es_MX.UTF-8",
       TMsgDlgType::mtConfirmation,
       {B::mbYes, B::mbNo},
       Qt::Key_N,
       Qt::AltModifier,
       7,
       "Confirmar",
       {"&Si", "&No"},
       ""},
      {"en_US.UTF-8",
       TMsgDlgType::mtInformation,
       {B::mbOK, B::mbCancel, B::mbRetry},
       Qt::Key_Escape,
       Qt::NoModifier,
       2,
       "Information",
       {"OK", "Cancel", "&Retry"},
       ""},
      {"en_US.UTF-8",
       TMsgDlgType::mtCustom,
       {B::mbAbort, B::mbRetry, B::mbIgnore},
       Qt::Key_Return,
       Qt::NoModifier,
       4,
       "Xamu Launcher",
       {"&Abort", "&Retry", "&Ignore"},
       "dialogo-custom-en"},
  };
  for (const Case& c : cases) {
    setenv("LC_ALL", c.lang, 1);
    DialogAnswer seen;
    EXPECT_EQ(Dialog("No se pudo leer la configuración.", c.type, c.buttons, c.key, seen, c.picture,
                     c.modifiers),
              c.result)
        << c.lang << " " << c.captions.front().toStdString();
    EXPECT_EQ(seen.title, c.title) << c.lang;
    EXPECT_EQ(seen.captions, c.captions) << c.lang;
  }
  unsetenv("LC_ALL");
}

TEST_F(Ventanas, ALongTextIsWrappedWithinHalfTheScreen) {
  DialogAnswer seen;
  std::string text;
  for (int i = 0; i < 60; ++i) text += "Una explicación bastante larga del problema. ";
  Dialog(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, Qt::Key_Return, seen, "dialogo-largo");
  const int half = QGuiApplication::primaryScreen()->availableGeometry().width() / 2;
  EXPECT_LE(seen.width, half + 120) << "the text at most half the screen, plus the icon";
}

TEST_F(Ventanas, AWorkerWaitsForItsNoticeWhileTheTimerKeepsTicking) {
  const TMensajes m = Catalogue(1);
  std::vector<std::string> texts;
  InterfazQt ui(
      m, [&](const std::string& t) { texts.push_back(t); }, [](int) {});
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(10);
  std::atomic<bool> returned{false};
  int ticks_when_closed = -1;
  WhenModalOpens([&](QWidget* w) {
    // Closed only once the timer has ticked a few times under the open notice.
    auto* closer = new QTimer(w);
    QObject::connect(closer, &QTimer::timeout, [&, w, closer] {
      if (ticks < 5) return;
      closer->stop();
      EXPECT_FALSE(returned) << "the worker is still waiting";
      ticks_when_closed = ticks;
      QTest::keyClick(w, Qt::Key_Escape);
    });
    closer->start(5);
  });
  std::thread worker([&] {
    ui.EstablecerTextoProgreso("Sincronizando");
    ui.MostrarAviso({.CodigoError = 24});
    returned = true;
  });
  while (!returned) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_GE(ticks_when_closed, 5);
  EXPECT_EQ(texts, std::vector<std::string>{"Sincronizando"});
  ui.EstablecerTextoProgreso("en la ventana");  // from the user-interface thread: at once
  EXPECT_EQ(texts.back(), "en la ventana");
}

// Last: once the application has been told to end, no later event loop runs in this process.
TEST_F(Ventanas, ANoticeThatEndsTheApplicationEndsItsEventLoop) {
  const TMensajes m = Catalogue(2);
  QEventLoop loop;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    WhenModalOpens([&](QWidget* w) {
      shown = true;
      QTest::keyClick(w, Qt::Key_Escape);
    });
    MostrarAvisoEnVentana(m, {.CodigoError = 157, .SalirAlCerrar = true});
  });
  QTimer::singleShot(5000, &loop, [&] { loop.exit(1); });
  EXPECT_EQ(loop.exec(), 0) << "the application's end reaches every loop";
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace xamu::ui
