#include "support/bytes.h"

#include <random>
#include <stdexcept>

namespace xamu::testing {

TipoArregloByte Hex(std::string_view text) {
  TipoArregloByte bytes;
  int nibbles = 0;
  unsigned value = 0;
  for (const char c : text) {
    if (c == ' ') continue;
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : -1;
    if (digit < 0) throw std::invalid_argument("bad hex");
    value = value << 4 | static_cast<unsigned>(digit);
    if (++nibbles == 2) {
      bytes.push_back(static_cast<std::uint8_t>(value));
      nibbles = 0;
      value = 0;
    }
  }
  if (nibbles != 0) throw std::invalid_argument("odd hex");
  return bytes;
}

TipoArregloByte SampleData(std::size_t size, std::uint32_t seed) {
  static constexpr const char* kWords[] = {"Banco",   "Nacional", "de",       "Mexico",   "Peso",
                                           "Cuenta",  "Activo",   "Pasivo",   "Capital",  "Indice",
                                           "Moneda",  "Pais",     "Colombia", "1000",     "2024",
                                           "Credito", "Debito",   "0.0125",   "Sucursal", "Norte"};
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
  TipoArregloByte data;
  data.reserve(size);
  while (data.size() < size) {
    const std::string_view word = kWords[pick(random)];
    data.insert(data.end(), word.begin(), word.end());
    data.push_back(random() % 7 == 0 ? '\n' : ';');
  }
  data.resize(size);
  return data;
}

}  // namespace xamu::testing
