#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;

namespace xamu {

// The launcher's one window: the progress panel (Panel1) and the update offer (Panel3),
// each filling the client area, at most one shown. The start-up sequence and the update
// handling drive it through the hooks below; the window itself only shows. Created, used
// and destroyed on the user-interface thread.
class TfrmAutenticacion : public QWidget {
 public:
  TfrmAutenticacion();

  QFrame* Panel1;
  QLabel* Label1;
  QProgressBar* ProgressBar1;
  QFrame* Panel3;
  QFrame* Panel5;
  QLabel* Label4;
  QFrame* Panel6;
  QRadioButton* rbActualizarTodo;
  QRadioButton* rbActualizarFaltantes;
  QRadioButton* rbNoActualizar;
  QLabel* lblDesarrollo;
  QPushButton* btnContinuar;
  QPushButton* btnSalir;
  QTimer* Timer1;  // 500 ms, stopped at creation; each tick runs AlTemporizador

  // Run once, just after the window's first paint.
  std::function<void()> AlPrimeraPintura;
  std::function<void()> AlTemporizador;
  std::function<void()> AlContinuar;  // btnContinuar's click

  // Shows Panel1 (the progress) or Panel3 (the offer), hiding the other.
  void MostrarProgreso();
  void MostrarOferta();
  // The captions that depend on Idioma (1 Spanish, any other value English).
  void EstablecerTitulos(std::uint8_t Idioma);
  // The offer's choices for `presentes` of `total` files already installed: "update all"
  // always; "update missing" when some but not all are there; "no update" when all are.
  void EstablecerOpciones(std::size_t presentes, std::size_t total);
  void EstablecerTexto(const std::string& texto);  // Label1
  void EstablecerProgreso(int posicion);           // ProgressBar1

  bool PrimeraVez = true;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  // While the synchronization runs (Timer1 active) the window cannot be closed: the worker
  // may be waiting on it for a notice, and its end is the timer's to handle.
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace xamu
