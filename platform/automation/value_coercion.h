// A read variant value coerced to each kind of target: integers of a given range,
// doubles, floats, currency, dates, truth values and text, by the rules listed in
// variant_conversions.h. Internal to the conversions; each leaves *out untouched
// when it fails.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/variant_value.h"

namespace jv::conversion {

struct IntRange {
  std::int64_t lo;
  std::int64_t hi;
  int width;  // of hexadecimal and octal literals
  bool is_signed;
};
inline constexpr IntRange kI2{INT16_MIN, INT16_MAX, 16, true};
inline constexpr IntRange kI4{INT32_MIN, INT32_MAX, 32, true};
inline constexpr IntRange kUI1{0, UINT8_MAX, 8, false};

[[nodiscard]] HRESULT ToInteger(const Value& v, const IntRange& range, std::int64_t* out);
// The same, into an integer of the range's width: the range check has already
// refused what does not fit, so the narrowing keeps the value.
template <class Integer>
[[nodiscard]] HRESULT ToIntegerOf(const Value& v, const IntRange& range, Integer* out) {
  std::int64_t wide = 0;
  JV_TRY(ToInteger(v, range, &wide));
  *out = static_cast<Integer>(wide);
  return S_OK;
}
[[nodiscard]] HRESULT ToReal(const Value& v, double* out);
[[nodiscard]] HRESULT ToSingle(const Value& v, float* out);
[[nodiscard]] HRESULT ToCy(const Value& v, std::int64_t* out);  // in ten-thousandths
[[nodiscard]] HRESULT ToDateValue(const Value& v, DATE* out);
[[nodiscard]] HRESULT ToTruth(const Value& v, bool* out);
[[nodiscard]] HRESULT ValueText(const Value& v, Text* out);

}  // namespace jv::conversion
