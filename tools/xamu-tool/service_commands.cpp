#include <openssl/evp.h>

#include <charconv>
#include <cstdio>
#include <limits>
#include <string>

#include "commands.h"
#include "encoding/compresion.h"
#include "encoding/writer.h"
#include "service/clientes.h"
#include "service/paquetes.h"

namespace xamu::tool {
namespace {

std::string Sha256Hex(const TipoArregloByte& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int length = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &length, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text;
  for (unsigned int i = 0; i < length; ++i) {
    text += kHex[digest[i] >> 4];
    text += kHex[digest[i] & 0xF];
  }
  return text;
}

std::string Number(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

// The worker sends the compressed list of local dataset files; here there are none.
TipoArregloByte EmptyDatasetList() {
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    writer.WriteListEnd();
  }
  return ComprimirArreglo(std::move(stream));
}

}  // namespace

void Sincronizar(const Arguments& args) {
  const char* usage = "sincronizar URLSERV IDCliente IDUsuario [--paquetes TAMANO]";
  if (args.size() != 3 && !(args.size() == 5 && args[3] == "--paquetes")) {
    throw UsageError(std::string("usage: xamu-tool ") + usage);
  }
  constexpr auto kMin = std::numeric_limits<std::int16_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int16_t>::max();
  const auto id_cliente = static_cast<std::int16_t>(ParseInteger(args[1], kMin, kMax));
  const auto id_usuario = static_cast<std::int16_t>(ParseInteger(args[2], kMin, kMax));
  ServiceSettings settings;
  settings.URLServ = args[0];
  const auto client = CrearClienteSincronizacion(settings);

  TipoArregloByte bytes = EmptyDatasetList();
  SolicitudSincronizacion request{
      .IDCliente = id_cliente, .IDUsuario = id_usuario, .DebeSincronizarProgramas = true};
  RespuestaSincronizacion answer;
  bool result;
  if (args.size() == 5) {
    request.TamanoPaquete = static_cast<std::int16_t>(ParseInteger(args[4], kMin, kMax));
    result = SincronizarEnPaquetes(*client, request, bytes, answer, {});
  } else {
    result = client->Sincronizar(id_cliente, id_usuario, answer.entradas, bytes, 0, false, true,
                                 answer.CodigoError, answer.ProximaAccion, answer.Status,
                                 answer.ArregloFormatos);
  }
  const SincronizacionArchivoInformacion& entries = answer.entradas;
  std::string out = std::string("{\"result\":") + (result ? "true" : "false") +
                    ",\"CodigoError\":" + std::to_string(answer.CodigoError) +
                    ",\"ProximaAccion\":" + std::to_string(answer.ProximaAccion) +
                    ",\"Status\":" + std::to_string(answer.Status) + ",\"entries\":[";
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Archivo1Sincronizacion& e = entries[i];
    out += (i ? "," : "") + std::string("{\"IDObjeto\":") + std::to_string(e.IDObjeto) +
           ",\"Nombre\":" + JsonString(e.Nombre) + ",\"Longitud\":" + std::to_string(e.Longitud) +
           ",\"Fecha\":" + Number(e.Fecha) + ",\"size\":" + std::to_string(e.Datos.size()) +
           ",\"sha256\":\"" + Sha256Hex(e.Datos) + "\"}";
  }
  std::printf("%s]}\n", out.c_str());
}

}  // namespace xamu::tool
