#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "encoding/memory_stream.h"

namespace xamu::testing {

// "0A FF 00" as bytes, for tables of expected encodings.
TipoArregloByte Hex(std::string_view text);

// Text-like data that compresses the way real tables do, the same for the same seed.
TipoArregloByte SampleData(std::size_t size, std::uint32_t seed = 1);

}  // namespace xamu::testing
