// The clients over real loopback HTTP, against small servers the tests run in-process.
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "service/base64.h"
#include "service/clientes.h"
#include "service/errors.h"
#include "service/http_transport.h"
#include "service/soap_writer.h"
#include "support/peak_memory.h"

namespace xamu {
namespace {

// An httplib server on a free loopback port, run on its own thread.
class LoopbackServer {
 public:
  LoopbackServer() {
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  ~LoopbackServer() {
    server_.stop();
    thread_.join();
  }
  httplib::Server& operator*() { return server_; }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int Port() const { return port_; }

 private:
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
};

// What a handler saw of the last request.
struct Seen {
  std::mutex mutex;
  std::string path, content_type, action, body, proxy_authorization;
};

std::string Answer(const std::string& element, const std::function<void(SoapWriter&)>& fill) {
  SoapWriter w(element, "urn:x");
  fill(w);
  return w.Finish();
}

ServiceSettings At(const std::string& url) {
  ServiceSettings s;
  s.URLServ = url;
  return s;
}

// An answer that never ends is cut off at the largest a caller can use, the body having
// held at most twice that while it grew.
TEST(HttpTransport, AnEndlessAnswerIsRefusedAtWhatACallerCanUse) {
  if (!testing::MemoryIsMeasurable()) GTEST_SKIP() << "a gigabyte is too slow to move here";
  LoopbackServer server;
  (*server).Post("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_chunked_content_provider("text/xml", [](std::size_t, httplib::DataSink& sink) {
      static const std::string chunk(1 << 20, 'A');
      return sink.write(chunk.data(), chunk.size());  // until the client hangs up
    });
  });
  HttpSettings settings;
  settings.url = server.Url();
  settings.timeout_ms = 30000;
  HttpTransport http(settings);
  std::string error;
  const std::optional<std::size_t> peak = testing::PeakMemoryOf([&] {
    try {
      http.PostSoap("<x/>", "\"urn:x#a\"");
    } catch (const ESOAPHTTPException& e) {
      error = e.what();
    }
  });
  EXPECT_NE(error.find("The answer is larger than"), std::string::npos) << error;
  ASSERT_TRUE(peak);
  RecordProperty("peak", std::to_string(*peak));
  EXPECT_LE(*peak, 2 * kMaxHttpResponse + (std::size_t{64} << 20)) << *peak / (1 << 20) << " MiB";
}

class NoProxyEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* v :
         {"http_proxy", "HTTP_PROXY", "https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"}) {
      unsetenv(v);
    }
  }
};

using ClientesSoap = NoProxyEnvironment;

TEST(Endpoints, LocalhostIsFoundCaseSensitivelyAnywhereAndNothingIsNormalised) {
  const std::pair<const char*, const char*> sync[] = {
      {"http://localhost:8080",
       "http://localhost:8080/SincronizacionWAD.prueba/soap/ISincronizacion"},
      {"http://LOCALHOST:8080", "http://LOCALHOST:8080/Sincronizacion.exe/soap/ISincronizacion"},
      {"http://10.0.0.1/localhost",
       "http://10.0.0.1/localhost/SincronizacionWAD.prueba/soap/ISincronizacion"},
      {"http://x.com/", "http://x.com//Sincronizacion.exe/soap/ISincronizacion"},
  };
  for (const auto& [base, endpoint] : sync) EXPECT_EQ(EndpointSincronizacion(base), endpoint);
  EXPECT_EQ(EndpointAutenticacion("http://localhost"),
            "http://localhost/AutenticacionNEWWAD.Prueba/soap/IAutenticacion");
  EXPECT_EQ(EndpointAutenticacion("https://x.com"),
            "https://x.com/AutenticacionNEW.exe/soap/IAutenticacionNEW");
}

TEST(Endpoints, OnlyHttpAndHttpsAddressesAreAccepted) {
  for (const char* url : {"ftp://x.com", "x.com", ""}) {
    try {
      CrearClienteSincronizacion(At(url));
      ADD_FAILURE() << url;
    } catch (const ESOAPHTTPException& e) {
      EXPECT_EQ(e.what(), "Invalid url '" + EndpointSincronizacion(url) +
                              "' - only supports 'http' and 'https' schemes");
    }
  }
  EXPECT_NO_THROW(CrearClienteAutenticacion(At("HTTPS://x.com")));
}

