// Numbers read from text independently of the locale: decimals with an optional
// fraction and exponent, and "&H"/"&O" literals kept as bit patterns until the
// target's width is known. Internal to the conversions.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv::conversion {

struct Number {
  bool is_pattern = false;
  std::uint64_t pattern = 0;  // is_pattern: the literal's bits
  double value = 0;           // otherwise: the decimal's value
};

// The text without the blanks (space, tab, line ends, vertical tab, form feed) around it.
[[nodiscard]] TextView TrimBlanks(TextView text);

// DISP_E_TYPEMISMATCH for anything that is not one number, DISP_E_OVERFLOW for a
// decimal too large for a double or a literal wider than 64 bits. A decimal too
// small for a double is zero.
[[nodiscard]] HRESULT ParseNumber(TextView text, Number* out);

// A pattern of at most width bits, read as a two's complement number when the
// target is signed; DISP_E_OVERFLOW when it is wider.
[[nodiscard]] HRESULT PatternValue(std::uint64_t pattern, int width, bool is_signed, std::int64_t* out);

}  // namespace jv::conversion
