#include "encoding/currency.h"

#include <cstdio>
#include <cstdlib>

namespace xamu {

std::string CurrencyToText(Currency value) {
  // Work on the unsigned magnitude so that the smallest int64 needs no special case.
  const bool negative = value.units < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.units)
                                           : static_cast<std::uint64_t>(value.units);
  char text[32];
  std::snprintf(text, sizeof text, "%s%llu.%04llu", negative ? "-" : "",
                static_cast<unsigned long long>(magnitude / Currency::kScale),
                static_cast<unsigned long long>(magnitude % Currency::kScale));
  return text;
}

}  // namespace xamu
