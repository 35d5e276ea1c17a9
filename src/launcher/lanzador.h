#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "launcher/estado_lanzador.h"
#include "launcher/frm_autenticacion.h"
#include "launcher/interfaz_registrada.h"
#include "launcher/programas.h"
#include "launcher/settings.h"
#include "service/clientes.h"
#include "sync/thrd_sincronizar.h"
#include "ui/interfaz_qt.h"

namespace xamu {

// The two ways the launcher stops. Ending the process at once exits with code 0 straight
// away: no later event runs and nothing is saved. Terminating the application ends the
// event loop after the current event; the window is then destroyed and the program returns 0.
struct Salidas {
  std::function<void()> TerminarProceso;
  std::function<void()> TerminarAplicacion;
};
Salidas SalidasDelProceso();

// The launcher's behaviour on its window: creation, the start-up sequence on the first
// paint, the update offer and the download of program files, the synchronization phase with
// its timer, and the hand-off. Lives on the user-interface thread for the whole run; owns
// the window and, while it runs, the worker.
class Lanzador {
 public:
  Lanzador(EstadoLanzador& estado, Salidas salidas = SalidasDelProceso());
  ~Lanzador();  // FormDestroy
  Lanzador(const Lanzador&) = delete;
  Lanzador& operator=(const Lanzador&) = delete;

  TfrmAutenticacion& Ventana() { return ventana_; }

  // Settles RutaAplicacion, Work1 and Comp; false when the process was ended.
  bool FormCreate();
  void FormPaint();
  void IniciarSincronizacion();
  void Timer1Timer();
  void btnContinuarClick();

  bool SW_HTML_SOAP = false;
  std::int16_t Etapa = 0;
  std::int64_t TamanoTotal = 0;
  std::string ArchivoDescarga;
  std::int16_t IDPaisInterno = 0;
  std::vector<TipoSyncPrograma> ArregloSyncProgramas;

 private:
  void Secuencia();
  void OfertaActualizacion();
  // One run of btnContinuarClick's steps 4 to 9; false when a direct download failed and
  // the run is to be made again through the service.
  bool Descargar(MemoryStream& buffer);
  // False when the process was ended.
  bool TraerPorServicio(ISincronizacion& cliente, MemoryStream& buffer, const TipoSyncPrograma& p,
                        const std::function<void(const std::string&)>& mostrar);
  bool Colocar(MemoryStream& buffer, const TipoSyncPrograma& programa);
  void Aviso(std::uint16_t codigo, bool SalirAlCerrar = false);
  void Mensaje(const std::string& texto);
  void Terminar();

  EstadoLanzador& estado_;
  Salidas salidas_;
  TfrmAutenticacion ventana_;
  ui::InterfazQt interfaz_qt_;
  InterfazRegistrada ui_;  // every notice into the run log
  ProxySistemaInfo proxy_sistema_;
  std::unique_ptr<thrdSincronizar> theThread;
  bool terminado_ = false;  // the process was ended (tests go on past it)
};

}  // namespace xamu
