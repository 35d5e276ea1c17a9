#include "support/files.h"

#include <fstream>
#include <iterator>

namespace xamu::testing {

void WriteFile(const std::string& path, const TipoArregloByte& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

TipoArregloByte ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return TipoArregloByte((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace xamu::testing
