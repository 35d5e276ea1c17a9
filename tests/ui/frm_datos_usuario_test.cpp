// The user data form as real widgets on the offscreen platform: its layout in both
// languages, the typing filters, the Ok button's checks and sending, Exit, and the load
// failure. Each state is also saved as a PNG under the build folder.
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "support/recording_ui.h"
#include "support/service_process.h"
#include "support/temp_dir.h"
#include "ui/codigos.h"
#include "ui/frm_actualizacion_datos_usuarios.h"
#include "ui/qt_app.h"
#include "ui/registro_usuario_fixture.h"

namespace xamu::ui {
namespace {

using xamu::testing::FakeAutenticacion;
using xamu::testing::kNine;
using xamu::testing::ModalAnswer;
using xamu::testing::Record;
using xamu::testing::RecordingUi;
using xamu::testing::SaveScreenshot;

// One form with the sample record, its client a fake that records what it was sent.
class FrmDatosUsuario : public ::testing::Test {
 protected:
  void SetUp() override {
    xamu::testing::App();
    setenv("LC_ALL", "es_MX.UTF-8", 1);
    CargarMensajes(mensajes_, kIdiomaEspanol);
  }
  void TearDown() override { unsetenv("LC_ALL"); }

  std::unique_ptr<TfrmActualizacionDatosUsuarios> Form(std::int16_t codigo = 0,
                                                       bool fails = false) {
    arreglo_ = Record(kNine);
    auto form = std::make_unique<TfrmActualizacionDatosUsuarios>(EntornoDatosUsuario{
        .ArregloArchivosCDS = arreglo_,
        .Mensajes = mensajes_,
        .Sesion = {.IDCliente = 17, .IDUsuario = 203, .NombreCliente = "Grupo"},
        .CrearClienteAutenticacion =
            [this, codigo, fails] {
              ++calls_;
              return std::make_unique<FakeAutenticacion>(codigo, 4, fails, sent_);
            },
        .ui = ui_});
    form->show();
    return form;
  }

  // Clicks Ok and returns the text of the message dialog it opened ("" when none).
  std::string ClickOk(TfrmActualizacionDatosUsuarios& form) {
    std::string message;
    ModalAnswer answer([&](QWidget* w) {
      if (auto* text = w->findChild<QLabel*>("texto")) message = text->text().toStdString();
      QTest::keyClick(w, Qt::Key_Return);
    });
    form.btnAceptar->click();
    return message;
  }

