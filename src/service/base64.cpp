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

// The same, each symbol's six bits already at their place in a group of four; anything else
// sets a bit that no group of symbols can.
constexpr std::uint32_t kNotASymbol = 1u << 31;
constexpr std::array<std::uint32_t, 256> ShiftedDecodeTable(int shift) {
  std::array<std::uint32_t, 256> table{};
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = kDecode[i] < 0 ? kNotASymbol : static_cast<std::uint32_t>(kDecode[i]) << shift;
  }
  return table;
}
constexpr auto kDecode0 = ShiftedDecodeTable(18);
constexpr auto kDecode1 = ShiftedDecodeTable(12);
constexpr auto kDecode2 = ShiftedDecodeTable(6);
constexpr auto kDecode3 = ShiftedDecodeTable(0);

[[noreturn]] void Invalid() {
  throw ESOAPResponseError("Invalid base64 data");
}

}  // namespace

std::string EncodeBase64Lines(const TipoArregloByte& bytes) {
  std::string out;
  AppendBase64Lines(bytes, out);
  return out;
}

std::size_t Base64LinesSize(std::size_t count) {
  const std::size_t chars = (count + 2) / 3 * 4;
  return chars + chars / kLineLength * 2;
}

void AppendBase64Lines(const TipoArregloByte& bytes, std::string& out) {
  const std::size_t start = out.size();
  out.resize(start + Base64LinesSize(bytes.size()));
  char* o = out.data() + start;
  const std::uint8_t* in = bytes.data();
  const std::uint8_t* const end = in + bytes.size();
  const auto quad = [&](unsigned v) {
    o[0] = kAlphabet[v >> 18];
    o[1] = kAlphabet[(v >> 12) & 63];
    o[2] = kAlphabet[(v >> 6) & 63];
    o[3] = kAlphabet[v & 63];
    o += 4;
  };
  // Whole lines: 57 bytes give 76 characters.
  constexpr std::size_t kLineBytes = kLineLength / 4 * 3;
  while (static_cast<std::size_t>(end - in) >= kLineBytes) {
    for (const std::uint8_t* line_end = in + kLineBytes; in != line_end; in += 3)
      quad(in[0] << 16 | in[1] << 8 | in[2]);
    *o++ = '\r';
    *o++ = '\n';
  }
  // The last, shorter line; padded to 76 characters (55 or 56 bytes) it ends with a break.
  for (; end - in >= 3; in += 3) quad(in[0] << 16 | in[1] << 8 | in[2]);
  if (in != end) {
    const bool two = end - in == 2;
    quad(in[0] << 16 | (two ? in[1] << 8 : 0));
    o[-1] = '=';
    if (!two) o[-2] = '=';
  }
  if (o != out.data() + out.size()) {
    *o++ = '\r';
    *o++ = '\n';
  }
}

TipoArregloByte DecodeBase64(std::string_view text) {
  TipoArregloByte out(text.size() / 4 * 3 + 3);
  std::uint8_t* o = out.data();
  unsigned buffer = 0;
  int bits = 0;
  int padding = 0;
  std::size_t symbols = 0;  // only its remainder by four counts, so whole groups are left out
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p != end) {
    // Whole groups of four symbols, the bulk of the text, go at once.
    if (bits == 0 && padding == 0) {
      while (end - p >= 4) {
        const std::uint32_t v = kDecode0[static_cast<unsigned char>(p[0])] |
                                kDecode1[static_cast<unsigned char>(p[1])] |
                                kDecode2[static_cast<unsigned char>(p[2])] |
                                kDecode3[static_cast<unsigned char>(p[3])];
        if (v & kNotASymbol) break;
        o[0] = static_cast<std::uint8_t>(v >> 16);
        o[1] = static_cast<std::uint8_t>(v >> 8);
        o[2] = static_cast<std::uint8_t>(v);
        o += 3;
        p += 4;
      }
      if (p == end) break;
    }
    const char ch = *p++;
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
      *o++ = static_cast<std::uint8_t>(buffer >> bits);
    }
  }
  // Padding may be left out, but never half a byte.
  if (padding > 2 || symbols % 4 == 1 || (padding != 0 && symbols % 4 != 0)) Invalid();
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

}  // namespace xamu
