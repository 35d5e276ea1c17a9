// xamu-service: the vendor's SOAP services and program download on 127.0.0.1, answered
// from a content folder, for running the launcher end to end on one machine and for tests.
// Runs until SIGTERM or SIGINT. README.md describes the content folder and the switches.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <netinet/tcp.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <mutex>
#include <string>
#include <thread>

#include "conexion.h"
#include "contenido.h"
#include "platform/errors.h"
#include "platform/ini_file.h"
#include "service/service_names.h"
#include "servicio.h"

namespace {

using xamu::servicio::Interfaz;
using xamu::servicio::Respuesta;

constexpr const char* kHost = "127.0.0.1";
constexpr std::size_t kCuerpoMaximo = std::size_t{16} << 20;
constexpr time_t kSilencioMaximoSegundos = 5;
constexpr std::size_t kHilos = 64;

constexpr const char* kUso = "usage: xamu-service --content DIR [--port N] [--log FILE]";

struct Opciones {
  std::string contenido;
  int puerto = 0;
  std::string registro;
};

struct Endpoint {
  const char* ruta;
  Interfaz interfaz;
};

// Both forms of each service's address, the one for a URLServ naming localhost first.
constexpr Endpoint kEndpoints[] = {
    {xamu::kRutaSincronizacionPrueba, Interfaz::kSincronizacion},
    {xamu::kRutaSincronizacion, Interfaz::kSincronizacion},
    {xamu::kRutaAutenticacionPrueba, Interfaz::kAutenticacion},
    {xamu::kRutaAutenticacion, Interfaz::kAutenticacion},
};

// A logged field on one line whatever a client sent: control characters, DEL and "%" as
// %XX, so that a request cannot forge a line or a field of its own.
std::string Escapado(std::string_view campo) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(campo.size());
  for (const char c : campo) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || c == '%') {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

// One line per request: method, path, SOAPAction as received, operation, and the HTTP
// status sent or "dropped", separated by tabs; every field escaped.
class Registro {
 public:
  explicit Registro(const std::string& archivo) {
    if (!archivo.empty()) out_.open(archivo, std::ios::app);
  }
  bool Abierto() const { return out_.is_open(); }

  void Anotar(const httplib::Request& req, const Respuesta& r) {
    if (!out_.is_open()) return;
    const std::string accion =
        req.has_header("SOAPAction") ? req.get_header_value("SOAPAction") : "-";
    const std::lock_guard lock(mutex_);
    out_ << Escapado(req.method) << '\t' << Escapado(req.path) << '\t' << Escapado(accion) << '\t'
         << Escapado(r.operacion) << '\t'
         << (r.cortar ? std::string("dropped") : std::to_string(r.status)) << std::endl;
  }

 private:
  std::mutex mutex_;
  std::ofstream out_;
};

void Enviar(const Respuesta& r, const httplib::Request& req, httplib::Response& res,
            Registro& registro) {
  // Logged before answering, so that a client that has its answer finds the line.
  registro.Anotar(req, r);
  if (r.cortar) {
    xamu::servicio::CerrarConexion(req);
    return;
  }
  res.status = r.status;
  res.set_content(r.cuerpo, r.content_type);
}

std::string PatronExacto(std::string_view ruta) {
  std::string patron;
  for (const char c : ruta) {
    if (c == '.') patron += '\\';
    patron += c;
  }
  return patron;
}

bool LeerOpciones(int argc, char** argv, Opciones& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string nombre = argv[i];
    if (i + 1 >= argc) return false;
    const std::string valor = argv[++i];
    if (nombre == "--content") {
      o.contenido = valor;
    } else if (nombre == "--port") {
      const auto puerto = xamu::platform::ParseDecimalInteger(valor);
      if (!puerto || *puerto < 0 || *puerto > 65535) return false;
      o.puerto = *puerto;
    } else if (nombre == "--log") {
      o.registro = valor;
    } else {
      return false;
    }
  }
  return !o.contenido.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Opciones opciones;
  if (!LeerOpciones(argc, argv, opciones)) {
    std::fprintf(stderr, "%s\n", kUso);
    return 1;
  }
  xamu::servicio::Contenido contenido(opciones.contenido);
  try {
    contenido.Verificar();
  } catch (const xamu::Error& e) {
    std::fprintf(stderr, "xamu-service: %s\n", e.what());
    return 1;
  }
  Registro registro(opciones.registro);
  if (!opciones.registro.empty() && !registro.Abierto()) {
    std::fprintf(stderr, "xamu-service: cannot write the log %s\n", opciones.registro.c_str());
    return 1;
  }

  // The server's threads inherit this mask, so only sigwait below sees the two signals; a
  // client that goes away mid-answer must not end the process.
  sigset_t senales;
  sigemptyset(&senales);
  sigaddset(&senales, SIGINT);
  sigaddset(&senales, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &senales, nullptr);
  signal(SIGPIPE, SIG_IGN);

  xamu::servicio::Servicio servicio(std::move(contenido));
  httplib::Server server;
  // cpp-httplib's default SO_REUSEPORT would let a second service share a port that is
  // taken; --port N must fail instead. Accepted connections inherit TCP_NODELAY: without it
  // a small answer waits for the client's delayed acknowledgement, some 40 ms per packet.
  server.set_socket_options([](socket_t sock) {
    const int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  });
  server.set_tcp_nodelay(true);
  // A packetised answer is thousands of requests on one connection.
  server.set_keep_alive_max_count(std::numeric_limits<int>::max());
  // Hostile or broken clients: no request body is ever near this, a client silent for this
  // long is dropped, and enough threads that a few trickling clients block no other.
  server.set_payload_max_length(kCuerpoMaximo);
  server.set_read_timeout(kSilencioMaximoSegundos, 0);
  server.new_task_queue = [] { return new httplib::ThreadPool(kHilos); };
  for (const Endpoint& e : kEndpoints) {
    server.Post(PatronExacto(e.ruta),
                [&, interfaz = e.interfaz](const httplib::Request& req, httplib::Response& res) {
                  Enviar(servicio.AtenderSoap(interfaz, req.body), req, res, registro);
                });
  }
  server.Get("/Programas/([^/]+)", [&](const httplib::Request& req, httplib::Response& res) {
    Enviar(servicio.AtenderDescarga(req.matches[1]), req, res, registro);
  });
  const auto desconocida = [&](const httplib::Request& req, httplib::Response& res) {
    Respuesta r;
    r.status = 404;
    r.content_type = "text/plain; charset=utf-8";
    r.cuerpo = "Not Found\n";
    Enviar(r, req, res, registro);
  };
  server.Get(".*", desconocida);
  server.Post(".*", desconocida);

  const int puerto = opciones.puerto == 0                          ? server.bind_to_any_port(kHost)
                     : server.bind_to_port(kHost, opciones.puerto) ? opciones.puerto
                                                                   : -1;
  if (puerto <= 0) {
    std::fprintf(stderr, "xamu-service: cannot listen on %s:%d\n", kHost, opciones.puerto);
    return 1;
  }
  std::printf("listening on http://%s:%d\n", kHost, puerto);
  std::fflush(stdout);

  std::thread hilo([&] { server.listen_after_bind(); });
  int senal = 0;
  sigwait(&senales, &senal);
  server.stop();
  hilo.join();
  return 0;
}
