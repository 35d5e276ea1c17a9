#pragma once

#include <cstdint>
#include <string>

namespace xamu {

// A fixed-point amount with four decimals, held as a count of 1/10000 units.
struct Currency {
  static constexpr std::int64_t kScale = 10000;
  std::int64_t units = 0;

  friend bool operator==(Currency, Currency) = default;
};

// "-1.2345", always with four decimals.
std::string CurrencyToText(Currency value);

}  // namespace xamu
