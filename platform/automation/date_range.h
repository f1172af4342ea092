// The span of automation dates this system accepts, and their day zero: one
// definition for the conversions here and the calendar arithmetic above them.
#pragma once

#include <chrono>

#include "platform/automation/types.h"

namespace jv {

// Day zero of a DATE: its whole part counts days from 30 December 1899.
inline constexpr std::chrono::sys_days kDateEpoch = std::chrono::year{1899} / std::chrono::December / 30;

// DATE of the first and the last day of the valid range.
inline constexpr DATE kMinDate = -657434.0;  // 1 January 100
inline constexpr DATE kMaxDate = 2958465.0;  // 31 December 9999

// False for NaN, infinities and anything outside the range: the range ends are whole
// days, so the last valid value is just below kMaxDate + 1 and the first just above
// kMinDate - 1 (a negative date's fraction counts forwards, so -657434.5 is noon of
// the first day).
[[nodiscard]] constexpr bool IsValidDate(DATE date) {
  // NaN fails both comparisons.
  return date > kMinDate - 1.0 && date < kMaxDate + 1.0;
}

}  // namespace jv
