#include "launcher/lanzador.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "launcher/cargar_xamu.h"
#include "launcher/installation_checks.h"
#include "launcher/inventario.h"
#include "launcher/sesion.h"
#include "platform/ascii_text.h"
#include "platform/drive_type.h"
#include "platform/errors.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/run_log.h"
#include "platform/system_proxy.h"
#include "platform/user_language.h"
#include "sync/carpetas.h"
#include "ui/codigos.h"
#include "ui/cursor.h"
#include "ui/custom_dialog.h"
#include "ui/frm_actualizacion_datos_usuarios.h"
#include "ui/idioma_sistema.h"

namespace xamu {
namespace {

constexpr std::size_t kListaMinima = 5;  // a shorter update list holds no program

std::string Texto(std::uint8_t idioma, const char* espanol, const char* ingles) {
  return idioma == kIdiomaEspanol ? espanol : ingles;
}

// The kind and text of the exception being handled.
std::string ExcepcionActual() {
  try {
    throw;
  } catch (const std::exception& e) {
    return KindName(e) + ": " + e.what();
  } catch (...) {
    return "of an unknown kind";
  }
}

// The settings as support needs them; the proxy password is never written.
void RegistrarConfiguracion(const LauncherSettings& c, std::uint8_t idioma) {
  platform::LogLine("settings: URLServ " + c.URLServ + ", ProxySistema " +
                    std::to_string(c.ProxySistema) + ", Proxy " + c.Proxy + ", PortProxy " +
                    c.PortProxy + ", UserProxy " + c.UserProxy + ", PasswordProxy " +
                    (c.PasswordProxy.empty() ? "empty" : "set") + ", BloqueDeDatosStatus " +
                    std::to_string(c.BloqueDeDatosStatus) + ", BloqueDeDatosValor " +
                    std::to_string(c.BloqueDeDatosValor) + ", Idioma " + std::to_string(idioma));
}

}  // namespace

Salidas SalidasDelProceso() {
  return {.TerminarProceso =
              [] {
                std::fflush(nullptr);
                std::_Exit(0);
              },
          .TerminarAplicacion = [] { QCoreApplication::exit(0); }};
}

Lanzador::Lanzador(EstadoLanzador& estado, Salidas salidas)
    : estado_(estado),
      salidas_(std::move(salidas)),
      interfaz_qt_(
          estado.Mensajes, [this](const std::string& t) { ventana_.EstablecerTexto(t); },
          [this](int p) { ventana_.EstablecerProgreso(p); }),
      ui_(interfaz_qt_, estado.Mensajes) {
  ventana_.AlPrimeraPintura = [this] { FormPaint(); };
  ventana_.AlTemporizador = [this] { Timer1Timer(); };
  ventana_.AlContinuar = [this] { btnContinuarClick(); };
}

Lanzador::~Lanzador() {
  theThread.reset();
  estado_.RutaAplicacion.clear();
}

void Lanzador::Aviso(std::uint16_t codigo, bool SalirAlCerrar) {
  ui_.MostrarAviso(AvisoDeSesion(estado_, codigo, false, SalirAlCerrar));
}

void Lanzador::Mensaje(const std::string& texto) {
  platform::LogLine("message: " + texto);
  ui::TCustomDialog::MessageDlg(texto, ui::TMsgDlgType::mtError, {ui::TMsgDlgBtn::mbOK});
}

void Lanzador::Terminar() {
  platform::LogLine("exit 0");
  terminado_ = true;
  salidas_.TerminarProceso();
}

bool Lanzador::FormCreate() {
  SW_HTML_SOAP = false;
  ventana_.PrimeraVez = true;
  proxy_sistema_ = InterpretarProxySistema(platform::QuerySystemProxy());
  estado_.RutaAplicacion = FormarRutaAplicacion(LeerArchivoControl(platform::ControlIniPath()));
  platform::LogLine("installation " + estado_.RutaAplicacion);
  bool carpetas = true;
  for (const char* carpeta : {kCarpetaWork1, kCarpetaComp}) {
    const std::string path = estado_.RutaAplicacion + carpeta;
    if (!platform::IsExistingFolder(path)) (void)platform::CreateFolder(path);
    carpetas = carpetas && platform::IsExistingFolder(path);
  }
  if (carpetas) return true;
  platform::LogLine("cannot create the folders Work1 and Comp");
  // The catalogue is not loaded yet: the notice speaks the user's language.
  CargarMensajes(estado_.Mensajes, ui::SistemaEnEspanol() ? kIdiomaEspanol : kIdiomaIngles);
  Aviso(kCodigoNoPuedeGrabar);
  Terminar();
  return false;
}

void Lanzador::FormPaint() {
  try {
    Secuencia();
  } catch (...) {
    platform::LogLine("error " + ExcepcionActual());
    // An error no step handles closes the window without a word, which ends the program.
    ui::CursorNormal();
    ventana_.Timer1->stop();
    ventana_.close();
  }
}

void Lanzador::Secuencia() {
  ui::CursorEspera();
  const std::string& ruta = estado_.RutaAplicacion;
  estado_.Idioma = LeerIdioma(ruta, platform::UserDefaultLangId());
  const std::uint8_t idioma = estado_.Idioma;
  std::string refused;
  if (!VerificarPermisoEscritura(ruta, &refused)) {
    platform::LogLine("write probe failed in " + refused);
    Mensaje(Texto(idioma, "No posee autorización para crear o leer archivos en la ruta: ",
                  "Not authorized to create or read files on the route: ") +
            ruta);
    return Terminar();
  }
  if (ruta.empty() || platform::GetDriveType(ruta) != platform::DriveType::kFixed) {
    platform::LogLine("not on a local disk");
    Mensaje(Texto(idioma, "Instalación válida únicamente para un disco local",
                  "Installation valid only for a local drive"));
    return Terminar();
  }
  platform::LogLine("writable, on a local disk");
  Etapa = 1;
  RestaurarConfiguracion(ruta);
  estado_.Configuracion = LeerConfiguracion(ruta, proxy_sistema_);
  RegistrarConfiguracion(estado_.Configuracion, idioma);
  estado_.Sincronizacion.FinalizarLanzador = false;
  CargarMensajes(estado_.Mensajes, idioma);
  ventana_.MostrarProgreso();
  ventana_.lblDesarrollo->clear();
  ventana_.EstablecerTitulos(idioma);

  if (OtraCopiaEnEjecucion()) {
    platform::LogLine("another copy is running");
    Aviso(kCodigoProgramaEjecutandose);
    ui::CursorNormal();
    salidas_.TerminarAplicacion();
    return;
  }
  // No other copy runs: what an interrupted replacement left in our folders is ours to remove.
  for (const std::string& carpeta :
       {ruta, ruta + kCarpetaWork1, ruta + kCarpetaComp, ruta + kCarpetaArchivosCDS}) {
    (void)platform::RemoveLeftoverTempFiles(carpeta);
  }
  const Inventario inventario = ConstruirInventario(ListarInventario(ruta));
  estado_.ArregloArchivosLocales = inventario.ArregloArchivosLocales;
  estado_.ArregloArchivosCDS = inventario.ArregloArchivosCDS;

  try {
    AbrirSesion(estado_, inventario.ArregloInventario,
                *CrearClienteAutenticacion(ConfiguracionServicio(estado_.Configuracion)));
  } catch (const std::exception& e) {
    platform::LogLine("session failed: " + KindName(e) + ": " + e.what());
    Aviso(kCodigoSinConexion, true);
    ui::CursorNormal();
    return;
  }
  platform::LogLine("session: CodigoError " + std::to_string(estado_.Sincronizacion.CodigoError) +
                    ", IDCliente " + std::to_string(estado_.Sesion.IDCliente) + ", IDUsuario " +
                    std::to_string(estado_.Sesion.IDUsuario) + ", update list of " +
                    std::to_string(estado_.Sesion.ArregloProgramas.size()) + " bytes");
  if (const std::int16_t codigo = estado_.Sincronizacion.CodigoError; codigo != 0) {
    // Closing the notice ends the application rather than leave the loading window open.
    const std::uint16_t aviso = CodigoDeAviso(codigo);
    ui_.MostrarAviso(
        AvisoDeSesion(estado_, aviso, EntradaDeCodigo(estado_.Mensajes, aviso) == nullptr, true));
    ui::CursorNormal();
    return;
  }
  IDPaisInterno = estado_.Sesion.IDPais;
  if (const std::optional<ArchivoControl> control =
          LeerArchivoControl(platform::ControlIniPath())) {
    estado_.Sesion.IDCliente = control->IDClienteInterno;
    estado_.Sesion.IDUsuario = control->IDUsuarioInterno;
  }

  TipoSesion& sesion = estado_.Sesion;
  if (!sesion.ArregloDatosUsuario.empty()) {
    // The form reads a copy of its own, so that ArregloArchivosCDS keeps the list of local
    // tables the synchronization sends.
    TipoArregloByte registro = sesion.ArregloDatosUsuario;
    int resultado = 0;
    {
      ui::TfrmActualizacionDatosUsuarios form(ui::EntornoDatosUsuario{
          .ArregloArchivosCDS = registro,
          .Mensajes = estado_.Mensajes,
          .Sesion = {.IDCliente = sesion.IDCliente,
                     .IDUsuario = sesion.IDUsuario,
                     .NombreCliente = sesion.NombreCliente},
          .CrearClienteAutenticacion =
              [this] {
                return CrearClienteAutenticacion(ConfiguracionServicio(estado_.Configuracion));
              },
          .ui = ui_});
      platform::LogLine("user data form shown");
      resultado = form.exec();
    }
    platform::LogLine("user data form closed with " + std::to_string(resultado));
    if (resultado == ui::kResultadoCancelar) return Terminar();
    ventana_.repaint();
    sesion.ArregloDatosUsuario.clear();
  }

  if (sesion.ArregloProgramas.size() < kListaMinima) {
    ventana_.MostrarProgreso();
    ventana_.repaint();
    ventana_.EstablecerTexto(estado_.Mensajes.Sincronizando);
    ventana_.Label1->repaint();
    QCoreApplication::processEvents();
    IniciarSincronizacion();
  } else {
    OfertaActualizacion();
  }
}

void Lanzador::IniciarSincronizacion() {
  platform::LogLine("synchronization started");
  ui::CursorEspera();
  ventana_.MostrarProgreso();
  ventana_.Timer1->start();
  Timer1Timer();
  theThread = std::make_unique<thrdSincronizar>(TrabajoDelLanzador(estado_, ui_),
                                                estado_.ArregloArchivosCDS, estado_.Sincronizacion);
}

void Lanzador::Timer1Timer() {
  ventana_.EstablecerProgreso(Etapa);
  ventana_.ProgressBar1->repaint();
  ++Etapa;
  if (!estado_.Sincronizacion.SincronizacionTerminada()) {
    if (ventana_.ProgressBar1->maximum() < Etapa) Etapa = 1;
    return;
  }
  ventana_.Timer1->stop();
  theThread.reset();
  const EstadoSincronizacion& s = estado_.Sincronizacion;
  const std::int16_t codigo = s.CodigoError;
  platform::LogLine("synchronization ended: CodigoError " + std::to_string(codigo) + ", Fase " +
                    std::to_string(s.Fase) + ", TextoError \"" + s.TextoError + "\"");
  switch (codigo) {
    case 0:
      break;
    case kCodigoServidorEnMantenimiento:
      ui_.MostrarAviso(AvisoDeSesion(estado_, CodigoDeAviso(codigo)));
      return Terminar();
    case kCodigoFallaSincronizacion:
      Mensaje(s.TextoError + "\nFase : " + std::to_string(s.Fase));
      return Terminar();
    case kCodigoNoPuedeGrabar:
      return Terminar();
    default:
      Mensaje(estado_.Mensajes.Aviso + ": " + std::to_string(codigo) + " : " +
              std::to_string(s.Fase));
      return Terminar();
  }
  ventana_.EstablecerProgreso(ventana_.ProgressBar1->maximum());
  ventana_.ProgressBar1->repaint();
  CargarXamu(estado_, IDPaisInterno, ui_);
  ui::CursorNormal();
  Terminar();
}

}  // namespace xamu
