// TReader over arbitrary bytes, driven by a sequence of reads that the input chooses.
//
// Input: byte 0 gives the number of read choices (1 + byte % 16), those bytes follow, and
// the rest is the value stream. The reads are repeated in order until one fails or the
// step budget is spent. A choice byte c selects operation c % 10; for CheckValue the tag
// expected is c / 10 (which may be no tag at all).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "encoding/errors.h"
#include "encoding/reader.h"

namespace {

// Enough for every byte of a max_len input to be read several times over.
constexpr int kMaxSteps = 1 << 16;

void Step(xamu::TReader& reader, std::uint8_t choice) {
  switch (choice % 10) {
    case 0:
      reader.ReadInteger();
      break;
    case 1:
      reader.ReadInt64();
      break;
    case 2:
      reader.ReadString();
      break;
    case 3:
      reader.ReadFloat();
      break;
    case 4:
      reader.ReadDouble();
      break;
    case 5:
      reader.ReadCurrency();
      break;
    case 6:
      reader.ReadBoolean();
      break;
    case 7:
      reader.CheckValue(static_cast<xamu::TValueType>(choice / 10));
      break;
    case 8:
      reader.EndOfList();
      break;
    case 9:
      reader.NextValue();
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t choice_count = std::min<std::size_t>(1 + data[0] % 16, size - 1);
  const std::span<const std::uint8_t> choices(data + 1, choice_count);
  xamu::MemoryStream source(xamu::TipoArregloByte(data + 1 + choice_count, data + size));
  {
    xamu::TReader reader(source);
    try {
      for (int step = 0; step < kMaxSteps; ++step) Step(reader, choices[step % choices.size()]);
    } catch (const xamu::Error&) {
      // Every failure of a read is an EReadError; anything else escapes and is a finding.
    }
  }
  // The reader hands the source back positioned inside it, whatever happened.
  if (source.Position() > source.Size()) __builtin_trap();
  return 0;
}
