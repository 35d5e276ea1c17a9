#include "ui/mensajes.h"

#include "ui/codigos.h"

#include <utility>

namespace xamu {
namespace {

struct CodigoEntrada {
  std::uint16_t codigo;
  std::string TMensajes::*entrada;
};

constexpr CodigoEntrada kEntradasPorCodigo[] = {
    {kCodigoNoPuedeGrabar, &TMensajes::NoPuedeGrabar},
    {kCodigoProgramaEjecutandose, &TMensajes::ProgramaEjecutandose},
    {kCodigoFallaConexion, &TMensajes::FallaConexion},
    {kCodigoServidorEnMantenimiento, &TMensajes::ServidorEnMantenimiento},
    {kCodigoNoSincronizo, &TMensajes::NoSincronizo},
    {kCodigoNoHallaPrograma, &TMensajes::NoHallaPrograma},
    {kCodigoSinConexion, &TMensajes::SinConexion},
};

void CargarEspanol(TMensajes& m) {
  m.Aviso = "Aviso";
  m.SinConexion = "No se puede establecer conexión con el servidor\nIntente nuevamente";
  m.Correo = "Correo";
  m.Cerrar = "Cerrar";
  m.Sincronizando = "Sincronizando archivos locales\nPor favor espere...";
  m.NoHallaPrograma =
      "No puede hallar el archivo XamuWEB.exe\nComuníquese con su representante local";
  m.NoSincronizo =
      "Aviso: no se pudo sincronizar los archivos locales\nComuníquese con su representante local";
  m.InformacionRequerida = "Información requerida";
  m.ServidorEnMantenimiento = "Servidor en mantenimiento.\nIntente más tarde.";
  m.NoPuedeGrabar =
      "No se puede grabar información.\nRevise configuración de seguridad y espacio en disco.";
  m.NoCopiaLauncher = "Aviso: no se pudo copiar LauncherXAMUWeb";
  m.NoBorraLauncher = "Aviso: no se pudo borrar LauncherXAMUWeb";
  m.ProgramaEjecutandose = "XamuWEB se está ejecutando";
  m.FallaConexion = "Aviso: falla en la conexión";
  m.NoCopiaIni = "Aviso: no se pudo copiar XAMUwebIP.ini";
}

void CargarIngles(TMensajes& m) {
  m.Aviso = "Notice";
  m.SinConexion = "Connection with the server cannot be established\nTry again";
  m.Correo = "Email";
  m.Cerrar = "Close";
  m.Sincronizando = "Synchronizing local files\nPlease wait...";
  m.NoHallaPrograma = "Can not find file XamuWEB.exe\nContact your local dealer";
  m.NoSincronizo = "Notice: Could not synchronize local files\nContact your local dealer";
  m.InformacionRequerida = "Information required";
  m.ServidorEnMantenimiento = "Server under manteinance.\nTry later.";
  m.NoPuedeGrabar = "Can not record information.\nCheck security settings and disk space.";
  m.NoCopiaLauncher = "Notice: it could not be copied LauncherXMAUWeb";
  m.NoBorraLauncher = "Notice: Could not delete LauncherXMAUWeb";
  m.ProgramaEjecutandose = "XamuWEB is running";
  m.FallaConexion = "Notice: connection failure";
  m.NoCopiaIni = "Notice: Could not copy XAMUwebIP.ini";
}

// Everything but the unreserved characters of RFC 3986, byte by byte.
std::string PercentEncode(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

}  // namespace

void CargarMensajes(TMensajes& mensajes, std::uint8_t idioma) {
  if (idioma == kIdiomaEspanol) {
    CargarEspanol(mensajes);
  } else {
    CargarIngles(mensajes);
  }
}

const std::string* EntradaDeCodigo(const TMensajes& mensajes, std::uint16_t codigo) {
  for (const CodigoEntrada& e : kEntradasPorCodigo) {
    if (e.codigo == codigo) return &(mensajes.*e.entrada);
  }
  return nullptr;
}

std::string* EntradaDeCodigo(TMensajes& mensajes, std::uint16_t codigo) {
  return const_cast<std::string*>(EntradaDeCodigo(std::as_const(mensajes), codigo));
}

std::string DescripcionAviso(const TMensajes& mensajes, std::uint16_t codigo, std::int32_t status,
                             bool mostrar_codigo) {
  if (mostrar_codigo) {
    return "Aviso :  # " + std::to_string(codigo) + "\nStatus : " + std::to_string(status);
  }
  const std::string* entrada = EntradaDeCodigo(mensajes, codigo);
  return entrada != nullptr ? *entrada : std::string();
}

std::string EnlaceCorreoSoporte(std::string_view descripcion, std::string_view nombre_cliente,
                                std::int16_t id_cliente, std::int16_t id_usuario) {
  constexpr std::string_view kSeparador = ".  ";
  std::string cuerpo;
  for (const char c : descripcion) {
    if (c == '\n') {
      cuerpo += kSeparador;
    } else {
      cuerpo += c;
    }
  }
  cuerpo += std::string(kSeparador) + std::string(nombre_cliente) + std::string(kSeparador) +
            std::to_string(id_cliente) + std::string(kSeparador) + std::to_string(id_usuario);
  return std::string("mailto:") + kCorreoSoporte + "?subject=" + PercentEncode("XAMU: Notice") +
         "&Body=" + PercentEncode(cuerpo);
}

}  // namespace xamu
