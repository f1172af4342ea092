// Numbers as locale-independent text: integers in decimal, doubles in their
// shortest round-trip form, currency with up to four decimals. Internal to the
// conversions.
#pragma once

#include <cstdint>

#include "platform/automation/types.h"

namespace jv::conversion {

[[nodiscard]] Text IntegerText(std::int64_t value);
// Plainly for a decimal exponent from -5 to 14 ("2.5", "0.00001"), otherwise as
// "1E+15", "1.5E-07"; single gives the shortest digits of the float.
[[nodiscard]] Text RealText(double value, bool single);
// From ten-thousandths: 25000 is "2.5".
[[nodiscard]] Text CyText(std::int64_t cy);

}  // namespace jv::conversion
