// The date and text functions the control runtime supplies to the control. Every
// function that would produce a date outside 1 January 100 .. 31 December 9999, or
// is handed one, fails with DISP_E_OVERFLOW and leaves its output untouched.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv::platform {

class DateFunctions {
 public:
  // The clock's date, without time of day.
  [[nodiscard]] virtual HRESULT Today(DATE* out) = 0;
  [[nodiscard]] virtual HRESULT DayOfMonth(DATE date, std::int16_t* out) = 0;
  [[nodiscard]] virtual HRESULT Month(DATE date, std::int16_t* out) = 0;
  [[nodiscard]] virtual HRESULT Year(DATE date, std::int16_t* out) = 0;
  // 1 for Sunday up to 7 for Saturday.
  [[nodiscard]] virtual HRESULT Weekday(DATE date, std::int16_t* out) = 0;
  // The date moved by a (possibly fractional) number of days.
  [[nodiscard]] virtual HRESULT AddDays(DATE date, double days, DATE* out) = 0;
  // The same day n calendar months later; the target month's last day where it is
  // shorter. The time of day carries over.
  [[nodiscard]] virtual HRESULT AddMonths(DATE date, std::int32_t months, DATE* out) = 0;
  // The month caption "MMMM, YYYY": the wide month name of the user's locale, ", ",
  // the four-digit year.
  [[nodiscard]] virtual HRESULT FormatMonthCaption(DATE date, Text* out) = 0;
  // The short date form of the user's locale, four-digit year, no time of day.
  [[nodiscard]] virtual HRESULT FormatShortDate(DATE date, Text* out) = 0;
  // Reads a date text "day/month/year" (decimal, no blanks) whatever the locale's
  // order. Fails with DISP_E_TYPEMISMATCH on text that names no valid date.
  [[nodiscard]] virtual HRESULT TextToDate(TextView text, DATE* out) = 0;
  // Decimal digits without leading zeros or blanks; a minus sign when negative.
  [[nodiscard]] virtual HRESULT NumberToText(std::int32_t number, Text* out) = 0;

 protected:
  ~DateFunctions() = default;
};

}  // namespace jv::platform
