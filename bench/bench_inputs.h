#pragma once

// Inputs shared by xamu_bench and xamu_bench_memory: a table-13 value stream, a SOAP
// answer carrying a large byte array, and a service that serves a packetised answer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "encoding/memory_stream.h"
#include "service/clientes.h"
#include "support/fake_sincronizacion.h"

namespace xamu::bench {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// --- The table of IDObjeto 13 ---------------------------------------------------------

inline constexpr std::int16_t kIDObjetoTabla13 = 13;

// The value stream the service sends for `rows` records of table 13: a list of values
// column by column, Booleans as bare tags 8/9, texts of realistic lengths (Comentario 60 to
// 200 characters, Descripcion about 20, Nick about 8), some with Spanish accents. The same
// bytes on every call.
TipoArregloByte Tabla13Stream(int rows);

// The reads GrabarTablaCDS makes on that stream, with nothing built: ReadInteger (range
// checked), ReadBoolean and ReadString per column in a CheckValue/EndOfList loop; with
// `windows1252`, each text also converted as the builder stores it. Returns the number of
// records; raises EReadError as the builder would.
int ReadTabla13(MemoryStream& stream, bool windows1252 = false);

// Writes `bytes` to `path` (created or truncated) and flushes them to the disk with fsync,
// as the table builder does, or without the flush. False on any failure.
bool WriteFileBytes(const std::string& path, const TipoArregloByte& bytes, bool sync);

// --- SOAP -----------------------------------------------------------------------------

// `size` bytes without redundancy, the same on every call.
TipoArregloByte Payload(std::size_t size);

// The answer of SincronizarProgramas carrying `payload`: SoapWriter with the result and the
// byte array, the way the local service writes it.
std::string ProgramasResponse(const TipoArregloByte& payload);

// Parses an answer as the client does and returns its byte array; raises on a bad answer.
TipoArregloByte ReadProgramasResponse(std::string xml);

// --- Packets --------------------------------------------------------------------------

// Plays the synchronization service for SincronizarEnPaquetes: `packets` packets of
// `packet_size` bytes each (packet k carries k in its first two bytes), and a compressed
// structure with one entry for every `packets_per_entry` packets, the last taking what
// remains.
class PacketService : public testing::NullSincronizacion {
 public:
  PacketService(int packets, std::size_t packet_size, int packets_per_entry);

  int Packets() const { return packets_; }
  std::size_t PacketSize() const { return packet_.size(); }
  std::size_t DataSize() const { return static_cast<std::size_t>(packets_) * packet_.size(); }
  std::size_t EntryCount() const { return entries_; }

  bool SincronizarGenerarPaquetes(std::int16_t, std::int16_t, TipoArregloByte& bytes, std::int16_t,
                                  bool, bool, std::int16_t& CodigoError, std::uint8_t&,
                                  std::int32_t& Status, std::int16_t, std::int16_t& count,
                                  TipoArregloByte& estructura) override;
  bool SincronizarTraerPaquetes(std::int16_t, TipoArregloByte& bytes, std::int16_t k) override;

 private:
  int packets_;
  std::size_t entries_ = 0;
  TipoArregloByte packet_;
  TipoArregloByte structure_;  // compressed
};

// One run of SincronizarEnPaquetes against `service`; returns the entries, or raises.
SincronizacionArchivoInformacion RunPackets(PacketService& service, std::int16_t packet_size);

// The same data movement without the transfer code: packet k fetched from `service` into
// one carrier and appended to a plain vector, which is then copied out in the entries'
// lengths. Returns the pieces.
std::vector<TipoArregloByte> CopyPackets(PacketService& service, int packets_per_entry);

// Whether `entries` hold the service's data in order: the sizes add up and every packet's
// stamp is where it belongs.
bool PacketsReassembled(const PacketService& service, std::size_t packet_size,
                        const SincronizacionArchivoInformacion& entries);

}  // namespace xamu::bench
