// The baseline of the worker benchmark, written without the launcher's code: fetch the
// synchronization answer over loopback with libcurl (whole, or in packets of a size),
// decode the base64 of each entry, decompress it with zlib (raw DEFLATE) or libarchive's
// 7z reader over liblzma, and write given dataset-file bytes with fsync, as the worker
// writes its tables. Usage:
//   xamu_bench_sync_baseline URL FILES_DIR OUT_DIR [PACKET_SIZE]
// FILES_DIR holds the dataset files the worker produced (read before the clock starts);
// it prints the wall time in seconds and the bytes fetched.
#include <archive.h>
#include <curl/curl.h>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>
#include <pugixml.hpp>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;
constexpr const char* kNs = "urn:SincronizacionIntf-ISincronizacion";

std::string Envelope(const std::string& operation, const std::string& params) {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"utf-8\"?><SOAP-ENV:Envelope "
             "xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\" "
             "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" "
             "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><SOAP-ENV:Body>"
             "<NS1:") +
         operation + " xmlns:NS1=\"" + kNs + "\">" + params + "</NS1:" + operation +
         "></SOAP-ENV:Body></SOAP-ENV:Envelope>";
}

std::string Short(const char* name, int v) {
  return std::string("<") + name + " xsi:type=\"xsd:short\">" + std::to_string(v) + "</" + name +
         ">";
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* out) {
  static_cast<std::string*>(out)->append(data, size * count);
  return size * count;
}

class Client {
 public:
  explicit Client(std::string url)
      : url_(std::move(url) + "/Sincronizacion.exe/soap/ISincronizacion") {
    curl_ = curl_easy_init();
  }
  ~Client() { curl_easy_cleanup(curl_); }
  std::string Post(const std::string& operation, const std::string& body) {
    std::string answer;
    curl_slist* headers = curl_slist_append(nullptr, "Content-Type: text/xml; charset=utf-8");
    headers = curl_slist_append(
        headers, ("SOAPAction: \"" + std::string(kNs) + "#" + operation + "\"").c_str());
    curl_easy_setopt(curl_, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(curl_, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl_, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl_, CURLOPT_POSTFIELDSIZE, static_cast<long>(body.size()));
    curl_easy_setopt(curl_, CURLOPT_WRITEFUNCTION, Collect);
    curl_easy_setopt(curl_, CURLOPT_WRITEDATA, &answer);
    const CURLcode rc = curl_easy_perform(curl_);
    curl_slist_free_all(headers);
    if (rc != CURLE_OK) throw std::runtime_error(curl_easy_strerror(rc));
    fetched += answer.size();
    return answer;
  }
  std::size_t fetched = 0;

 private:
  std::string url_;
  CURL* curl_;
};

Bytes Base64(const char* text) {
  static signed char table[256];
  if (table[0] == 0) {
    std::memset(table, -1, sizeof table);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (int i = 0; i < 64; ++i)
      table[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
  }
  Bytes out;
  out.reserve(std::strlen(text) / 4 * 3);
  unsigned buffer = 0;
  int bits = 0;
  for (const char* p = text; *p; ++p) {
    const int v = table[static_cast<unsigned char>(*p)];
    if (v < 0) continue;
    buffer = buffer << 6 | static_cast<unsigned>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<unsigned char>(buffer >> bits));
    }
  }
  return out;
}

// The first element of that local name below `node`, at any depth.
pugi::xml_node Find(pugi::xml_node node, const char* name) {
  return node.find_node([name](pugi::xml_node n) {
    const char* colon = std::strchr(n.name(), ':');
    return std::strcmp(colon ? colon + 1 : n.name(), name) == 0;
  });
}

