// A custom mutator for the targets that take 7z archives. Both 7z headers are protected by
// CRCs, so nearly every mutation of an archive would be rejected before libarchive (which
// carries no coverage instrumentation) parses anything. After libFuzzer's own mutation this
// recomputes the two CRCs of the archive's start, most of the time, so that mutated header
// fields (sizes, counts, dictionary sizes, methods) reach the parser and the decoders.
#include <zlib.h>

#include <cstddef>
#include <cstdint>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t max_size);

namespace {

std::uint64_t LittleEndian(const std::uint8_t* p, int width) {
  std::uint64_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
  return value;
}

void PutLittleEndian32(std::uint8_t* p, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The start header: signature (6), version (2), start header CRC (4), next header offset
// (8, counted from byte 32), next header size (8), next header CRC (4).
void FixSevenZipCrcs(std::uint8_t* data, std::size_t size) {
  constexpr std::uint8_t kSignature[] = {0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C};
  constexpr std::size_t kStartSize = 32;
  if (size < kStartSize) return;
  for (std::size_t i = 0; i < sizeof kSignature; ++i) {
    if (data[i] != kSignature[i]) return;
  }
  const std::uint64_t offset = LittleEndian(data + 12, 8);
  const std::uint64_t length = LittleEndian(data + 20, 8);
  if (offset <= size - kStartSize && length <= size - kStartSize - offset) {
    const std::uint8_t* header = data + kStartSize + offset;
    PutLittleEndian32(data + 28,
                      static_cast<std::uint32_t>(crc32(0, header, static_cast<uInt>(length))));
  }
  PutLittleEndian32(data + 8, static_cast<std::uint32_t>(crc32(0, data + 12, 20)));
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t max_size, unsigned int seed) {
  size = LLVMFuzzerMutate(data, size, max_size);
  // One mutation in eight keeps its CRCs as they fell, so that their checks stay covered.
  if (seed % 8 != 0) FixSevenZipCrcs(data, size);
  return size;
}
