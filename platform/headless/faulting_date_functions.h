// The headless runtime's date functions: the standard ones with every call passing
// the fault injector first.
#pragma once

#include "platform/dates/standard_date_functions.h"
#include "platform/headless/fault_injector.h"

namespace jv::headless {

class FaultingDateFunctions final : public platform::DateFunctions {
 public:
  FaultingDateFunctions(FaultInjector& faults, const platform::Clock& clock,
                        const dates::RegionalSettings& settings)
      : faults_(faults), inner_(clock, settings) {}

#define JV_FAULTING(op, call)                              \
  if (HRESULT hr = faults_.Check(Operation::op); FAILED(hr)) \
    return hr;                                             \
  return inner_.call

  HRESULT Today(DATE* out) override { JV_FAULTING(Today, Today(out)); }
  HRESULT DayOfMonth(DATE d, std::int16_t* out) override { JV_FAULTING(DayOfMonth, DayOfMonth(d, out)); }
  HRESULT Month(DATE d, std::int16_t* out) override { JV_FAULTING(Month, Month(d, out)); }
  HRESULT Year(DATE d, std::int16_t* out) override { JV_FAULTING(Year, Year(d, out)); }
  HRESULT Weekday(DATE d, std::int16_t* out) override { JV_FAULTING(Weekday, Weekday(d, out)); }
  HRESULT AddDays(DATE d, double n, DATE* out) override { JV_FAULTING(AddDays, AddDays(d, n, out)); }
  HRESULT AddMonths(DATE d, std::int32_t n, DATE* out) override {
    JV_FAULTING(AddMonths, AddMonths(d, n, out));
  }
  HRESULT FormatMonthCaption(DATE d, Text* out) override {
    JV_FAULTING(FormatMonthCaption, FormatMonthCaption(d, out));
  }
  HRESULT FormatShortDate(DATE d, Text* out) override { JV_FAULTING(FormatShortDate, FormatShortDate(d, out)); }
  HRESULT TextToDate(TextView t, DATE* out) override { JV_FAULTING(TextToDate, TextToDate(t, out)); }
  // Every day number of every redraw comes here: the fault check is a call only
  // while a fault is armed.
  HRESULT NumberToText(std::int32_t n, Text* out) override {
    if (faults_.Armed(Operation::NumberToText)) [[unlikely]] return CheckedNumberToText(n, out);
    return inner_.NumberToText(n, out);
  }
  // The in-place day number of the standard functions while no fault is armed.
  bool NumberToTextInPlace(std::int32_t n, Text* out) {
    return !faults_.Armed(Operation::NumberToText) && inner_.NumberToTextInPlace(n, out);
  }

 private:
  [[gnu::noinline]] HRESULT CheckedNumberToText(std::int32_t n, Text* out) {
    JV_FAULTING(NumberToText, NumberToText(n, out));
  }
#undef JV_FAULTING

  FaultInjector& faults_;
  dates::StandardDateFunctions inner_;
};

}  // namespace jv::headless
