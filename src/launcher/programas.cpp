#include "launcher/programas.h"

#include <algorithm>

#include "encoding/compresion.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/value_type.h"
#include "platform/ascii_text.h"
#include "platform/host_lookup.h"
#include "sync/carpetas.h"

namespace xamu {
namespace {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

}  // namespace

std::vector<TipoSyncPrograma> LeerListaProgramas(TipoArregloByte ArregloProgramas) {
  MemoryStream stream;
  DescomprimirArreglo(stream, ArregloProgramas);
  TReader reader(stream);
  reader.CheckValue(TValueType::vaList);
  std::vector<TipoSyncPrograma> programas;
  while (!reader.EndOfList()) {
    TipoSyncPrograma p;
    const std::string nombre = platform::UpperAscii(Utf16ToUtf8(reader.ReadString()));
    p.Archivo = std::string(platform::TrimBlanksAndControls(std::string_view(nombre)));
    p.Fecha = static_cast<double>(reader.ReadFloat());
    programas.push_back(std::move(p));
  }
  reader.CheckValue(TValueType::vaNull);
  return programas;
}

bool EstaPresente(const std::string& Archivo, const std::vector<std::string>& locales) {
  return std::ranges::any_of(locales, [&](const std::string& local) {
    return platform::EqualsIgnoringCase(local, Archivo);
  });
}

std::size_t ContarPresentes(const std::vector<TipoSyncPrograma>& programas,
                            const std::vector<std::string>& locales) {
  return static_cast<std::size_t>(std::ranges::count_if(
      programas, [&](const TipoSyncPrograma& p) { return EstaPresente(p.Archivo, locales); }));
}

DestinoPrograma DestinoDe(const std::string& RutaAplicacion, const std::string& Archivo) {
  const std::size_t dot = Archivo.find('.');
  const std::string extension =
      platform::UpperAscii(dot == std::string::npos ? Archivo : Archivo.substr(dot + 1));
  const std::string nombre = platform::UpperAscii(Archivo);
  const std::string work1 = RutaAplicacion + kCarpetaWork1 + "/";
  DestinoPrograma d;
  d.comprimido = extension != "RES";
  d.ejecutable = extension == "EXE";
  if (d.ejecutable) {
    d.es_lanzador = nombre == platform::UpperAscii(kArchivoLanzador);
    d.carpeta = d.es_lanzador ? work1 : RutaAplicacion;
  } else if (extension == "CDS") {
    d.carpeta = RutaAplicacion + kCarpetaArchivosCDS + "/";
  } else if (nombre == platform::UpperAscii(kArchivoConfiguracion)) {
    d.carpeta = work1;
  } else {
    d.carpeta = RutaAplicacion + kCarpetaComp + "/";
  }
  return d;
}

std::string DireccionPrograma(const std::string& URLServ, const std::string& Archivo) {
  return ReplaceAll(URLServ, "https", "http") + "/Programas/" + Archivo;
}

bool ServidorResuelve(const std::string& url) {
  return platform::HostResolves(ReplaceAll(url, "http://", ""));
}

}  // namespace xamu
