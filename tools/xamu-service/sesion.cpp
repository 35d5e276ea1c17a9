#include "sesion.h"

#include <cstdio>
#include <limits>

#include "contenido_error.h"
#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"
#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/local_time.h"

namespace xamu::servicio {
namespace {

constexpr const char* kSeccionSesion = "Sesion";
constexpr const char* kSeccionDatos = "DatosUsuario";
constexpr const char* kSeccionProgramas = "Programas";

class Lector {
 public:
  Lector(const std::filesystem::path& archivo) : nombre_(archivo.string()) {
    if (!platform::FileExists(nombre_)) throw EContentError(nombre_ + ": missing");
    ini_ = platform::IniFile::Load(nombre_);
  }

  std::int32_t Numero(const char* seccion, const char* clave, std::int32_t min, std::int32_t max,
                      std::optional<std::int32_t> defecto) const {
    const std::optional<std::string> texto = ini_.ReadString(seccion, clave);
    if (!texto && defecto) return *defecto;
    const auto valor = texto ? platform::ParseDecimalInteger(*texto) : std::nullopt;
    if (!valor || *valor < min || *valor > max) {
      throw EContentError(nombre_ + ": [" + seccion + "] " + clave + " needs a number from " +
                          std::to_string(min) + " to " + std::to_string(max));
    }
    return *valor;
  }

  std::int16_t Corto(const char* seccion, const char* clave,
                     std::optional<std::int32_t> defecto) const {
    return static_cast<std::int16_t>(Numero(seccion, clave,
                                            std::numeric_limits<std::int16_t>::min(),
                                            std::numeric_limits<std::int16_t>::max(), defecto));
  }

  std::optional<std::string> Texto(const char* seccion, const char* clave) const {
    return ini_.ReadString(seccion, clave);
  }

  // A comma-separated list; blanks around the items are dropped.
  std::vector<std::string> Lista(const char* seccion, const char* clave) const {
    std::vector<std::string> items;
    const std::string texto = ini_.ReadString(seccion, clave, "");
    std::size_t begin = 0;
    while (begin <= texto.size()) {
      std::size_t end = texto.find(',', begin);
      if (end == std::string::npos) end = texto.size();
      std::string item = texto.substr(begin, end - begin);
      item.erase(0, item.find_first_not_of(" \t"));
      item.erase(item.find_last_not_of(" \t") + 1);
      if (!item.empty()) items.push_back(std::move(item));
      begin = end + 1;
    }
    return items;
  }

  // "YYYY-MM-DD", optionally followed by " HH:MM" or " HH:MM:SS", as a local float date.
  std::optional<double> Fecha(const char* seccion, const char* clave) const {
    const std::optional<std::string> texto = Texto(seccion, clave);
    if (!texto || texto->empty()) return std::nullopt;
    platform::LocalDateTime t;
    char sobra = 0;
    const int leidos = std::sscanf(texto->c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.year, &t.month,
                                   &t.day, &t.hour, &t.minute, &t.second, &sobra);
    const std::size_t largo = leidos == 3 ? 10 : leidos == 5 ? 16 : 19;
    if ((leidos != 3 && leidos != 5 && leidos != 6) || texto->size() != largo || t.month < 1 ||
        t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 59) {
      throw EContentError(nombre_ + ": [" + seccion + "] " + clave +
                          " needs a date YYYY-MM-DD [HH:MM[:SS]]");
    }
    return platform::LocalToFloatDate(t);
  }

