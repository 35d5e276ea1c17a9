// The launcher's main window as real widgets on the offscreen platform: its layout, its
// captions in both languages, the offer's choices, its keys and hooks, and a worker's notice
// while its timer ticks. Each state is also saved as a PNG under the build folder.
#include "launcher/frm_autenticacion.h"

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "ui/codigos.h"
#include "ui/interfaz_qt.h"
#include "ui/qt_app.h"

namespace xamu {
namespace {

using testing::ModalAnswer;
using testing::SaveScreenshot;

class FrmAutenticacion : public ::testing::Test {
 protected:
  void SetUp() override { testing::App(); }
};

TEST_F(FrmAutenticacion, EveryControlIsAtItsPlaceAndNoPanelShowsAtCreation) {
  TfrmAutenticacion w;
  EXPECT_EQ(w.windowTitle(), "XAMU Web");
  EXPECT_EQ(w.size(), QSize(504, 224));
  EXPECT_EQ(w.minimumSize(), w.maximumSize()) << "not resizable";
  EXPECT_FALSE(w.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinMaxButtonsHint));
  EXPECT_EQ(w.palette().color(QPalette::Window), QColor(0xE9, 0xE9, 0xE9));
  struct Place {
    QWidget* control;
    QWidget* parent;
    QRect geometry;
  };
  const Place places[] = {
      {w.Panel1, &w, {0, 0, 504, 224}},
      {w.Label1, w.Panel1, {9, 26, 484, 107}},
      {w.ProgressBar1, w.Panel1, {9, 148, 484, 17}},
      {w.Panel3, &w, {0, 0, 504, 224}},
      {w.Panel5, w.Panel3, {9, 12, 484, 157}},
      {w.Label4, w.Panel5, {13, 11, 460, 33}},
      {w.Panel6, w.Panel5, {14, 54, 460, 67}},
      {w.rbActualizarTodo, w.Panel6, {0, 26, 241, 17}},
      {w.rbActualizarFaltantes, w.Panel6, {247, 26, 202, 17}},
      {w.rbNoActualizar, w.Panel6, {247, 26, 204, 17}},
      {w.lblDesarrollo, w.Panel5, {14, 127, 460, 21}},
      {w.btnContinuar, w.Panel3, {339, 183, 75, 25}},
      {w.btnSalir, w.Panel3, {418, 183, 75, 25}},
  };
  for (const Place& p : places) {
    EXPECT_EQ(p.control->parentWidget(), p.parent);
    EXPECT_EQ(p.control->geometry(), p.geometry);
  }
  for (QWidget* large : {static_cast<QWidget*>(w.Label4), static_cast<QWidget*>(w.lblDesarrollo),
                         static_cast<QWidget*>(w.rbActualizarTodo)}) {
    EXPECT_EQ(large->font().pixelSize(), 13);
  }
  EXPECT_EQ(w.Label1->font().pixelSize(), 11);
  EXPECT_EQ(w.ProgressBar1->minimum(), 0);
  EXPECT_EQ(w.ProgressBar1->maximum(), 100);
  EXPECT_TRUE(w.rbActualizarTodo->isChecked());
  EXPECT_EQ(w.btnContinuar->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(w.btnSalir->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(w.Timer1->interval(), 500);
  EXPECT_FALSE(w.Timer1->isActive());
  EXPECT_TRUE(w.PrimeraVez);

  w.show();
  EXPECT_FALSE(w.Panel1->isVisible());
  EXPECT_FALSE(w.Panel3->isVisible());
  EXPECT_FALSE(w.lblDesarrollo->isVisibleTo(w.Panel5));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(w.geometry().center(), screen.center()) << "centred";
  SaveScreenshot(w, "principal-creada");
}

TEST_F(FrmAutenticacion, CaptionsFollowIdiomaAndFitTheirBoxes) {
  struct Case {
    std::uint8_t idioma;
    const char* label1;
    const char* salir;
    const char* continuar;
    const char* label4;
    const char* todo;
    const char* faltantes;
    const char* no_actualizar;
    const char* name;
  };
  const Case cases[] = {
      {1, "Cargando XAMU.\nPor favor espere...", "Cancelar", "Aceptar",
       "XAMUweb tiene actualizaciones disponibles para descargar", "Actualizar todo (Recomendado)",
       "Actualizar faltantes", "No actualizar", "es"},
      {2, "Loading XAMU.\nPlease wait...", "Cancel", "OK", "New updates are available for download",
       "Update All (Recommended)", "Update missing", "No update", "en"},
      {0, "Loading XAMU.\nPlease wait...", "Cancel", "OK", "New updates are available for download",
       "Update All (Recommended)", "Update missing", "No update", ""},
  };
  for (const Case& c : cases) {
    TfrmAutenticacion w;
    w.EstablecerTitulos(c.idioma);
    EXPECT_EQ(w.Label1->text().toStdString(), c.label1);
    EXPECT_EQ(w.btnSalir->text().toStdString(), c.salir);
    EXPECT_EQ(w.btnContinuar->text().toStdString(), c.continuar);
    EXPECT_EQ(w.Label4->text().toStdString(), c.label4);
    EXPECT_EQ(w.rbActualizarTodo->text().toStdString(), c.todo);
    EXPECT_EQ(w.rbActualizarFaltantes->text().toStdString(), c.faltantes);
    EXPECT_EQ(w.rbNoActualizar->text().toStdString(), c.no_actualizar);
    // Nothing cut: each text's natural width within its box.
    for (QWidget* control :
         std::initializer_list<QWidget*>{w.rbActualizarTodo, w.rbActualizarFaltantes,
                                         w.rbNoActualizar, w.btnContinuar, w.btnSalir}) {
      EXPECT_LE(control->sizeHint().width(), control->width() + 6) << c.todo;
    }
    EXPECT_LE(w.Label4->fontMetrics().horizontalAdvance(w.Label4->text()), w.Label4->width());
    if (*c.name == '\0') continue;

    w.show();
    w.MostrarProgreso();
    SaveScreenshot(w, std::string("principal-cargando-") + c.name);
    w.EstablecerTexto(c.idioma == 1 ? "Sincronizando archivos locales\nPor favor espere..."
                                    : "Synchronizing local files\nPlease wait...");
    w.EstablecerProgreso(40);
    SaveScreenshot(w, std::string("principal-sincronizando-") + c.name);
    w.MostrarOferta();
    for (const auto& [presentes, variant] :
         {std::pair{0, "nuevos"}, std::pair{1, "algunos"}, std::pair{3, "todos"}}) {
      w.EstablecerOpciones(presentes, 3);
      SaveScreenshot(w, std::string("principal-oferta-") + variant + "-" + c.name);
    }
    w.lblDesarrollo->setText("XAMUREPORTES.EXE    (45%)");
    w.lblDesarrollo->show();
    SaveScreenshot(w, std::string("principal-descarga-") + c.name);
  }
}

TEST_F(FrmAutenticacion, TheOfferShowsAtMostOneOfTheTwoOtherChoices) {
  struct Case {
    std::size_t presentes, total;
    bool faltantes, no_actualizar;
  };
  const Case cases[] = {
      {0, 3, false, false}, {1, 3, true, false},  {2, 3, true, false},
      {3, 3, false, true},  {0, 1, false, false}, {1, 1, false, true},
  };
  TfrmAutenticacion w;
  w.show();
  w.MostrarOferta();
  EXPECT_TRUE(w.Panel3->isVisible());
  EXPECT_FALSE(w.Panel1->isVisible());
  for (const Case& c : cases) {
    w.EstablecerOpciones(c.presentes, c.total);
    EXPECT_TRUE(w.rbActualizarTodo->isVisible());
    EXPECT_EQ(w.rbActualizarFaltantes->isVisible(), c.faltantes) << c.presentes << "/" << c.total;
    EXPECT_EQ(w.rbNoActualizar->isVisible(), c.no_actualizar) << c.presentes << "/" << c.total;
  }
  w.MostrarProgreso();
  EXPECT_TRUE(w.Panel1->isVisible());
  EXPECT_FALSE(w.Panel3->isVisible());
}

TEST_F(FrmAutenticacion, EscPressesExitOnlyWhileTheOfferIsShownAndContinueRunsItsHook) {
  TfrmAutenticacion w;
  int continued = 0;
  w.AlContinuar = [&] { ++continued; };
  w.show();
  w.MostrarProgreso();
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_TRUE(w.isVisible()) << "no Exit on the progress panel";

  w.MostrarOferta();
  w.btnContinuar->click();
  EXPECT_EQ(continued, 1);
  QTest::keyClick(&w, Qt::Key_Escape);
  EXPECT_FALSE(w.isVisible()) << "Esc pressed btnSalir, which closes the window";
  EXPECT_EQ(continued, 1);
}

TEST_F(FrmAutenticacion, CannotBeClosedWhileTheSynchronizationRuns) {
  TfrmAutenticacion w;
  w.show();
  w.Timer1->start();
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  w.Timer1->stop();
  EXPECT_TRUE(w.close());
}

TEST_F(FrmAutenticacion, TheStartUpHookRunsOnceAfterTheFirstPaint) {
  TfrmAutenticacion w;
  int runs = 0;
  bool painted_before = false;
  w.AlPrimeraPintura = [&] {
    ++runs;
    painted_before = !w.PrimeraVez;
  };
  w.show();
  for (int i = 0; i < 3; ++i) {
    w.repaint();
    QCoreApplication::processEvents();
  }
  QTest::qWait(20);
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(painted_before);
}

// A worker raises a notice and sets the progress text; the window's timer keeps ticking
// under the open notice, and the worker waits until it is closed.
TEST_F(FrmAutenticacion, AWorkersNoticeWaitsWhileTimer1KeepsTicking) {
  TfrmAutenticacion w;
  TMensajes m;
  CargarMensajes(m, kIdiomaEspanol);
  ui::InterfazQt ui(
      m, [&](const std::string& t) { w.EstablecerTexto(t); },
      [&](int p) { w.EstablecerProgreso(p); });
  int ticks = 0;
  w.AlTemporizador = [&] { ++ticks; };
  w.Timer1->setInterval(10);  // the real 500 ms would only make the test slow
  w.show();
  w.MostrarProgreso();
  w.Timer1->start();
  std::atomic<bool> returned{false};
  int ticks_at_close = -1;
  ModalAnswer answer([&](QWidget* notice) {
    auto* closer = new QTimer(notice);
    QObject::connect(closer, &QTimer::timeout, [&, notice, closer] {
      if (ticks < 5) return;
      closer->stop();
      EXPECT_FALSE(returned);
      ticks_at_close = ticks;
      QTest::keyClick(notice, Qt::Key_Escape);
    });
    closer->start(5);
  });
  std::thread worker([&] {
    ui.EstablecerTextoProgreso("Sincronizando");
    ui.EstablecerProgreso(30);
    ui.MostrarAviso({.CodigoError = kCodigoFallaSincronizacion, .MostrarCodigo = true});
    returned = true;
  });
  while (!returned) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  worker.join();
  EXPECT_GE(ticks_at_close, 5);
  EXPECT_EQ(w.Label1->text(), "Sincronizando");
  EXPECT_EQ(w.ProgressBar1->value(), 30);
}

}  // namespace
}  // namespace xamu