TEST_F(ClientesSoap, ARequestCarriesItsActionAndTheAnswerReplacesInOutValues) {
  LoopbackServer server;
  Seen seen;
  (*server).Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(seen.mutex);
    seen.path = req.path;
    seen.content_type = req.get_header_value("Content-Type");
    seen.action = req.get_header_value("SOAPAction");
    seen.body = req.body;
    res.set_content(Answer("SincronizarConfirmarResponse",
                           [](SoapWriter& w) {
                             w.AddShort("CodigoError", 0);
                             w.AddByte("ProximaAccion", 7);
                           }),
                    "text/xml");
  });
  auto client = CrearClienteSincronizacion(At(server.Url()));
  std::int16_t code = 5;
  std::uint8_t next = 0;
  std::int32_t status = 123;
  client->SincronizarConfirmar(4, true, code, next, status, 0);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(next, 7);
  EXPECT_EQ(status, 123) << "an answer without Status leaves it as sent";
  std::lock_guard lock(seen.mutex);
  EXPECT_EQ(seen.path, "/Sincronizacion.exe/soap/ISincronizacion");
  EXPECT_EQ(seen.content_type, "text/xml; charset=utf-8");
  EXPECT_EQ(seen.action, "\"urn:SincronizacionIntf-ISincronizacion#SincronizarConfirmar\"");
  EXPECT_NE(seen.body.find(
                "<NS1:SincronizarConfirmar xmlns:NS1=\"urn:SincronizacionIntf-ISincronizacion\">"
                "<IDUsuario xsi:type=\"xsd:short\">4</IDUsuario>"
                "<PRespuesta xsi:type=\"xsd:boolean\">true</PRespuesta>"
                "<CodigoError xsi:type=\"xsd:short\">5</CodigoError>"
                "<ProximaAccion xsi:type=\"xsd:unsignedByte\">0</ProximaAccion>"
                "<Status xsi:type=\"xsd:int\">123</Status>"
                "<IDFormato xsi:type=\"xsd:short\">0</IDFormato></NS1:SincronizarConfirmar>"),
            std::string::npos)
      << seen.body;
}

TEST_F(ClientesSoap, APacketIsFetchedWithoutSendingThePreviousOneBack) {
  LoopbackServer server;
  Seen seen;
  (*server).Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(seen.mutex);
    seen.body = req.body;
    res.set_content(Answer("SincronizarTraerPaquetesResponse",
                           [](SoapWriter& w) {
                             w.AddBoolean("return", true);
                             w.AddBytes("ArregloDeBytes", {7, 8, 9});
                           }),
                    "text/xml");
  });
  TipoArregloByte carrier(600, 0x41);  // the previous packet
  EXPECT_TRUE(
      CrearClienteSincronizacion(At(server.Url()))->SincronizarTraerPaquetes(4, carrier, 3));
  EXPECT_EQ(carrier, (TipoArregloByte{7, 8, 9}));
  std::lock_guard lock(seen.mutex);
  EXPECT_NE(seen.body.find("<IDUsuario xsi:type=\"xsd:short\">4</IDUsuario>"
                           "<ArregloDeBytes xsi:type=\"xsd:base64Binary\" xsi:nil=\"true\"/>"
                           "<PaqueteNumero xsi:type=\"xsd:short\">3</PaqueteNumero>"),
            std::string::npos)
      << seen.body;
}

TEST_F(ClientesSoap, TheAuthenticationServiceHasOneActionForEveryOperation) {
  LoopbackServer server;
  Seen seen;
  (*server).Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(seen.mutex);
    seen.path = req.path;
    seen.action = req.get_header_value("SOAPAction");
    res.set_content(
        Answer("GrabarDatosUsuariosResponse", [](SoapWriter& w) { w.AddShort("CodigoError", 2); }),
        "text/xml");
  });
  auto client = CrearClienteAutenticacion(At(server.Url()));
  std::int16_t code = 0;
  std::uint8_t next = 0;
  std::int32_t status = 0;
  TipoArregloByte record(58, 1);
  client->GrabarDatosUsuarios(code, next, status, record);
  EXPECT_EQ(code, 2);
  std::lock_guard lock(seen.mutex);
  EXPECT_EQ(seen.action, "\"urn:AutenticacionNEWIntf-IAutenticacionNEW#AutenticarCliente\"");
  EXPECT_EQ(seen.path, "/AutenticacionNEW.exe/soap/IAutenticacionNEW");
}

