#include "sync/sincronizar_formatos.h"

#include <cmath>
#include <exception>

#include "encoding/compresion.h"
#include "platform/ascii_text.h"
#include "platform/local_time.h"
#include "platform/paths.h"
#include "sync/carpetas.h"
#include "sync/progreso_sincronizacion.h"
#include "tables/catalogo.h"
#include "tables/file_checks.h"
#include "tables/grabar_tabla.h"
#include "ui/codigos.h"

namespace xamu {
namespace {

constexpr std::int16_t kIDObjetoPrograma = 1;

bool TieneExtension(const std::string& nombre, std::string_view extension) {
  const std::size_t dot = nombre.rfind('.');
  return dot != std::string::npos &&
         platform::EqualsIgnoringCase(std::string_view(nombre).substr(dot), extension);
}

// One run of the driver over the entries of an answer.
class Instalacion {
 public:
  Instalacion(std::int16_t& CodigoError, const std::int32_t& Status,
              TipoArregloByte& ArregloDeBytes, const std::string& RutaAplicacion,
              const EntornoSincronizacion& entorno)
      : CodigoError_(CodigoError),
        Status_(Status),
        ArregloDeBytes_(ArregloDeBytes),
        ruta_(RutaAplicacion),
        entorno_(entorno),
        archivos_(*entorno.archivos) {}

  // The folders ensured and probed; false with `texto_error` set when one cannot be written.
  bool PrepararCarpetas(std::string& texto_error) {
    for (const char* nombre :
         {kCarpetaArchivosCDS, kCarpetaTemporales, kCarpetaWork1, kCarpetaComp}) {
      // Not checked here: the probe below finds a folder that is missing.
      if (!archivos_.IsExistingFolder(ruta_ + nombre)) (void)archivos_.CreateFolder(ruta_ + nombre);
    }
    for (const std::string& carpeta :
         {ruta_, ruta_ + kCarpetaArchivosCDS, ruta_ + kCarpetaTemporales, ruta_ + kCarpetaWork1,
          ruta_ + kCarpetaComp}) {
      if (!PuedeGrabarEnCarpeta(carpeta, archivos_)) {
        texto_error = "Folder: " + carpeta + "is write protected";
        return false;
      }
    }
    return true;
  }

  // Both passes. What they leave in `confirmar` and `buena` also counts when an error
  // escapes them.
  void Pasadas(const SincronizacionArchivoInformacion& entradas) {
    *entorno_.Fase = 2;
    confirmar = !entradas.empty();
    for (const Archivo1Sincronizacion& e : entradas) {
      Llenar(e);
      if (e.IDObjeto == kIDObjetoPrograma) GrabarPrograma(e);
      if (CodigoError_ != 0) {
        confirmar = buena = false;
        break;
      }
    }
    if (!lanzador_visto_ && !entradas.empty()) {
      for (const Archivo1Sincronizacion& e : entradas) {
        Llenar(e);
        if (BuscarTabla(e.IDObjeto) != nullptr) {
          GrabarTablaCDS(e.IDObjeto, Carpeta(e), e.Nombre, stream_, CodigoError_, *entorno_.ui,
                         Aviso(kCodigoNoPuedeGrabar), archivos_);
        }
        if (CodigoError_ != 0) {
          confirmar = buena = false;
          break;
        }
      }
    }
    stream_.Clear();
  }

  DatosAviso Aviso(std::uint16_t codigo, bool MostrarCodigo = false) const {
    DatosAviso aviso = entorno_.sesion;
    aviso.CodigoError = codigo;
    aviso.Status = Status_;
    aviso.MostrarCodigo = MostrarCodigo;
    return aviso;
  }

  bool confirmar = false;  // a confirmation is due
  bool buena = true;       // no entry failed

 private:
  std::string Carpeta(const Archivo1Sincronizacion& e) const {
    return ruta_ + (e.IDObjeto == kIDObjetoPrograma ? kCarpetaWork1 : kCarpetaArchivosCDS) +
           platform::kPathSeparator;
  }

  // Fase, the entry stream (raw for a RES file, decompressed otherwise) and CodigoError 0.
  void Llenar(const Archivo1Sincronizacion& e) {
    *entorno_.Fase = static_cast<std::int16_t>(e.IDObjeto + 100);
    // Emptied first, so that the stream holds this entry's bytes alone whatever came before.
    stream_.Clear();
    ArregloDeBytes_ = e.Datos;
    if (TieneExtension(e.Nombre, ".RES")) {
      ArregloAStream(stream_, ArregloDeBytes_);
    } else {
      DescomprimirArreglo(stream_, ArregloDeBytes_);
    }
    CodigoError_ = 0;
  }

