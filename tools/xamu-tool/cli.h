#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/memory_stream.h"

namespace xamu::tool {

using Arguments = std::vector<std::string>;

// A command line that does not fit the command; printed as one line, exit code 1.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void RequireArgumentCount(const Arguments& args, std::size_t count, const char* usage);

TipoArregloByte ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const TipoArregloByte& bytes);

// A JSON string literal of UTF-8 text.
std::string JsonString(std::string_view utf8);

std::int64_t ParseInteger(std::string_view text, std::int64_t min, std::int64_t max);

}  // namespace xamu::tool