TEST_F(ClientesSoap, StatusFaultAndConnectionFailuresAreRaised) {
  LoopbackServer server;
  (*server).Post("/Sincronizacion.exe/soap/ISincronizacion", [](const httplib::Request& req,
                                                                httplib::Response& res) {
    if (req.body.find("SincronizarProgramas") != std::string::npos) {
      res.status = 500;
      res.set_content(SoapFault("SOAP-ENV:Server", "Archivo no encontrado"), "text/xml");
    } else {
      res.status = 503;
    }
  });
  auto client = CrearClienteSincronizacion(At(server.Url()));
  TipoArregloByte bytes;
  try {
    client->SincronizarProgramas("X.EXE", bytes);
    ADD_FAILURE();
  } catch (const ERemotableException& e) {
    EXPECT_STREQ(e.what(), "Archivo no encontrado");
  }
  try {
    client->SincronizarTraerPaquetes(1, bytes, 2);
    ADD_FAILURE();
  } catch (const ESOAPHTTPException& e) {
    EXPECT_EQ(e.what(),
              "Service Unavailable (503) - '" + EndpointSincronizacion(server.Url()) + "'");
  }
  auto missing = CrearClienteSincronizacion(At(server.Url() + "/other"));
  EXPECT_THROW(missing->SincronizarTraerPaquetes(1, bytes, 2), ESOAPHTTPException) << "404";

  // A server that accepts and closes without a word.
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  socklen_t length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  listen(listener, 1);
  std::thread dropper([listener] {
    const int connection = accept(listener, nullptr, nullptr);
    char buffer[4096];
    recv(connection, buffer, sizeof buffer, 0);
    close(connection);
  });
  const std::string dropped_url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
  auto dropped = CrearClienteSincronizacion(At(dropped_url));
  try {
    dropped->SincronizarTraerPaquetes(1, bytes, 2);
    ADD_FAILURE();
  } catch (const ESOAPHTTPException& e) {
    EXPECT_NE(std::string(e.what()), "");
  }
  dropper.join();
  close(listener);
  auto refused = CrearClienteSincronizacion(At(dropped_url));
  EXPECT_THROW(refused->SincronizarTraerPaquetes(1, bytes, 2), ESOAPHTTPException);
}

TEST(ProxyFor, TrimmedHostAndPortOnlyWithTheSystemProxy) {
  struct Case {
    bool proxy_sistema;
    const char* proxy;
    const char* port;
    const char* expected;
  };
  const Case cases[] = {
      {true, " proxy1 ", " 8080 ", "proxy1:8080"},
      {true, " proxy1 ", "", "proxy1:"},  // a bare colon, as the settings leave it
      {true, "  ", "8080", ""},
      {false, "proxy1", "8080", ""},
  };
  for (const Case& c : cases) {
    ServiceSettings s;
    s.ProxySistema = c.proxy_sistema;
    s.Proxy = c.proxy;
    s.PortProxy = c.port;
    EXPECT_EQ(ProxyFor(s), c.expected) << c.proxy << "|" << c.port;
  }
}

TEST_F(ClientesSoap, ProxyAndCredentialsOnlyWithTheSystemProxy) {
  LoopbackServer proxy;
  Seen seen;
  std::atomic<int> requests = 0;
  (*proxy).Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
    ++requests;
    std::lock_guard lock(seen.mutex);
    seen.path = req.target;
    seen.proxy_authorization = req.get_header_value("Proxy-Authorization");
    if (seen.proxy_authorization.empty()) {
      res.status = 407;
      res.set_header("Proxy-Authenticate", "Basic realm=\"xamu\"");
      return;
    }
    res.set_content(Answer("SincronizarTraerPaquetesResponse",
                           [](SoapWriter& w) { w.AddBoolean("return", true); }),
                    "text/xml");
  });
  TipoArregloByte bytes;
  ServiceSettings settings{"http://xamu.invalid",       true, " juan ", "clave", " 127.0.0.1 ",
                           std::to_string(proxy.Port())};
  EXPECT_TRUE(CrearClienteSincronizacion(settings)->SincronizarTraerPaquetes(1, bytes, 2));
  {
    std::lock_guard lock(seen.mutex);
    EXPECT_EQ(seen.path, "http://xamu.invalid/Sincronizacion.exe/soap/ISincronizacion");
    const TipoArregloByte credentials = DecodeBase64(seen.proxy_authorization.substr(6));
    EXPECT_EQ(std::string(credentials.begin(), credentials.end()), "juan:clave");
  }

  // Without the system proxy the values are not used: the call goes straight to the server.
  LoopbackServer direct;
  (*direct).Post(".*", [&](const httplib::Request&, httplib::Response& res) {
    res.set_content(Answer("R", [](SoapWriter& w) { w.AddBoolean("return", false); }), "text/xml");
  });
  settings.ProxySistema = false;
  settings.URLServ = direct.Url();
  const int before = requests;
  EXPECT_FALSE(CrearClienteSincronizacion(settings)->SincronizarTraerPaquetes(1, bytes, 2));
  EXPECT_EQ(requests, before);
}

}  // namespace
}  // namespace xamu
