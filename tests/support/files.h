#pragma once

#include <string>

#include "encoding/memory_stream.h"

namespace xamu::testing {

// Whole files, for fixtures; failures show up as the test's own mismatch.
void WriteFile(const std::string& path, const TipoArregloByte& bytes);
TipoArregloByte ReadFile(const std::string& path);

}  // namespace xamu::testing
