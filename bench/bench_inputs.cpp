#include "bench_inputs.h"
#include "service/service_names.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <stdexcept>
#include <string_view>

#include "encoding/compresion.h"
#include "encoding/errors.h"
#include "encoding/reader.h"
#include "encoding/text_encoding.h"
#include "encoding/writer.h"
#include "service/estructura_paquetes.h"
#include "service/paquetes.h"
#include "service/soap_reader.h"
#include "service/soap_writer.h"

namespace xamu::bench {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "xamu-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

// --- The table of IDObjeto 13 ---------------------------------------------------------

namespace {

// Words of the comments; about a third carry an accent, as Spanish prose does.
constexpr std::array<std::u16string_view, 32> kWords = {
    u"índice",      u"de",          u"precios",    u"al",         u"consumidor", u"según",
    u"la",          u"metodología", u"vigente",    u"para",       u"el",         u"período",
    u"base",        u"con",         u"revisión",   u"trimestral", u"del",        u"sector",
    u"económico",   u"producción",  u"industrial", u"en",         u"región",     u"andina",
    u"ponderación", u"por",         u"población",  u"urbana",     u"y",          u"rural",
    u"cálculo",     u"anual"};
constexpr std::array<std::u16string_view, 10> kDescriptions = {
    u"Índice de precios",      u"Producción industrial", u"Tasa de desempleo",
    u"Balanza comercial",      u"Exportaciones netas",   u"Inflación básica",
    u"Consumo de los hogares", u"Inversión extranjera",  u"Remesas recibidas",
    u"Población ocupada"};
constexpr std::array<std::u16string_view, 10> kNicks = {
    u"IPC",    u"PROD-IND", u"DESEMPL", u"BAL-COM", u"EXPORT",
    u"INFL-B", u"CONSUMO",  u"IED",     u"REMESAS", u"OCUPAD"};

std::int32_t ReadInt16(TReader& reader) {
  const std::int32_t value = reader.ReadInteger();
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw EReadError(kInvalidPropertyValue);
  }
  return value;
}

}  // namespace

TipoArregloByte Tabla13Stream(int rows) {
  std::mt19937 random(1313);
  const auto between = [&random](int lo, int hi) {
    return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
  };
  MemoryStream stream;
  {
    TWriter writer(stream);
    writer.WriteListBegin();
    std::u16string comment;
    for (int row = 0; row < rows; ++row) {
      writer.WriteInteger(between(1, 500));   // IDCliente
      writer.WriteInteger(between(1, 12));    // IDEstrato
      writer.WriteInteger(between(1, 60));    // IDFormato
      writer.WriteInteger(between(1, 3000));  // IDInstituto
      writer.WriteInteger(between(1, 250));   // IDPais
      writer.WriteInteger(between(1, 3));     // IDIdioma
      writer.WriteBoolean(row % 3 != 0);      // CheckVigente
      writer.WriteBoolean(row % 2 == 0);      // Totaliza
      const std::size_t length = static_cast<std::size_t>(between(60, 200));
      comment.clear();
      while (comment.size() < length) {
        if (!comment.empty()) comment += u' ';
        comment +=
            kWords[static_cast<std::size_t>(between(0, static_cast<int>(kWords.size()) - 1))];
      }
      comment.resize(length);
      writer.WriteString(comment);
      const std::size_t pick =
          static_cast<std::size_t>(between(0, static_cast<int>(kDescriptions.size()) - 1));
      writer.WriteString(kDescriptions[pick]);
      writer.WriteString(kNicks[pick]);
      writer.WriteBoolean(row % 50 == 0);  // EsDefault
    }
    writer.WriteListEnd();
  }
  return stream.Take();
}

int ReadTabla13(MemoryStream& stream, bool windows1252) {
  stream.Seek(0);
  TReader reader(stream);
  reader.CheckValue(TValueType::vaList);
  int rows = 0;
  while (!reader.EndOfList()) {
    for (int i = 0; i < 6; ++i) ReadInt16(reader);
    reader.ReadBoolean();
    reader.ReadBoolean();
    for (int i = 0; i < 3; ++i) {
      const std::u16string text = reader.ReadString();
      if (windows1252) Utf16ToWindows1252(text);
    }
    reader.ReadBoolean();
    ++rows;
  }
  reader.CheckValue(TValueType::vaNull);
  return rows;
}

bool WriteFileBytes(const std::string& path, const TipoArregloByte& bytes, bool sync) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  const bool synced = !sync || fsync(fd) == 0;
  return close(fd) == 0 && synced && done == bytes.size();
}

// --- SOAP -----------------------------------------------------------------------------

TipoArregloByte Payload(std::size_t size) {
  std::mt19937_64 random(64);
  TipoArregloByte bytes(size);
  for (std::size_t i = 0; i < size; i += 8) {
    const std::uint64_t word = random();
    for (std::size_t k = 0; k < 8 && i + k < size; ++k) {
      bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
    }
  }
  return bytes;
}

