// ReadDataPacket over arbitrary bytes. A packet that loads must write back byte for byte,
// and every row it accepted must decode against its columns.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "tables/data_packet.h"
#include "tables/packet_values.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "data_packet_fuzzer: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  xamu::DataPacket packet;
  try {
    packet = xamu::ReadDataPacket(bytes);
  } catch (const xamu::Error&) {
    return 0;  // refusing is fine; anything other than xamu::Error escapes and is a finding
  }
  xamu::TipoArregloByte written;
  try {
    written = xamu::WriteDataPacket(packet);
  } catch (const xamu::Error&) {
    Broken("a loaded packet cannot be written");
  }
  if (written.size() != size || std::memcmp(written.data(), data, size) != 0) {
    Broken("a loaded packet does not write back byte for byte");
  }
  for (std::size_t i = 0; i < packet.RowCount(); ++i) {
    try {
      const xamu::DecodedRow row = xamu::DecodeRow(packet.columns, packet.Row(i));
      if (row.values.size() != packet.columns.size()) Broken("a row without a value per column");
    } catch (const xamu::Error&) {
      Broken("a row the reader accepted does not decode");
    }
  }
  xamu::ReadChangeLog(packet);
  return 0;
}
