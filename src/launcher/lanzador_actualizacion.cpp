// The update offer and the download of program files.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>
#include <cmath>

#include "launcher/cargar_xamu.h"
#include "launcher/colocar_programa.h"
#include "launcher/descarga_directa.h"
#include "launcher/lanzador.h"
#include "platform/ascii_text.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/run_log.h"
#include "service/paquetes.h"
#include "sync/carpetas.h"
#include "sync/instalar_preparados.h"
#include "ui/codigos.h"
#include "ui/cursor.h"

namespace xamu {
namespace {

std::string ConTextoDeError(const std::string& texto, const std::exception& e) {
  return texto + ". " + KindName(e) + ". " + e.what();
}

}  // namespace

void Lanzador::OfertaActualizacion() {
  ArregloSyncProgramas = LeerListaProgramas(estado_.Sesion.ArregloProgramas);
  platform::LogLine("update offered: " + std::to_string(ArregloSyncProgramas.size()) + " files");
  ui::CursorNormal();
  ventana_.EstablecerOpciones(ContarPresentes(ArregloSyncProgramas, estado_.ArregloArchivosLocales),
                              ArregloSyncProgramas.size());
  ventana_.MostrarOferta();
}

void Lanzador::btnContinuarClick() {
  platform::LogLine(std::string("update choice: ") + (ventana_.rbNoActualizar->isChecked() ? "none"
                                                      : ventana_.rbActualizarFaltantes->isChecked()
                                                          ? "the missing files"
                                                          : "every file"));
  if (ventana_.rbNoActualizar->isChecked()) {
    ventana_.MostrarProgreso();
    IniciarSincronizacion();
    return;
  }
  if (ventana_.rbActualizarFaltantes->isChecked()) {
    for (TipoSyncPrograma& p : ArregloSyncProgramas) {
      if (EstaPresente(p.Archivo, estado_.ArregloArchivosLocales)) p.Status = false;
    }
  }
  bool por_servicio = false;
  {
    MemoryStream buffer;
    try {
      por_servicio = !Descargar(buffer);
    } catch (const std::exception& e) {
      platform::LogLine("download error " + KindName(e) + ": " + e.what());
      // Shown as any unexpected error of a click; the window stays on the offer, so the
      // user may confirm again or cancel.
      ui::CursorNormal();
      QMessageBox::critical(&ventana_, QApplication::applicationDisplayName(),
                            QString::fromStdString(e.what()));
    }
    if (!terminado_ && ventana_.Panel3->isVisible()) ui::CursorNormal();
    ventana_.lblDesarrollo->clear();
  }
  // A direct download failed: everything still marked is fetched through the service.
  if (por_servicio) btnContinuarClick();
}

bool Lanzador::Descargar(MemoryStream& buffer) {
  const LauncherSettings& settings = estado_.Configuracion;
  GrabarTipoComunicacion(estado_.RutaAplicacion, SW_HTML_SOAP ? 1 : 0);
  ui::CursorEspera();
  std::unique_ptr<ISincronizacion> cliente;
  if (SW_HTML_SOAP) cliente = CrearClienteSincronizacion(ConfiguracionServicio(settings));
  QLabel& desarrollo = *ventana_.lblDesarrollo;
  const auto mostrar = [&](const std::string& texto) {
    desarrollo.setText(QString::fromStdString(texto));
    desarrollo.repaint();
  };
  const ProgresoDescarga progreso{
      .WorkBegin = [this](std::int64_t total) { TamanoTotal = total; },
      .Work =
          [&, this](std::int64_t recibidos) {
            if (TamanoTotal != 0) {
              const auto porcentaje = std::llround(static_cast<double>(recibidos) * 100.0 /
                                                   static_cast<double>(TamanoTotal));
              desarrollo.setText(QString::fromStdString(ArchivoDescarga + "    (" +
                                                        std::to_string(porcentaje) + "%)"));
            }
            desarrollo.repaint();
          },
      .WorkEnd = [&, this] { mostrar(ArchivoDescarga + "    (100%)"); }};

  desarrollo.show();
  bool lanzador = false;
  bool configuracion = false;
  for (const TipoSyncPrograma& p : ArregloSyncProgramas) {
    if (!p.Status) continue;
    buffer.Clear();
    mostrar(p.Archivo);
    ArchivoDescarga = p.Archivo;
    if (!SW_HTML_SOAP) {
      try {
        DescargarDirecto(DireccionPrograma(settings.URLServ, p.Archivo), settings, buffer,
                         progreso);
      } catch (const std::exception& e) {
        platform::LogLine("direct download of " + p.Archivo + " failed (" + e.what() +
                          "): every file through the service");
        SW_HTML_SOAP = true;
        return false;
      }
    } else if (!TraerPorServicio(*cliente, buffer, p, mostrar)) {
      return true;
    }
    if (!Colocar(buffer, p)) return true;
    lanzador = lanzador || DestinoDe(estado_.RutaAplicacion, p.Archivo).es_lanzador;
    configuracion = configuracion || platform::EqualsIgnoringCase(p.Archivo, kArchivoConfiguracion);
  }
  desarrollo.hide();
  ventana_.MostrarProgreso();
  if (lanzador) {
    // The synchronization, whose installer would put the staged settings in place, does
    // not run: they are put in place here.
    if (configuracion && !InstalarConfiguracionPreparada(estado_.RutaAplicacion)) {
      ui::CursorNormal();
      // The catalogue has no description for this code: the notice shows the code line.
      ui_.MostrarAviso(AvisoDeSesion(estado_, kCodigoNoCopiaIni, true));
      Terminar();
      return true;
    }
    CargarXamu(estado_, IDPaisInterno, ui_);
    Terminar();
    return true;
  }
  IniciarSincronizacion();
  return true;
}

bool Lanzador::TraerPorServicio(ISincronizacion& cliente, MemoryStream& buffer,
                                const TipoSyncPrograma& p,
                                const std::function<void(const std::string&)>& mostrar) {
  const LauncherSettings& settings = estado_.Configuracion;
  TipoArregloByte bytes;
  if (!settings.BloqueDeDatosStatus) {
    try {
      (void)cliente.SincronizarProgramas(p.Archivo, bytes);  // only the bytes are used
    } catch (const std::exception& e) {
      platform::LogLine("transfer of " + p.Archivo + " failed: " + KindName(e) + ": " + e.what());
      estado_.Mensajes.FallaConexion = ConTextoDeError(estado_.Mensajes.FallaConexion, e);
      ui::CursorNormal();
      Aviso(kCodigoFallaConexion);
      Terminar();
      return false;
    }
    buffer.Write(bytes.data(), bytes.size());
    return true;
  }
  const std::int16_t IDUsuario = estado_.Sesion.IDUsuario;
  std::int16_t paquetes = 0;
  const bool resultado = cliente.SincronizarProgramasGenerarPaquetes(
      IDUsuario, p.Archivo, bytes, settings.BloqueDeDatosValor, paquetes);
  buffer.Write(bytes.data(), bytes.size());
  const ProgresoPaquetes progreso{.before_fetch = [&](int i, int n) {
    mostrar(p.Archivo + " (" + std::to_string(i) + "/" + std::to_string(n) + ")");
  }};
  (void)TraerPaquetes(cliente, IDUsuario, paquetes, buffer, bytes, resultado, progreso);
  return true;  // only the bytes are used, not the results
}

bool Lanzador::Colocar(MemoryStream& buffer, const TipoSyncPrograma& p) {
  const std::size_t size = buffer.Size();
  try {
    if (ColocarPrograma(buffer, p, estado_.RutaAplicacion)) {
      platform::LogLine("placed " + p.Archivo + " (" + std::to_string(size) + " bytes received)");
      return true;
    }
    platform::LogLine("cannot place " + p.Archivo);
  } catch (const std::exception& e) {
    platform::LogLine("cannot place " + p.Archivo + ": " + KindName(e) + ": " + e.what());
    std::string& texto = estado_.Mensajes.NoPuedeGrabar;
    if (!ServidorResuelve(estado_.Configuracion.URLServ)) {
      texto = estado_.Idioma == kIdiomaEspanol ? "No pose autorizacion para acceder a internet"
                                               : "No authorization to access the internet";
    }
    texto = ConTextoDeError(texto, e);
  }
  ui::CursorNormal();
  Aviso(kCodigoNoPuedeGrabar);
  Terminar();
  return false;
}

}  // namespace xamu
