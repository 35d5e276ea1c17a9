#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "encoding/compresion.h"
#include "encoding/writer.h"
#include "platform/file_system.h"
#include "platform/local_time.h"
#include "service/errors.h"
#include "support/fake_sincronizacion.h"
#include "support/faulty_file_system.h"
#include "support/recording_ui.h"
#include "support/temp_dir.h"
#include "sync/estado_sincronizacion.h"
#include "sync/sincronizar_formatos.h"

namespace xamu::testing {

// A service answering Sincronizar whole with the entries it holds, and recording the
// confirmation.
class WholeAnswerService : public NullSincronizacion {
 public:
  SincronizacionArchivoInformacion entradas;
  bool result = true;
  std::int16_t code = 0;
  std::function<void()> on_call;  // may throw
  int confirmations = 0;
  std::int16_t confirmation_code = 0;
  bool confirmation_fails = false;

  bool Sincronizar(std::int16_t, std::int16_t, SincronizacionArchivoInformacion& respuesta,
                   TipoArregloByte&, std::int16_t, bool, bool, std::int16_t& CodigoError,
                   std::uint8_t&, std::int32_t& Status, TipoArregloSmallInt&) override {
    if (on_call) on_call();
    respuesta = entradas;
    CodigoError = code;
    Status = 77;
    return result;
  }
  void SincronizarConfirmar(std::int16_t, bool, std::int16_t& CodigoError, std::uint8_t&,
                            std::int32_t& Status, std::int16_t) override {
    ++confirmations;
    if (confirmation_fails) throw ESOAPHTTPException("Operation timed out");
    CodigoError = confirmation_code;
    Status = 99;
  }
};

// Adjetivos (IDObjeto 28) with one row, as the service sends it before compression.
inline TipoArregloByte AdjetivosStream(const std::u16string& nombre) {
  MemoryStream stream;
  {
    TWriter w(stream);
    w.WriteListBegin();
    w.WriteInteger(std::int32_t{0});
    w.WriteInteger(std::int32_t{1});
    w.WriteInteger(std::int32_t{1});
    w.WriteString(nombre);
    w.WriteListEnd();
  }
  return stream.Take();
}

inline Archivo1Sincronizacion Entry(std::int16_t id, std::string nombre, TipoArregloByte raw,
                                    bool compress = true) {
  Archivo1Sincronizacion e;
  e.IDObjeto = id;
  e.Nombre = std::move(nombre);
  e.Fecha = platform::CurrentFloatDate() - 3;  // three days ago
  e.Datos = compress ? ComprimirArreglo(MemoryStream(std::move(raw))) : std::move(raw);
  e.Longitud = static_cast<std::int32_t>(e.Datos.size());
  return e;
}

// An installation folder on the real disk, the recording UI, the file seam and the markers
// the driver writes.
struct Installation {
  TempDir dir;
  std::string ruta = dir.Path().string() + "/";
  RecordingUi ui;
  FaultyFileSystem files;
  std::string paso;
  std::atomic<std::int16_t> fase{-1};

  EntornoSincronizacion Entorno(ISincronizacion& service) {
    EntornoSincronizacion e;
    e.CrearCliente = [&service] { return std::make_unique<BorrowedSincronizacion>(service); };
    e.caption = "Sincronizando";
    e.sesion.IDCliente = 17;
    e.sesion.IDUsuario = 203;
    e.sesion.NombreCliente = "Banco";
    e.ui = &ui;
    e.archivos = &files;
    e.PasoSincronizacion = &paso;
    e.Fase = &fase;
    return e;
  }

  std::filesystem::path Path(const std::string& relative) const { return dir.Path() / relative; }
  bool Exists(const std::string& relative) const { return std::filesystem::exists(Path(relative)); }
};

}  // namespace xamu::testing
