// The runtime's date functions as a face hands them to the control: every call
// goes through unchanged, and the numbers and month captions it formats are noted
// in the day-grid model, which so knows what the captions the control writes next
// were made from.
#pragma once

#include "platform/face/day_grid_model.h"
#include "platform/runtime/date_functions.h"

namespace jv::platform {

// Inner is the runtime's date functions. A face that knows their final type names
// it, so that each call reaches them directly rather than through a second
// virtual call; NotedDates takes any.
template <class Inner>
class NotedDatesOver final : public DateFunctions {
 public:
  NotedDatesOver(Inner& inner, DayGridModel& model) : inner_(inner), model_(model) {}

  HRESULT Today(DATE* out) override { return inner_.Today(out); }
  HRESULT DayOfMonth(DATE date, std::int16_t* out) override { return inner_.DayOfMonth(date, out); }
  HRESULT Month(DATE date, std::int16_t* out) override { return inner_.Month(date, out); }
  HRESULT Year(DATE date, std::int16_t* out) override { return inner_.Year(date, out); }
  HRESULT Weekday(DATE date, std::int16_t* out) override { return inner_.Weekday(date, out); }
  HRESULT AddDays(DATE date, double days, DATE* out) override { return inner_.AddDays(date, days, out); }
  HRESULT AddMonths(DATE date, std::int32_t months, DATE* out) override {
    return inner_.AddMonths(date, months, out);
  }
  HRESULT FormatMonthCaption(DATE date, Text* out) override {
    const HRESULT hr = inner_.FormatMonthCaption(date, out);
    if (SUCCEEDED(hr) && out != nullptr) model_.MonthCaptionFormatted(date, *out);
    return hr;
  }
  HRESULT FormatShortDate(DATE date, Text* out) override { return inner_.FormatShortDate(date, out); }
  HRESULT TextToDate(TextView text, DATE* out) override { return inner_.TextToDate(text, out); }
  // Day numbers, hundreds a redraw: when the runtime's functions can write one in
  // place without a call (NumberToTextInPlace, where they have it), this does too.
  HRESULT NumberToText(std::int32_t number, Text* out) override {
    if constexpr (requires(Inner& inner) { inner.NumberToTextInPlace(number, out); }) {
      if (inner_.NumberToTextInPlace(number, out)) [[likely]] {
        model_.NumberFormatted(number, *out);
        return S_OK;
      }
    }
    return NotedNumberToText(number, out);
  }

 private:
  [[gnu::noinline]] HRESULT NotedNumberToText(std::int32_t number, Text* out) {
    const HRESULT hr = inner_.NumberToText(number, out);
    if (SUCCEEDED(hr) && out != nullptr) model_.NumberFormatted(number, *out);
    return hr;
  }

  Inner& inner_;
  DayGridModel& model_;
};

using NotedDates = NotedDatesOver<DateFunctions>;

}  // namespace jv::platform
