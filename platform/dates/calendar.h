// Automation dates on the proleptic Gregorian calendar, through std::chrono: the
// conversions between DATE and day/month/year, and the arithmetic the control uses.
// Everything outside 1 January 100 .. 31 December 9999 fails with DISP_E_OVERFLOW.
#pragma once

#include <cstdint>

#include "platform/automation/date_range.h"
#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv::dates {

// Every function below leaves its output untouched when it fails, and refuses a null
// output with E_POINTER.

struct CivilDate {
  std::int32_t year;
  std::int32_t month;  // 1..12
  std::int32_t day;    // 1..31
};

// The range's ends and its test, shared with the conversions below this layer.
using jv::IsValidDate;
using jv::kMaxDate;
using jv::kMinDate;
// The whole day of a DATE: for dates before 30 December 1899 the fraction counts
// forwards from the day's midnight, so -1.25 is 29 December 1899 at 06:00.
[[nodiscard]] HRESULT ToCivil(DATE date, CivilDate* out);
// Fails with DISP_E_OVERFLOW outside the range and DISP_E_TYPEMISMATCH for a day or
// month that does not exist.
[[nodiscard]] HRESULT FromCivil(CivilDate civil, DATE* out);
[[nodiscard]] HRESULT DayOfMonth(DATE date, std::int16_t* out);
[[nodiscard]] HRESULT Month(DATE date, std::int16_t* out);
[[nodiscard]] HRESULT Year(DATE date, std::int16_t* out);
[[nodiscard]] HRESULT Weekday(DATE date, std::int16_t* out);  // Sunday 1 .. Saturday 7
// The date's midnight: the time of day dropped.
[[nodiscard]] HRESULT DateOnly(DATE date, DATE* out);
// Adds a possibly fractional day count on a continuous time line, so that for dates
// before 30 December 1899 the time of day moves the right way (-1.25 + 0.5 is -1.75).
[[nodiscard]] HRESULT AddDays(DATE date, double days, DATE* out);
// The same day `months` later, clamped to the last day of a shorter target month;
// the time of day carries over.
[[nodiscard]] HRESULT AddMonths(DATE date, std::int32_t months, DATE* out);
// Reads "d/m/y" strictly: digits, "/", digits, "/", digits and nothing else, always
// day first whatever the locale. Leading zeros are allowed, up to nine digits a
// field. Every text that names no date fails with DISP_E_TYPEMISMATCH, a year
// outside 100..9999 included. The result has no time of day.
[[nodiscard]] HRESULT ParseDayMonthYear(TextView text, DATE* out);
namespace detail {
[[nodiscard]] HRESULT NumberToTextAnyLength(std::int32_t number, Text* out);
}  // namespace detail
// Writes a day number (0..99) in place when the caller's string already has its
// length, and says whether it did; anything else is left to NumberToText.
inline bool NumberToTextInPlace(std::int32_t number, Text* out) {
  if (out == nullptr || number < 0 || number >= 100 || out->size() != (number < 10 ? 1u : 2u)) return false;
  char16_t* to = out->data();
  if (number < 10) {
    to[0] = static_cast<char16_t>(u'0' + number);
  } else {
    to[0] = static_cast<char16_t>(u'0' + number / 10);
    to[1] = static_cast<char16_t>(u'0' + number % 10);
  }
  return true;
}
// The same for a string of any length whose own buffer holds the number's text:
// it is resized first, which allocates nothing (a day text going from blank to
// "1" or from "9" to "10" between two calls).
inline bool NumberToTextWithoutAllocating(std::int32_t number, Text* out) {
  if (out == nullptr || number < 0 || number >= 100) return false;
  const std::size_t length = number < 10 ? 1u : 2u;
  if (out->size() != length) [[unlikely]] {
    if (out->capacity() < length) return false;
    out->resize(length);
  }
  return NumberToTextInPlace(number, out);
}
// Decimal digits, '-' when negative, no leading zeros or blanks. Day numbers, the
// control's commonest case, are written in place inline when the caller's string
// already has their length; everything else takes the general path.
[[nodiscard]] inline HRESULT NumberToText(std::int32_t number, Text* out) {
  if (NumberToTextInPlace(number, out)) return S_OK;
  return detail::NumberToTextAnyLength(number, out);
}
// The system clock's local date at midnight (for runtimes that have no clock set by a
// host); a clock outside the range gives the nearer range end.
[[nodiscard]] DATE SystemToday();

}  // namespace jv::dates
