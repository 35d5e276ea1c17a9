#pragma once

#include <cstddef>

#include "encoding/memory_stream.h"

namespace xamu::bench {

// A semicolon-separated price list of exactly `size` bytes: the kind of text table the
// launcher compresses, so that compressors see realistic redundancy. The same bytes on
// every call, so that runs can be compared.
TipoArregloByte TableText(std::size_t size);

}  // namespace xamu::bench
