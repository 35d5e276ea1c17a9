// LauncherXamuWEB.exe: brings the installation up to date and hands the session to the
// main application. Every end of the process has exit code 0.
#include <QApplication>

#include "launcher/estado_lanzador.h"
#include "launcher/lanzador.h"
#include "ui/fuentes.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Xamu Launcher");
  QApplication::setApplicationDisplayName("Xamu Launcher");
  xamu::ui::InstalarSustitucionesDeFuentes();
  xamu::EstadoLanzador estado;
  xamu::Lanzador lanzador(estado);
  if (!lanzador.FormCreate()) return 0;
  lanzador.Ventana().show();
  (void)QApplication::exec();  // the exit code is 0 whatever ends the loop
  return 0;
}