  TMensajes mensajes_;
  TipoArregloByte arreglo_;
  TipoArregloByte sent_;
  int calls_ = 0;
  RecordingUi ui_;
};

TEST_F(FrmDatosUsuario, ShowsTheRecordTrimmedInTheSystemsLanguage) {
  struct Case {
    const char* lang;
    const char* caption;
    std::vector<const char*> labels;  // the nine, in the table's order
    const char* aceptar;
    const char* salir;
    const char* picture;
  };
  const Case cases[] = {
      {"es_MX.UTF-8",
       "Datos usuario",
       {"Nombre empresa", "Nombre usuario", "Dirección", "Teléfonos", "Código país", "Código área",
        "Fax", "Fecha de registro", "Email"},
       "Ok",
       "Salir",
       "datos-usuario-es"},
      {"en_US.UTF-8",
       "User information",
       {"Company name", "User name", "Address", "Phone number", "Country code", "Area code", "Fax",
        "Registration date", "Email"},
       "Ok",
       "Exit",
       "datos-usuario-en"},
  };
  for (const Case& c : cases) {
    setenv("LC_ALL", c.lang, 1);
    auto form = Form();
    TfrmActualizacionDatosUsuarios& f = *form;
    EXPECT_EQ(f.windowTitle().toStdString(), c.caption);
    EXPECT_EQ(f.size(), QSize(714, 322));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
    const QLabel* labels[] = {f.lblNombreEmpresa, f.lblNombreUsuario, f.lblDireccion,
                              f.lblTelefonos,     f.lblCodigoPais,    f.lblCodigoArea,
                              f.lblFax,           f.lblFechaRegistro, f.lblEmail};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
      EXPECT_EQ(labels[i]->text().toStdString(), c.labels[i]) << c.lang;
    }
    EXPECT_EQ(f.btnAceptar->text().toStdString(), c.aceptar);
    EXPECT_EQ(f.btnSalir->text().toStdString(), c.salir);
    // Every caption ends before the control to its right.
    const std::pair<const QWidget*, int> before[] = {
        {f.lblNombreEmpresa, 130}, {f.lblNombreUsuario, 128}, {f.lblDireccion, 128},
        {f.lblTelefonos, 128},     {f.lblCodigoPais, 216},    {f.lblCodigoArea, 392},
        {f.lblFax, 128},           {f.lblFechaRegistro, 600}, {f.lblEmail, 128}};
    for (const auto& [label, right] : before) {
      EXPECT_LE(label->geometry().right(), right)
          << static_cast<const QLabel*>(label)->text().toStdString();
      EXPECT_LE(label->sizeHint().width(), std::max(label->width(), 1) + 1)
          << "cut: " << static_cast<const QLabel*>(label)->text().toStdString();
    }
    EXPECT_EQ(f.lblEmpresa->text().toStdString(), "Grupo Financiero Altiplano");
    EXPECT_EQ(f.lblEmpresa->pos(), QPoint(130, 32));
    EXPECT_EQ(f.edtNombreUsuario->text().toStdString(), "María García López");
    EXPECT_EQ(f.edtTelefono2Usuario->text(), "");
    EXPECT_EQ(f.edtFaxUsuario->text(), "");
    EXPECT_EQ(f.edtEmailUsuario->text().toStdString(), "maria@altiplano.mx");
    EXPECT_EQ(f.dtpFechaRegistroUsuario->date(), QDate(2019, 3, 14));
    EXPECT_FALSE(f.dtpFechaRegistroUsuario->isEnabled());
    EXPECT_EQ(f.dtpFechaRegistroUsuario->geometry(), QRect(600, 208, 105, 21));
    EXPECT_TRUE(arreglo_.empty()) << "the record is read out of the array";
    SaveScreenshot(f, c.picture);
  }
}

TEST_F(FrmDatosUsuario, EditsHaveTheirPlacesLengthsAlignmentAndTabOrder) {
  auto form = Form();
  TfrmActualizacionDatosUsuarios& f = *form;
  struct Edit {
    QLineEdit* edit;
    QRect geometry;
    int max_length;
    bool right;
  };
  const Edit edits[] = {
      {f.edtNombreUsuario, {128, 84, 577, 21}, 80, false},
      {f.edtDireccionUsuario, {128, 128, 577, 21}, 120, false},
      {f.edtCodigoPaisUsuario, {216, 168, 49, 21}, 4, true},
      {f.edtCodigoAreaUsuario, {392, 168, 49, 21}, 4, true},
      {f.edtTelefono1Usuario, {456, 168, 121, 21}, 10, true},
      {f.edtTelefono2Usuario, {584, 168, 121, 21}, 10, true},
      {f.edtFaxUsuario, {128, 208, 121, 21}, 10, true},
      {f.edtEmailUsuario, {128, 248, 577, 21}, 60, false},
  };
  for (const Edit& e : edits) {
    EXPECT_EQ(e.edit->geometry(), e.geometry);
    EXPECT_EQ(e.edit->maxLength(), e.max_length);
    EXPECT_EQ((e.edit->alignment() & Qt::AlignRight) != 0, e.right);
  }
  EXPECT_EQ(f.btnAceptar->geometry(), QRect(551, 288, 75, 25));
  EXPECT_EQ(f.btnSalir->geometry(), QRect(632, 288, 75, 25));
  EXPECT_EQ(f.btnAceptar->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(f.btnSalir->focusPolicy(), Qt::NoFocus);

  // Tab walks the edits in order, past the disabled picker, and wraps.
  QApplication::setActiveWindow(&f);
  f.edtNombreUsuario->setFocus();
  std::vector<QWidget*> visited;
  for (int i = 0; i < 9; ++i) {
    visited.push_back(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const std::vector<QWidget*> expected = {
      f.edtNombreUsuario,     f.edtDireccionUsuario, f.edtCodigoPaisUsuario,
      f.edtCodigoAreaUsuario, f.edtTelefono1Usuario, f.edtTelefono2Usuario,
      f.edtFaxUsuario,        f.edtEmailUsuario,     f.edtNombreUsuario};
  EXPECT_EQ(visited, expected);
}

TEST_F(FrmDatosUsuario, TheNumberFieldsTakeOnlyTheirCharacters) {
  auto form = Form();
  TfrmActualizacionDatosUsuarios& f = *form;
  QApplication::clipboard()->setText("77");
  struct Case {
    QLineEdit* edit;
    const char* typed;
    const char* result;  // after clearing the field and typing
  };
  const Case cases[] = {
      {f.edtCodigoPaisUsuario, "5a2 .-", "52"},
      {f.edtCodigoAreaUsuario, "x9\b8", "8"},
      {f.edtTelefono1Usuario, "55a-01.2 3x", "55-01.2 3"},
      {f.edtTelefono2Usuario, "(55) 12", "55 12"},
      {f.edtFaxUsuario, "+52 1", "52 1"},
      {f.edtNombreUsuario, "Ana (Q)", "Ana (Q)"},
  };
  for (const Case& c : cases) {
    c.edit->clear();
    c.edit->setFocus();
    for (const char* p = c.typed; *p != '\0'; ++p) {
      if (*p == '\b') {
        QTest::keyClick(c.edit, Qt::Key_Backspace);
      } else {
        QTest::keyClicks(c.edit, QString(QChar(*p)));
      }
    }
    EXPECT_EQ(c.edit->text().toStdString(), c.result) << c.typed;
  }
  // The clipboard's shortcuts do nothing in the five number fields, and work elsewhere.
  for (QLineEdit* edit : {f.edtCodigoPaisUsuario, f.edtCodigoAreaUsuario, f.edtTelefono1Usuario,
                          f.edtTelefono2Usuario, f.edtFaxUsuario}) {
    edit->setText("1");
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "1");
  }
  f.edtNombreUsuario->setText("A");
  f.edtNombreUsuario->end(false);
  QTest::keyClick(f.edtNombreUsuario, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(f.edtNombreUsuario->text(), "A77");

  // The context menu of a number field offers no paste.
  bool paste_enabled = true;
  bool menu_seen = false;
  QTimer::singleShot(50, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      menu_seen = true;
      paste_enabled = false;
      for (QAction* a : menu->actions()) {
        if (a->objectName() == "edit-paste" && a->isEnabled()) paste_enabled = true;
      }
      menu->close();
    }
  });
  QContextMenuEvent menu_event(QContextMenuEvent::Mouse, QPoint(5, 5),
                               f.edtFaxUsuario->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(f.edtFaxUsuario, &menu_event);
  EXPECT_TRUE(menu_seen);
  EXPECT_FALSE(paste_enabled);
}

TEST_F(FrmDatosUsuario, OkStopsAtTheFirstEmptyRequiredFieldWithTheCataloguesText) {
  struct Case {
    std::uint8_t idioma;
    const char* message;
  };
  // The form's own captions are the system's (Spanish here); the message is Idioma's.
  const Case cases[] = {{kIdiomaEspanol, "Información requerida"},
                        {kIdiomaIngles, "Information required"}};
  for (const Case& c : cases) {
    CargarMensajes(mensajes_, c.idioma);
    auto form = Form();
    TfrmActualizacionDatosUsuarios& f = *form;
    QApplication::setActiveWindow(&f);
    QLineEdit* const required[] = {f.edtNombreUsuario,     f.edtDireccionUsuario,
                                   f.edtCodigoPaisUsuario, f.edtCodigoAreaUsuario,
                                   f.edtTelefono1Usuario,  f.edtEmailUsuario};
    // Emptied from the last to the first, each in turn is the first empty one.
    for (auto it = std::rbegin(required); it != std::rend(required); ++it) {
      (*it)->setText(" \t");
      f.edtTelefono2Usuario->setFocus();
      EXPECT_EQ(ClickOk(f), c.message);
      EXPECT_EQ(f.focusWidget(), *it);
      EXPECT_TRUE(f.isVisible()) << "the form stays open";
    }
    EXPECT_EQ(calls_, 0) << "nothing is sent";
  }
}

TEST_F(FrmDatosUsuario, OkSendsTheUpdateAndClosesWithOkWhateverTheAnswer) {
  struct Case {
    std::int16_t codigo;
    bool fails;
    std::vector<std::uint16_t> notices;
  };
  const Case cases[] = {{0, false, {}}, {67, false, {67}}, {0, true, {kCodigoSinConexion}}};
  for (const Case& c : cases) {
    ui_.avisos.clear();
    auto form = Form(c.codigo, c.fails);
    TfrmActualizacionDatosUsuarios& f = *form;
    f.edtNombreUsuario->setText("  Ana Ruiz ");
    EXPECT_EQ(ClickOk(f), "");
    EXPECT_EQ(f.result(), kResultadoOk);
    EXPECT_FALSE(f.isVisible());
    std::vector<std::uint16_t> notices;
    for (const DatosAviso& a : ui_.avisos) {
      notices.push_back(a.CodigoError);
      EXPECT_EQ(a.MostrarCodigo, !c.fails);
      EXPECT_FALSE(a.SalirAlCerrar);
      EXPECT_EQ(a.IDCliente, 17);
    }
    EXPECT_EQ(notices, c.notices);

    MemoryStream stream;
    DescomprimirArreglo(stream, sent_);
    TReader reader(stream);
    EXPECT_EQ(reader.ReadInteger(), 17);
    EXPECT_EQ(reader.ReadInteger(), 203);
    const char* expected[] = {"Ana Ruiz", "Av. Reforma 222",   "52", "55", "5555-0123", "",
                              "",         "maria@altiplano.mx"};
    for (const char* e : expected) EXPECT_EQ(Utf16ToUtf8(reader.ReadString()), e);
  }
}

TEST_F(FrmDatosUsuario, ExitAsksAndEndsTheLauncherOnlyOnYes) {
  struct Case {
    QMessageBox::StandardButton answer;
    int result;
  };
  for (const Case c :
       {Case{QMessageBox::No, kResultadoCerrar}, Case{QMessageBox::Yes, kResultadoCancelar}}) {
    auto form = Form();
    QString question;
    ModalAnswer answer([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      ASSERT_NE(box, nullptr);
      question = box->text();
      box->button(c.answer)->click();
    });
    form->btnSalir->click();
    EXPECT_EQ(question.toStdString(), "¿Está seguro que desea salir?");
    EXPECT_EQ(form->result(), c.result);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(calls_, 0);
  }
}

TEST_F(FrmDatosUsuario, EscAndEnterDoNotCloseTheForm) {
  auto form = Form();
  QApplication::setActiveWindow(form.get());
  form->edtNombreUsuario->setFocus();
  QTest::keyClick(form->edtNombreUsuario, Qt::Key_Escape);
  QTest::keyClick(form->edtNombreUsuario, Qt::Key_Return);
  form->close();
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(calls_, 0);
}

TEST_F(FrmDatosUsuario, AnUnreadableRecordIsSaidThenTheFormCancelsItselfWhenItPaints) {
  struct Case {
    const char* lang;
    TipoArregloByte record;
    const char* message;
  };
  const Case cases[] = {
      {"es_MX.UTF-8", Record(kNine, false), "Aviso: no se pudo cargar la información"},
      {"en_US.UTF-8", {}, "Notice: Could not upload the information"},
      {"en_US.UTF-8", {1, 2, 3, 4, 5, 6}, "Notice: Could not upload the information"},
  };
  for (const Case& c : cases) {
    setenv("LC_ALL", c.lang, 1);
    TipoArregloByte record = c.record;
    std::string message;
    ModalAnswer answer([&](QWidget* w) {
      if (auto* text = w->findChild<QLabel*>("texto")) message = text->text().toStdString();
      QTest::keyClick(w, Qt::Key_Return);
    });
    TfrmActualizacionDatosUsuarios form(EntornoDatosUsuario{.ArregloArchivosCDS = record,
                                                            .Mensajes = mensajes_,
                                                            .Sesion = {},
                                                            .CrearClienteAutenticacion = {},
                                                            .ui = ui_});
    EXPECT_EQ(message, c.message);
    QTimer::singleShot(5000, &form, [&] { form.done(-1); });
    EXPECT_EQ(form.exec(), kResultadoCancelar);
  }
}

// Against xamu-service: an update it keeps, one refused with code 67, one that fails.
TEST_F(FrmDatosUsuario, TheServicesAnswersEndAsTheyShould) {
  namespace fs = std::filesystem;
  for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"}) unsetenv(v);
  struct Case {
    const char* faults;
    std::vector<std::uint16_t> notices;
    std::int32_t status;
    const char* stored_name;
  };
  const Case cases[] = {
      {"", {}, 0, "Ana Ruiz"},
      {"[GrabarDatosUsuarios]\nCodigoError=67\nStatus=5\n", {67}, 5, "María García López"},
      {"[GrabarDatosUsuarios]\nHttpStatus=503\n", {kCodigoSinConexion}, 0, "María García López"},
  };
  for (const Case& c : cases) {
    xamu::testing::TempDir content;
    fs::copy(XAMU_SERVICE_SAMPLE_CONTENT, content.Path(), fs::copy_options::recursive);
    std::ofstream(content.Path() / "faults.ini") << c.faults;
    xamu::testing::ServiceProcess service(XAMU_SERVICE_PATH,
                                          {"--content", content.Path().string()});
    ServiceSettings settings;
    settings.URLServ = service.Url();

    // The record as the service sends it, as the launcher would hand it over.
    SesionAutenticada sesion;
    CrearClienteAutenticacion(settings)->AutenticarCliente({}, "equipo", sesion);
    TipoArregloByte record = sesion.ArregloDatosUsuario;
    ui_.avisos.clear();
    TfrmActualizacionDatosUsuarios form(EntornoDatosUsuario{
        .ArregloArchivosCDS = record,
        .Mensajes = mensajes_,
        .Sesion = {.IDCliente = sesion.IDCliente,
                   .IDUsuario = sesion.IDUsuario,
                   .NombreCliente = sesion.NombreCliente},
        .CrearClienteAutenticacion = [&] { return CrearClienteAutenticacion(settings); },
        .ui = ui_});
    form.show();
    form.edtNombreUsuario->setText("Ana Ruiz");
    EXPECT_EQ(ClickOk(form), "");
    EXPECT_EQ(form.result(), kResultadoOk) << c.faults;
    std::vector<std::uint16_t> notices;
    for (const DatosAviso& a : ui_.avisos) {
      notices.push_back(a.CodigoError);
      EXPECT_EQ(a.Status, c.status);
    }
    EXPECT_EQ(notices, c.notices) << c.faults;

    fs::remove(content.Path() / "faults.ini");
    SesionAutenticada again;
    CrearClienteAutenticacion(settings)->AutenticarCliente({}, "equipo", again);
    const std::optional<UserRecord> stored = ReadUserRecord(again.ArregloDatosUsuario);
    ASSERT_TRUE(stored);
    EXPECT_EQ(Utf16ToUtf8(stored->Campos[kNombre]), c.stored_name) << c.faults;
  }
}

}  // namespace
}  // namespace xamu::ui