  void NoPuedeGrabar() {
    entorno_.ui->MostrarAviso(Aviso(kCodigoNoPuedeGrabar));
    CodigoError_ = kCodigoNoPuedeGrabar;
  }

  void GrabarPrograma(const Archivo1Sincronizacion& e) {
    try {
      // A name that would leave Work1, or data that did not decompress, is no program file.
      if (!platform::IsPlainFileName(e.Nombre) ||
          (stream_.Size() == 0 && !e.Datos.empty() && !TieneExtension(e.Nombre, ".RES"))) {
        NoPuedeGrabar();
        return;
      }
      const std::string path = Carpeta(e) + e.Nombre;
      if (archivos_.FileExists(path)) (void)archivos_.SetNormalAttributes(path);
      archivos_.ReplaceFileAtomically(path, {stream_.Bytes()},
                                      TieneExtension(e.Nombre, ".EXE") ? 0755 : 0644);
      if (!ArchivoRecienGrabado(path, archivos_)) NoPuedeGrabar();
      const std::string nombre = platform::UpperAscii(e.Nombre);
      if (nombre.find("LAUNCHER") != std::string::npos ||
          nombre.find("XAMUWEBIP") != std::string::npos) {
        confirmar = false;
      }
      if (nombre.find("LAUNCHER") != std::string::npos) lanzador_visto_ = true;
      FijarFechaDos(path, e.Fecha, archivos_);
      if (!FechaGrabadaCercana(path, e.Fecha, archivos_)) NoPuedeGrabar();
    } catch (const std::exception&) {
      NoPuedeGrabar();
    }
  }

  std::int16_t& CodigoError_;
  const std::int32_t& Status_;
  TipoArregloByte& ArregloDeBytes_;
  const std::string& ruta_;
  const EntornoSincronizacion& entorno_;
  platform::FileSystem& archivos_;
  MemoryStream stream_;
  bool lanzador_visto_ = false;
};

}  // namespace

void SincronizarFormatos(const SolicitudSincronizacion& solicitud, std::int16_t& CodigoError,
                         std::uint8_t& ProximaAccion, std::int32_t& Status,
                         TipoArregloByte& ArregloDeBytes, const std::string& RutaAplicacion,
                         std::string& texto_error, const EntornoSincronizacion& entorno) {
  std::string& paso = *entorno.PasoSincronizacion;
  *entorno.Fase = 0;
  const std::unique_ptr<ISincronizacion> cliente = entorno.CrearCliente();

  bool resultado = false;
  SincronizacionArchivoInformacion entradas;
  if (!entorno.BloqueDeDatosStatus) {
    paso = "1 / 1";
    TipoArregloSmallInt formatos;
    resultado = cliente->Sincronizar(
        solicitud.IDCliente, solicitud.IDUsuario, entradas, ArregloDeBytes, solicitud.IDFormato,
        solicitud.ObligarSincronizarFormatos, solicitud.DebeSincronizarProgramas, CodigoError,
        ProximaAccion, Status, formatos);
  } else {
    SolicitudSincronizacion en_paquetes = solicitud;
    en_paquetes.TamanoPaquete = entorno.BloqueDeDatosValor;
    RespuestaSincronizacion respuesta{CodigoError, ProximaAccion, Status, {}, {}};
    resultado = SincronizarEnPaquetes(*cliente, en_paquetes, ArregloDeBytes, respuesta,
                                      ProgresoSincronizacion(*entorno.ui, entorno.caption, paso));
    CodigoError = respuesta.CodigoError;
    ProximaAccion = respuesta.ProximaAccion;
    Status = respuesta.Status;
    entradas = std::move(respuesta.entradas);
  }
  if (!resultado || CodigoError != 0) return;

  Instalacion instalacion(CodigoError, Status, ArregloDeBytes, RutaAplicacion, entorno);
  try {
    *entorno.Fase = 1;
    paso = "T : 003";
    if (!instalacion.PrepararCarpetas(texto_error)) return;
    instalacion.Pasadas(entradas);
  } catch (const std::exception&) {
    // The rest of the install is abandoned; a confirmation still due becomes a notice.
    instalacion.buena = false;
  }
  paso = "T : 004";
  entradas.clear();
  if (!instalacion.confirmar) return;
  if (instalacion.buena) {
    cliente->SincronizarConfirmar(solicitud.IDUsuario, true, CodigoError, ProximaAccion, Status,
                                  solicitud.IDFormato);
  } else {
    entorno.ui->MostrarAviso(instalacion.Aviso(CodigoDeAviso(CodigoError), true));
  }
}

}  // namespace xamu
