#pragma once

#include <array>
#include <cstdint>

namespace xamu {

// The 10-byte little-endian wire form of an 80-bit extended float: a 64-bit significand
// with its integer bit explicit, then 15 bits of exponent biased by 16383 and the sign.
using ExtendedBytes = std::array<std::uint8_t, 10>;

// In memory an extended float is a long double; where long double is the x87 format
// (g++ on x86) every value, denormals, infinities and NaN included, passes exactly.
ExtendedBytes ExtendedToBytes(long double value);
long double BytesToExtended(const ExtendedBytes& bytes);

// The same form built arithmetically, for machines whose long double is another format.
ExtendedBytes ComposeExtendedBytes(long double value);

}  // namespace xamu
