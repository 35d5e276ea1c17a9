#pragma once

#include <string>
#include <string_view>

#include "encoding/memory_stream.h"

namespace xamu {

// Standard base64 with "=" padding and a CR LF after every 76 characters of output,
// at the very end too when the output length is a multiple of 76.
std::string EncodeBase64Lines(const TipoArregloByte& bytes);
// The length of that text for `count` bytes.
std::size_t Base64LinesSize(std::size_t count);
// The same, appended to `out` without a temporary.
void AppendBase64Lines(const TipoArregloByte& bytes, std::string& out);

// Decodes base64 on one line or wrapped (whitespace is ignored). ESOAPResponseError for
// any other character, or for padding that does not fit.
TipoArregloByte DecodeBase64(std::string_view text);

}  // namespace xamu
