// The runtime's date and text functions: the calendar arithmetic of calendar.h,
// the regional formats of regional_settings.h, and today from a clock.
#pragma once

#include "platform/dates/calendar.h"
#include "platform/dates/regional_settings.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/date_functions.h"

namespace jv::dates {

class StandardDateFunctions final : public platform::DateFunctions {
 public:
  StandardDateFunctions(const platform::Clock& clock, const RegionalSettings& settings)
      : clock_(clock), settings_(settings) {}

  HRESULT Today(DATE* out) override;
  HRESULT DayOfMonth(DATE date, std::int16_t* out) override { return dates::DayOfMonth(date, out); }
  HRESULT Month(DATE date, std::int16_t* out) override { return dates::Month(date, out); }
  HRESULT Year(DATE date, std::int16_t* out) override { return dates::Year(date, out); }
  HRESULT Weekday(DATE date, std::int16_t* out) override { return dates::Weekday(date, out); }
  HRESULT AddDays(DATE date, double days, DATE* out) override { return dates::AddDays(date, days, out); }
  HRESULT AddMonths(DATE date, std::int32_t months, DATE* out) override {
    return dates::AddMonths(date, months, out);
  }
  HRESULT FormatMonthCaption(DATE date, Text* out) override {
    return settings_.FormatMonthCaption(date, out);
  }
  HRESULT FormatShortDate(DATE date, Text* out) override { return settings_.FormatShortDate(date, out); }
  HRESULT TextToDate(TextView text, DATE* out) override { return dates::ParseDayMonthYear(text, out); }
  HRESULT NumberToText(std::int32_t number, Text* out) override { return dates::NumberToText(number, out); }
  // A day number written in place without a call, when it can be without
  // allocating; see dates::NumberToTextWithoutAllocating.
  bool NumberToTextInPlace(std::int32_t number, Text* out) {
    return dates::NumberToTextWithoutAllocating(number, out);
  }

 private:
  const platform::Clock& clock_;
  const RegionalSettings& settings_;
};

// A clock that reads the system's local date.
class SystemClock final : public platform::Clock {
 public:
  DATE Today() const override { return SystemToday(); }
};

}  // namespace jv::dates
