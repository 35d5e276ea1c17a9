#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "launcher/lanzador.h"
#include "support/service_process.h"
#include "support/temp_dir.h"
#include "ui/custom_dialog.h"
#include "ui/frm_actualizacion_datos_usuarios.h"
#include "ui/frm_mensaje_error.h"
#include "ui/qt_app.h"

namespace xamu::testing {

namespace fs = std::filesystem;

// The texts a label showed, each time it painted a new one.
class PaintedTexts : public QObject {
 public:
  explicit PaintedTexts(QLabel& label) { label.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const std::string text = static_cast<QLabel*>(watched)->text().toStdString();
      if (texts.empty() || texts.back() != text) texts.push_back(text);
    }
    return false;
  }
  std::vector<std::string> texts;
};

// What a modal window showed while the launcher ran.
struct Modal {
  std::string kind;  // "aviso", "dialogo", "datos" (the user data form), "pregunta", "error"
  std::string text;  // a notice's description, a dialog's or a box's text
  DatosAviso aviso;  // a notice's data
};

// One run of the launcher in this process, against xamu-service on a copy of the sample
// content, in an installation folder whose name has spaces (given by the control file).
// Every modal window is recorded and answered; the run lasts until the launcher ends the
// process or the application (neither ends this one).
class LanzadorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    for (const char* v : {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY"}) unsetenv(v);
    setenv("LC_ALL", "es_MX.UTF-8", 1);
    Fresh();
  }

  // A new content, installation, service and state, for the next case of a table.
  void Fresh() {
    lanzador_.reset();
    service_.reset();
    modales.clear();
    proceso_terminado = aplicacion_terminada = ventana_cerrada = false;
    estado_ = std::make_unique<EstadoLanzador>();
    dir_ = std::make_unique<TempDir>();
    content_ = dir_->Path() / "content";
    fs::copy(XAMU_SERVICE_SAMPLE_CONTENT, content_, fs::copy_options::recursive);
    install_ = dir_->Path() / "Mis programas" / "Xamu Web";
    fs::create_directories(install_);
    ruta_ = install_.string() + "/";
    std::ofstream(dir_->Path() / "eXamu.ini")
        << "[CONTROL]\nRutaAplicacion=" << ruta_ << "\nIDClienteInterno=17\nIDUsuarioInterno=203\n";
    setenv("XAMU_CONTROL_INI", (dir_->Path() / "eXamu.ini").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("XAMU_CONTROL_INI");
    unsetenv("LC_ALL");
  }

  // The session's [Sesion] keys and sections of sesion.ini, rewritten before the start.
  void Session(const std::string& datos_usuario, const std::string& actualizados) {
    std::ifstream in(content_ / "sesion.ini");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text = text.substr(0, text.find("[DatosUsuario]")) + datos_usuario +
           "\n[Programas]\nActualizados=" + actualizados + "\nSincronizacion=\n";
    std::ofstream(content_ / "sesion.ini") << text;
  }
  void Faults(const std::string& faults) { std::ofstream(content_ / "faults.ini") << faults; }

  void StartService(const std::string& settings = "") {
    service_ = std::make_unique<ServiceProcess>(
        XAMU_SERVICE_PATH, std::vector<std::string>{"--content", content_.string(), "--log",
                                                    (dir_->Path() / "requests.log").string()});
    std::ofstream(install_ / "XAMUwebIP.ini") << "[XAMUWIN]\nURLServ=" << service_->Url() << "\n"
                                              << settings;
  }

  // Runs the launcher to its end; `datos` answers the user data form.
  void Run(const std::function<void(ui::TfrmActualizacionDatosUsuarios&)>& datos = {},
           const std::function<void(TfrmAutenticacion&)>& oferta = {}) {
    QEventLoop loop;
    Salidas salidas{.TerminarProceso =
                        [&] {
                          proceso_terminado = true;
                          loop.quit();
                        },
                    .TerminarAplicacion =
                        [&] {
                          aplicacion_terminada = true;
                          loop.quit();
                        }};
    lanzador_ = std::make_unique<Lanzador>(*estado_, salidas);
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* w = QApplication::activeModalWidget();
      if (w == nullptr || w->property("answered").toBool()) return;
      w->setProperty("answered", true);
      // Answered after this tick, so that a modal window the answer opens is seen by the
      // next one (a timer does not fire again inside its own slot).
      QTimer::singleShot(0, w, [this, w, &datos, &loop] { Answer(*w, datos, loop); });
    });
    answer.start();
    if (!lanzador_->FormCreate()) return;
    TfrmAutenticacion& ventana = lanzador_->Ventana();
    ventana.show();
    // The offer is answered once it shows; a window closed by the first paint's guard ends
    // the run too.
    QTimer offer;
    offer.setInterval(10);
    QObject::connect(&offer, &QTimer::timeout, [&] {
      if (!ventana.isVisible()) {
        ventana_cerrada = true;
        loop.quit();
        return;
      }
      if (ventana.Panel3->isVisible() && QApplication::activeModalWidget() == nullptr) {
        offer.stop();
        if (oferta) {
          QTimer::singleShot(0, &ventana, [&] { oferta(ventana); });
        } else {
          loop.quit();
        }
      }
    });
    offer.start();
    QTimer::singleShot(30'000, &loop, [&] {
      std::string ops;
      for (const std::string& op : Operations()) ops += op + "\n";
      ADD_FAILURE() << "the launcher did not end; shown:\n" << Shown() << "requests:\n" << ops;
      loop.quit();
    });
    loop.exec();
    ventana.Timer1->stop();
  }

  void Answer(QWidget& w, const std::function<void(ui::TfrmActualizacionDatosUsuarios&)>& datos,
              QEventLoop& loop) {
    if (auto* aviso = dynamic_cast<ui::TfrmMensajeError*>(&w)) {
      modales.push_back({"aviso", aviso->lblDescripcion->text().toStdString(), aviso->Aviso()});
      // Closed without ending this process's event loops; a notice that would end the
      // application ends the run instead.
      aviso->QDialog::reject();
      if (aviso->Aviso().SalirAlCerrar) loop.quit();
    } else if (auto* form = dynamic_cast<ui::TfrmActualizacionDatosUsuarios*>(&w)) {
      modales.push_back({"datos", form->windowTitle().toStdString(), {}});
      if (datos) datos(*form);
    } else if (auto* box = qobject_cast<QMessageBox*>(&w)) {
      modales.push_back({box->icon() == QMessageBox::Question ? "pregunta" : "error",
                         box->text().toStdString(),
                         {}});
      box->button(box->icon() == QMessageBox::Question ? QMessageBox::Yes : QMessageBox::Ok)
          ->click();
    } else {
      const QLabel* text = w.findChild<QLabel*>("texto");
      modales.push_back({"dialogo", text ? text->text().toStdString() : "", {}});
      static_cast<QDialog&>(w).done(1);
    }
  }

  std::vector<std::string> Operations() const {
    std::ifstream in(dir_->Path() / "requests.log");
    std::vector<std::string> ops;
    for (std::string line; std::getline(in, line);) {
      std::vector<std::string> fields;
      std::size_t start = 0;
      for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
      fields.push_back(line.substr(start));
      if (fields.size() >= 4)
        ops.push_back(fields[3] == "-" ? fields[0] + " " + fields[1] : fields[3]);
    }
    return ops;
  }

  // The modal windows shown, one "kind: text" per line.
  std::string Shown() const {
    std::string out;
    for (const Modal& m : modales) out += m.kind + ": " + m.text + "\n";
    return out;
  }

  std::size_t Tables() const {
    const fs::path cds = install_ / "ArchivosCDS";
    if (!fs::exists(cds)) return 0;
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(cds), fs::directory_iterator()));
  }

  std::unique_ptr<TempDir> dir_;
  fs::path content_;
  fs::path install_;
  std::string ruta_;
  std::unique_ptr<ServiceProcess> service_;
  std::unique_ptr<EstadoLanzador> estado_;
  std::unique_ptr<Lanzador> lanzador_;
  std::vector<Modal> modales;
  bool proceso_terminado = false;
  bool aplicacion_terminada = false;
  bool ventana_cerrada = false;
};

}  // namespace xamu::testing
