// A custom mutator for the targets that take 7z archives. Both 7z headers are protected by
// CRCs, so nearly every mutation of an archive would be rejected before libarchive (which
// carries no coverage instrumentation) parses anything. After libFuzzer's own mutation this
// recomputes the two CRCs of the archive's start, most of the time, so that mutated header
// fields (sizes, counts, dictionary sizes, methods) reach the parser and the decoders.
#include <cstddef>
#include <cstdint>
#include <span>

#include "encoding/crc32.h"
#include "encoding/little_endian.h"
#include "encoding/seven_zip_format.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace {

std::uint64_t LittleEndian(const std::uint8_t* p, std::size_t width) {
  return xamu::DecodeLittleEndian(std::span(p, width));
}

void PutLittleEndian32(std::uint8_t* p, std::uint32_t value) {
  xamu::EncodeLittleEndian(value, std::span(p, 4));
}

// The start header: signature (6), version (2), start header CRC (4), next header offset
// (8, counted from byte 32), next header size (8), next header CRC (4).
void FixSevenZipCrcs(std::uint8_t* data, std::size_t size) {
  using xamu::sevenzip::kSignature;
  constexpr std::size_t kStartSize = xamu::sevenzip::kStartHeaderSize;
  if (size < kStartSize) return;
  for (std::size_t i = 0; i < sizeof kSignature; ++i) {
    if (data[i] != kSignature[i]) return;
  }
  const std::uint64_t offset = LittleEndian(data + 12, 8);
  const std::uint64_t length = LittleEndian(data + 20, 8);
  if (offset <= size - kStartSize && length <= size - kStartSize - offset) {
    const std::uint8_t* header = data + kStartSize + offset;
    PutLittleEndian32(data + 28, xamu::Crc32(std::span(header, length)));
  }
  PutLittleEndian32(data + 8, xamu::Crc32(std::span(data + 12, 20)));
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max_size, unsigned int seed) {
  size = LLVMFuzzerMutate(data, size, max_size);
  // One mutation in eight keeps its CRCs as they fell, so that their checks stay covered.
  if (seed % 8 != 0) FixSevenZipCrcs(data, size);
  return size;
}
