#include "sample_data.h"

#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>

namespace xamu::bench {
namespace {

constexpr std::array<std::string_view, 12> kProducts = {
    "Cuaderno rayado 100 hojas", "Lapiz grafito HB",       "Boligrafo azul punta fina",
    "Resma papel carta 75 g",    "Carpeta archivadora",    "Marcador permanente negro",
    "Cinta adhesiva 18 mm",      "Calculadora cientifica", "Tijera escolar punta roma",
    "Pegamento en barra 40 g",   "Corrector liquido",      "Regla metalica 30 cm"};
constexpr std::array<std::string_view, 8> kCities = {"Bogota",       "Medellin",  "Cali",
                                                     "Barranquilla", "Cartagena", "Bucaramanga",
                                                     "Pereira",      "Manizales"};
constexpr std::array<std::string_view, 4> kStates = {"ACTIVO", "ACTIVO", "AGOTADO", "RETIRADO"};

}  // namespace

TipoArregloByte TableText(std::size_t size) {
  std::mt19937 random(20240229);
  const auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
  std::string text = "codigo;producto;ciudad;fecha;cantidad;precio;estado\n";
  char row[160];
  while (text.size() < size) {
    const int written =
        std::snprintf(row, sizeof row, "%06zu;%s;%s;2024-%02zu-%02zu;%zu;%zu.%02zu;%s\n",
                      100000 + pick(900000), kProducts[pick(kProducts.size())].data(),
                      kCities[pick(kCities.size())].data(), 1 + pick(12), 1 + pick(28), pick(500),
                      100 + pick(99900), pick(100), kStates[pick(kStates.size())].data());
    text.append(row, static_cast<std::size_t>(written));
  }
  text.resize(size);
  return TipoArregloByte(text.begin(), text.end());
}

}  // namespace xamu::bench
