#include "encoding/extended_float.h"
#include "encoding/little_endian.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

namespace xamu {
namespace {

constexpr int kBias = 16383;
constexpr int kMaxExponent = 0x7FFF;
constexpr std::uint64_t kIntegerBit = 1ULL << 63;
constexpr std::uint64_t kQuietBit = 1ULL << 62;
// A denormal's significand counts units of 2^(1 - bias - 63).
constexpr int kDenormalScale = kBias - 1 + 63;

// Where long double is the x87 format on a little-endian machine.
constexpr bool kNativeExtended = std::numeric_limits<long double>::digits == 64 &&
                                 std::numeric_limits<long double>::max_exponent == 16384 &&
                                 std::endian::native == std::endian::little;

}  // namespace

ExtendedBytes ExtendedToBytes(long double value) {
  if constexpr (kNativeExtended) {
    // The in-memory form is the wire form already: the first ten bytes, little-endian.
    ExtendedBytes bytes;
    std::memcpy(bytes.data(), &value, bytes.size());
    return bytes;
  }
  return ComposeExtendedBytes(value);
}

ExtendedBytes ComposeExtendedBytes(long double value) {
  std::uint64_t significand = 0;
  int exponent = 0;
  const bool negative = std::signbit(value);
  const long double magnitude = std::fabs(value);
  if (std::isnan(value)) {
    exponent = kMaxExponent;
    significand = kIntegerBit | kQuietBit;
  } else if (std::isinf(value)) {
    exponent = kMaxExponent;
    significand = kIntegerBit;
  } else if (magnitude != 0) {
    int binary_exponent = 0;
    const long double fraction = std::frexp(magnitude, &binary_exponent);  // [0.5, 1)
    exponent = binary_exponent - 1 + kBias;
    if (exponent > 0) {
      significand = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
    } else {
      significand = static_cast<std::uint64_t>(std::ldexp(magnitude, kDenormalScale));
      exponent = 0;
    }
  }
  ExtendedBytes bytes{};
  EncodeLittleEndian(significand, std::span(bytes).first(8));
  const unsigned sign_exponent = static_cast<unsigned>(exponent) | (negative ? 0x8000u : 0u);
  EncodeLittleEndian(sign_exponent, std::span(bytes).subspan(8, 2));
  return bytes;
}

long double BytesToExtended(const ExtendedBytes& bytes) {
  const std::uint64_t significand = DecodeLittleEndian(std::span(bytes).first(8));
  const auto sign_exponent =
      static_cast<unsigned>(DecodeLittleEndian(std::span(bytes).subspan(8, 2)));
  const bool negative = (sign_exponent & 0x8000u) != 0;
  const int exponent = static_cast<int>(sign_exponent & 0x7FFFu);
  long double magnitude;
  if (exponent == kMaxExponent) {
    magnitude = (significand << 1) == 0 ? std::numeric_limits<long double>::infinity()
                                        : std::numeric_limits<long double>::quiet_NaN();
  } else if (exponent == 0) {
    magnitude = std::ldexp(static_cast<long double>(significand), -kDenormalScale);
  } else {
    // The integer bit is taken as it stands, so a peer's unnormal still reads as a number.
    magnitude = std::ldexp(static_cast<long double>(significand), exponent - kBias - 63);
  }
  return negative ? -magnitude : magnitude;
}

}  // namespace xamu
