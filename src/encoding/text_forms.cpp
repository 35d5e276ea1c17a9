#include "encoding/text_forms.h"

#include <charconv>
#include <string>

#include "platform/errors.h"

namespace xamu {
namespace {

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

// A decimal integer with an optional sign, nothing else.
long long ParseDecimal(std::string_view text) {
  std::string_view digits = text;
  bool negative = false;
  if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
    negative = digits[0] == '-';
    digits.remove_prefix(1);
  }
  unsigned long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
    NotAnInteger(text);
  }
  // Only the low 8 bits are ever kept, so wrapping a huge group is harmless.
  return static_cast<long long>(negative ? 0 - value : value);
}

}  // namespace

std::string ArregloATextoBarras(const TipoArregloByte& arreglo) {
  std::string text;
  text.reserve(arreglo.size() * 4);
  for (const std::uint8_t byte : arreglo) {
    text += std::to_string(byte);
    text += '/';
  }
  return text;
}

TipoArregloByte TextoBarrasAArreglo(std::string_view texto) {
  TipoArregloByte bytes;
  while (!texto.empty()) {
    const std::size_t slash = texto.find('/');
    if (slash == std::string_view::npos) NotAnInteger(texto);
    const std::string_view group = texto.substr(0, slash);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(group.data(), group.data() + group.size(), value);
    if (group.empty() || ec != std::errc() || end != group.data() + group.size() || value > 255) {
      NotAnInteger(group);
    }
    bytes.push_back(static_cast<std::uint8_t>(value));
    texto.remove_prefix(slash + 1);
  }
  return bytes;
}

std::string ArregloATextoTripletes(const TipoArregloByte& arreglo) {
  std::string text;
  text.reserve(arreglo.size() * 3);
  for (const std::uint8_t byte : arreglo) {
    text += static_cast<char>('0' + byte / 100);
    text += static_cast<char>('0' + byte / 10 % 10);
    text += static_cast<char>('0' + byte % 10);
  }
  return text;
}

TipoArregloByte TextoTripletesAArreglo(std::string_view texto) {
  const std::size_t count = texto.size() < 3 ? 1 : texto.size() / 3;
  TipoArregloByte bytes(count);
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i] = static_cast<std::uint8_t>(ParseDecimal(texto.substr(3 * i, 3)) & 0xFF);
  }
  return bytes;
}

std::string BytesToHex(const TipoArregloByte& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (const std::uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

}  // namespace xamu