 private:
  std::string nombre_;
  platform::IniFile ini_;
};

std::string LeerTextoUtf8(TReader& reader) {
  return Utf16ToUtf8(reader.ReadString());
}

}  // namespace

Sesion LeerSesion(const std::filesystem::path& archivo) {
  const Lector ini(archivo);
  Sesion sesion;
  SesionAutenticada& v = sesion.valores;
  v.IDCliente = ini.Corto(kSeccionSesion, "IDCliente", std::nullopt);
  v.IDUsuario = ini.Corto(kSeccionSesion, "IDUsuario", std::nullopt);
  v.IDPais = ini.Corto(kSeccionSesion, "IDPais", 0);
  v.NombreCliente = ini.Texto(kSeccionSesion, "NombreCliente").value_or("");
  v.NombreUsuario = ini.Texto(kSeccionSesion, "NombreUsuario").value_or("");
  v.CodigoError = ini.Corto(kSeccionSesion, "CodigoError", 0);
  v.ProximaAccion =
      static_cast<std::uint8_t>(ini.Numero(kSeccionSesion, "ProximaAccion", 0, 255, 0));
  v.Status = ini.Numero(kSeccionSesion, "Status", std::numeric_limits<std::int32_t>::min(),
                        std::numeric_limits<std::int32_t>::max(), 0);
  for (const std::string& id : ini.Lista(kSeccionSesion, "Formatos")) {
    const auto valor = platform::ParseDecimalInteger(id);
    if (!valor || *valor < std::numeric_limits<std::int16_t>::min() ||
        *valor > std::numeric_limits<std::int16_t>::max()) {
      throw EContentError(archivo.string() + ": [Sesion] Formatos needs 16-bit numbers");
    }
    sesion.formatos.push_back(static_cast<std::int16_t>(*valor));
  }

  DatosUsuario d;
  bool alguno = false;
  const auto texto = [&](const char* clave, std::string& destino) {
    if (auto valor = ini.Texto(kSeccionDatos, clave)) {
      destino = std::move(*valor);
      alguno = true;
    }
  };
  texto("Empresa", d.Empresa);
  texto("Nombre", d.Nombre);
  texto("Direccion", d.Direccion);
  texto("CodigoPais", d.CodigoPais);
  texto("CodigoArea", d.CodigoArea);
  texto("Telefono1", d.Telefono1);
  texto("Telefono2", d.Telefono2);
  texto("Fax", d.Fax);
  texto("Email", d.Email);
  d.FechaRegistro = ini.Fecha(kSeccionDatos, "FechaRegistro");
  if (alguno || d.FechaRegistro) sesion.datos_usuario = std::move(d);

  sesion.actualizados = ini.Lista(kSeccionProgramas, "Actualizados");
  sesion.sincronizacion = ini.Lista(kSeccionProgramas, "Sincronizacion");
  return sesion;
}

TipoArregloByte CodificarDatosUsuario(const DatosUsuario& d) {
  MemoryStream stream;
  {
    TWriter writer(stream);
    for (const std::string* s : {&d.Empresa, &d.Nombre, &d.Direccion, &d.CodigoPais, &d.CodigoArea,
                                 &d.Telefono1, &d.Telefono2, &d.Fax, &d.Email}) {
      writer.WriteString(Utf8ToUtf16(*s));
    }
    if (d.FechaRegistro) writer.WriteFloat(*d.FechaRegistro);
  }
  return ComprimirArreglo(std::move(stream));
}

DatosUsuarioRecibidos DecodificarDatosRecibidos(TipoArregloByte arreglo) {
  MemoryStream stream;
  DescomprimirArreglo(stream, arreglo);
  TReader reader(stream);
  DatosUsuarioRecibidos r;
  const auto id = [&] {
    const std::int32_t valor = reader.ReadInteger();
    if (valor < std::numeric_limits<std::int16_t>::min() ||
        valor > std::numeric_limits<std::int16_t>::max()) {
      throw EReadError(kInvalidPropertyValue);
    }
    return static_cast<std::int16_t>(valor);
  };
  r.IDCliente = id();
  r.IDUsuario = id();
  for (std::string* s : {&r.Nombre, &r.Direccion, &r.CodigoPais, &r.CodigoArea, &r.Telefono1,
                         &r.Telefono2, &r.Fax, &r.Email}) {
    *s = LeerTextoUtf8(reader);
  }
  return r;
}

DatosUsuario AplicarDatosRecibidos(DatosUsuario d, const DatosUsuarioRecibidos& r) {
  d.Nombre = r.Nombre;
  d.Direccion = r.Direccion;
  d.CodigoPais = r.CodigoPais;
  d.CodigoArea = r.CodigoArea;
  d.Telefono1 = r.Telefono1;
  d.Telefono2 = r.Telefono2;
  d.Fax = r.Fax;
  d.Email = r.Email;
  return d;
}

}  // namespace xamu::servicio