std::string ProgramasResponse(const TipoArregloByte& payload) {
  SoapWriter writer("SincronizarProgramasResponse", kNsSincronizacion);
  writer.AddBoolean("return", true);
  writer.AddBytes("ArregloDeBytes", payload);
  return writer.Finish();
}

TipoArregloByte ReadProgramasResponse(std::string xml) {
  const SoapMessage message(std::move(xml));
  if (!message.ResultBoolean()) throw std::runtime_error("the answer's result is false");
  TipoArregloByte bytes;
  message.Read("ArregloDeBytes", bytes);
  return bytes;
}

// --- Packets --------------------------------------------------------------------------

PacketService::PacketService(int packets, std::size_t packet_size, int packets_per_entry)
    : packets_(packets), packet_(packet_size) {
  for (std::size_t i = 0; i < packet_size; ++i) packet_[i] = static_cast<std::uint8_t>(i * 7);
  TipoArregloSmallInt formats;
  for (int f = 1; f <= 20; ++f) formats.push_back(static_cast<std::int16_t>(f * 3));
  const std::size_t entry_size = packet_size * static_cast<std::size_t>(packets_per_entry);
  entries_ = (DataSize() + entry_size - 1) / entry_size;
  SincronizacionArchivoInformacion entries;
  for (std::size_t e = 0; e < entries_; ++e) {
    const std::size_t length = std::min(entry_size, DataSize() - e * entry_size);
    entries.push_back({static_cast<std::int16_t>(100 + e % 30),
                       "Tabla" + std::string(1, static_cast<char>('A' + e % 26)) + ".cds",
                       static_cast<std::int32_t>(length),
                       45000.5,
                       {}});
  }
  structure_ = ComprimirArreglo(EscribirEstructura(formats, entries));
}

bool PacketService::SincronizarGenerarPaquetes(std::int16_t, std::int16_t, TipoArregloByte& bytes,
                                               std::int16_t, bool, bool, std::int16_t& CodigoError,
                                               std::uint8_t&, std::int32_t& Status, std::int16_t,
                                               std::int16_t& count, TipoArregloByte& estructura) {
  CodigoError = 0;
  Status = 0;
  count = static_cast<std::int16_t>(packets_);
  estructura = structure_;
  return SincronizarTraerPaquetes(0, bytes, 1);
}

bool PacketService::SincronizarTraerPaquetes(std::int16_t, TipoArregloByte& bytes, std::int16_t k) {
  bytes = packet_;
  bytes[0] = static_cast<std::uint8_t>(k);
  bytes[1] = static_cast<std::uint8_t>(k >> 8);
  return true;
}

SincronizacionArchivoInformacion RunPackets(PacketService& service, std::int16_t packet_size) {
  TipoArregloByte carrier;
  RespuestaSincronizacion answer;
  if (!SincronizarEnPaquetes(service,
                             {.IDCliente = 1,
                              .IDUsuario = 2,
                              .DebeSincronizarProgramas = true,
                              .TamanoPaquete = packet_size},
                             carrier, answer, {}) ||
      answer.CodigoError != 0) {
    throw std::runtime_error("the packetised answer failed");
  }
  return std::move(answer.entradas);
}

std::vector<TipoArregloByte> CopyPackets(PacketService& service, int packets_per_entry) {
  TipoArregloByte carrier;
  TipoArregloByte data;
  for (int k = 1; k <= service.Packets(); ++k) {
    service.SincronizarTraerPaquetes(0, carrier, static_cast<std::int16_t>(k));
    data.insert(data.end(), carrier.begin(), carrier.end());
  }
  const std::size_t entry_size = service.PacketSize() * static_cast<std::size_t>(packets_per_entry);
  std::vector<TipoArregloByte> pieces;
  for (std::size_t offset = 0; offset < data.size(); offset += entry_size) {
    const auto begin = data.begin() + static_cast<std::ptrdiff_t>(offset);
    pieces.emplace_back(
        begin, begin + static_cast<std::ptrdiff_t>(std::min(entry_size, data.size() - offset)));
  }
  return pieces;
}

bool PacketsReassembled(const PacketService& service, std::size_t packet_size,
                        const SincronizacionArchivoInformacion& entries) {
  std::size_t offset = 0;
  for (const Archivo1Sincronizacion& e : entries) {
    if (e.Datos.size() != static_cast<std::size_t>(e.Longitud)) return false;
    for (std::size_t at = (packet_size - offset % packet_size) % packet_size; at < e.Datos.size();
         at += packet_size) {
      const std::size_t k = (offset + at) / packet_size + 1;
      if (at + 1 >= e.Datos.size() || e.Datos[at] != static_cast<std::uint8_t>(k) ||
          e.Datos[at + 1] != static_cast<std::uint8_t>(k >> 8)) {
        return false;
      }
    }
    offset += e.Datos.size();
  }
  return offset == service.DataSize();
}

}  // namespace xamu::bench
