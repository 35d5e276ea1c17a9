#include <openssl/evp.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <limits>
#include <string>

#include "commands.h"
#include "encoding/compresion.h"
#include "encoding/writer.h"
#include "service/clientes.h"
#include "service/http_trace.h"
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

void Sincronizar(const SincronizarRequest& request) {
  constexpr auto kMin = std::numeric_limits<std::int16_t>::min();
  constexpr auto kMax = std::numeric_limits<std::int16_t>::max();
  const auto id_cliente = static_cast<std::int16_t>(ParseInteger(request.cliente, kMin, kMax));
  const auto id_usuario = static_cast<std::int16_t>(ParseInteger(request.usuario, kMin, kMax));
  ServiceSettings settings;
  settings.URLServ = request.url;
  const auto client = CrearClienteSincronizacion(settings);

  TipoArregloByte bytes = EmptyDatasetList();
  SolicitudSincronizacion solicitud{
      .IDCliente = id_cliente, .IDUsuario = id_usuario, .DebeSincronizarProgramas = true};
  RespuestaSincronizacion answer;
  bool result;
  if (request.paquetes) {
    solicitud.TamanoPaquete =
        static_cast<std::int16_t>(ParseInteger(*request.paquetes, kMin, kMax));
    result = SincronizarEnPaquetes(*client, solicitud, bytes, answer, {});
  } else {
    result = client->Sincronizar(id_cliente, id_usuario, answer.entradas, bytes, 0, false, true,
                                 answer.CodigoError, answer.ProximaAccion, answer.Status,
                                 answer.ArregloFormatos);
  }
  using Json = nlohmann::ordered_json;
  Json entries = Json::array();
  for (const Archivo1Sincronizacion& e : answer.entradas) {
    entries.push_back({{"IDObjeto", e.IDObjeto},
                       {"Nombre", e.Nombre},
                       {"Longitud", e.Longitud},
                       {"Fecha", e.Fecha},  // a NaN or infinite date prints as null
                       {"size", e.Datos.size()},
                       {"sha256", Sha256Hex(e.Datos)}});
  }
  const Json out = {{"result", result},
                    {"CodigoError", answer.CodigoError},
                    {"ProximaAccion", answer.ProximaAccion},
                    {"Status", answer.Status},
                    {"entries", std::move(entries)}};
  std::printf("%s\n", out.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
}

void PrintHttpExchanges() {
  ObserveHttp(
      [](const HttpExchange& e) { std::fprintf(stderr, "%s\n", DescribeExchange(e).c_str()); });
}

}  // namespace xamu::tool