Bytes Decompress(const Bytes& data) {
  if (data.size() >= 4 && data[0] == 0x37 && data[1] == 0x7A && data[2] == 0xBC) {
    archive* a = archive_read_new();
    archive_read_support_format_7zip(a);
    archive_read_open_memory(a, data.data(), data.size());
    archive_entry* entry = nullptr;
    Bytes out;
    if (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
      const void* block;
      std::size_t size;
      la_int64_t offset;
      while (archive_read_data_block(a, &block, &size, &offset) == ARCHIVE_OK) {
        out.insert(out.end(), static_cast<const unsigned char*>(block),
                   static_cast<const unsigned char*>(block) + size);
      }
    }
    archive_read_free(a);
    return out;
  }
  z_stream z{};
  inflateInit2(&z, -15);
  Bytes out(data.size() * 4 + 64);
  z.next_in = const_cast<unsigned char*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  for (;;) {
    z.next_out = out.data() + z.total_out;
    z.avail_out = static_cast<uInt>(out.size() - z.total_out);
    const int rc = inflate(&z, Z_FINISH);
    if (rc == Z_STREAM_END || (rc != Z_OK && rc != Z_BUF_ERROR)) break;
    out.resize(out.size() * 2);
  }
  out.resize(z.total_out);
  inflateEnd(&z);
  return out;
}

void WriteSynced(const std::filesystem::path& path, const Bytes& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
      fsync(fd) != 0 || close(fd) != 0) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: %s URL FILES_DIR OUT_DIR [PACKET_SIZE]\n", argv[0]);
    return 1;
  }
  std::vector<std::pair<std::string, Bytes>> files;
  for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
    std::ifstream in(entry.path(), std::ios::binary);
    files.emplace_back(entry.path().filename().string(),
                       Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
  }
  std::filesystem::create_directories(argv[3]);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  // The entries' lengths, which the packet form's structure carries, from a whole answer
  // fetched before the clock starts.
  std::vector<std::size_t> lengths;
  if (argc == 5) {
    Client before(argv[1]);
    std::string xml = before.Post(
        "Sincronizar", Envelope("Sincronizar", Short("IDCliente", 17) + Short("IDUsuario", 203)));
    pugi::xml_document doc;
    doc.load_buffer_inplace(xml.data(), xml.size());
    for (pugi::xml_node item : Find(doc, "ArregloRespuesta").children())
      lengths.push_back(Base64(Find(item, "Datos").text().get()).size());
  }
  const auto start = std::chrono::steady_clock::now();
  Client client(argv[1]);
  std::size_t entries = 0;
  std::size_t decompressed = 0;
  if (argc == 4) {
    std::string xml = client.Post(
        "Sincronizar", Envelope("Sincronizar", Short("IDCliente", 17) + Short("IDUsuario", 203)));
    pugi::xml_document doc;
    doc.load_buffer_inplace(xml.data(), xml.size());
    for (pugi::xml_node item : Find(doc, "ArregloRespuesta").children()) {
      decompressed += Decompress(Base64(Find(item, "Datos").text().get())).size();
      ++entries;
    }
  } else {
    const int size = std::atoi(argv[4]);
    std::string xml = client.Post(
        "SincronizarGenerarPaquetes",
        Envelope("SincronizarGenerarPaquetes",
                 Short("IDCliente", 17) + Short("IDUsuario", 203) + Short("TamanoPaquete", size)));
    pugi::xml_document doc;
    doc.load_buffer_inplace(xml.data(), xml.size());
    Bytes joined = Base64(Find(doc, "ArregloDeBytes").text().get());
    const int count = Find(doc, "NumeroDePaquetes").text().as_int();
    for (int k = 2; k <= count; ++k) {
      std::string packet =
          client.Post("SincronizarTraerPaquetes",
                      Envelope("SincronizarTraerPaquetes",
                               Short("IDUsuario", 203) + Short("PaqueteNumero", k)));
      pugi::xml_document p;
      p.load_buffer_inplace(packet.data(), packet.size());
      const Bytes bytes = Base64(Find(p, "ArregloDeBytes").text().get());
      joined.insert(joined.end(), bytes.begin(), bytes.end());
    }
    std::size_t offset = 0;
    for (const std::size_t length : lengths) {
      const Bytes entry(joined.begin() + static_cast<std::ptrdiff_t>(offset),
                        joined.begin() + static_cast<std::ptrdiff_t>(offset + length));
      decompressed += Decompress(entry).size();
      offset += length;
      ++entries;
    }
  }
  for (const auto& [name, bytes] : files) WriteSynced(std::filesystem::path(argv[3]) / name, bytes);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.3f s, %zu bytes fetched, %zu entries, %zu bytes decompressed\n", seconds,
              client.fetched, entries, decompressed);
  return 0;
}
