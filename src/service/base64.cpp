#include "service/base64.h"

#include <array>

#include "service/errors.h"

namespace xamu {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::size_t kLineLength = 76;

constexpr std::array<std::int8_t, 256> DecodeTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& v : table) v = -1;
  for (int i = 0; i < 64; ++i)
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  return table;
}
constexpr auto kDecode = DecodeTable();

[[noreturn]] void Invalid() {
  throw ESOAPResponseError("Invalid base64 data");
}

}  // namespace

std::string EncodeBase64Lines(const TipoArregloByte& bytes) {
  std::string out;
  AppendBase64Lines(bytes, out);
  return out;
}

void AppendBase64Lines(const TipoArregloByte& bytes, std::string& out) {
  const std::size_t chars = (bytes.size() + 2) / 3 * 4;
  out.reserve(out.size() + chars + chars / kLineLength * 2 + 2);
  std::size_t column = 0;
  const auto put = [&](char c) {
    out += c;
    if (++column == kLineLength) {
      out += "\r\n";
      column = 0;
    }
  };
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2];
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 63]);
    put(kAlphabet[(v >> 6) & 63]);
    put(kAlphabet[v & 63]);
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const unsigned v = bytes[i] << 16 | (two ? bytes[i + 1] << 8 : 0);
    put(kAlphabet[v >> 18]);
    put(kAlphabet[(v >> 12) & 63]);
    put(two ? kAlphabet[(v >> 6) & 63] : '=');
    put('=');
  }
}

TipoArregloByte DecodeBase64(std::string_view text) {
  TipoArregloByte out;
  out.reserve(text.size() / 4 * 3);
  unsigned buffer = 0;
  int bits = 0;
  int padding = 0;
  std::size_t symbols = 0;
  for (const char ch : text) {
    if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n') continue;
    if (ch == '=') {
      ++padding;
      ++symbols;
      continue;
    }
    const int value = kDecode[static_cast<unsigned char>(ch)];
    if (value < 0 || padding != 0) Invalid();
    buffer = buffer << 6 | static_cast<unsigned>(value);
    bits += 6;
    ++symbols;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<std::uint8_t>(buffer >> bits));
    }
  }
  // Padding may be left out, but never half a byte.
  if (padding > 2 || symbols % 4 == 1 || (padding != 0 && symbols % 4 != 0)) Invalid();
  return out;
}

}  // namespace xamu
