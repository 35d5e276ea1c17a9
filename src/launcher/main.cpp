// LauncherXamuWEB.exe: brings the installation up to date and hands the session to the
// main application. Every end of the process has exit code 0.
#include <QApplication>

#include "launcher/estado_lanzador.h"
#include "launcher/interfaz_registrada.h"
#include "launcher/lanzador.h"
#include "platform/run_log.h"
#include "platform/version.h"
#include "ui/fuentes.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Xamu Launcher");
  QApplication::setApplicationDisplayName("Xamu Launcher");
  xamu::ui::InstalarSustitucionesDeFuentes();
  // For the people who support its users, each run leaves its trace.
  xamu::platform::OpenRunLog(xamu::platform::RunLogPath());
  xamu::platform::LogLine(std::string("LauncherXamuWEB.exe ") + xamu::kVersion + " started");
  xamu::RegistrarIntercambiosHttp();
  xamu::EstadoLanzador estado;
  xamu::Lanzador lanzador(estado);
  if (!lanzador.FormCreate()) return 0;
  lanzador.Ventana().show();
  (void)QApplication::exec();  // the exit code is 0 whatever ends the loop
  xamu::platform::LogLine("exit 0");
  return 0;
}
