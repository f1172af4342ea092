#include "platform/automation/date_text.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "platform/automation/date_range.h"

namespace jv {

HRESULT InvariantDateText(DATE date, Text* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date)) return DISP_E_OVERFLOW;
  using namespace std::chrono;
  // The whole part counts days (towards zero); the fraction's size is the time of
  // day, also for dates before 1900.
  const double whole = std::trunc(date);
  auto day = kDateEpoch + days{static_cast<int>(whole)};
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
  if (seconds >= 86400) {
    // Rounded up to midnight: the next calendar day, unless that leaves the range.
    if (year_month_day{day} < year{9999} / December / 31) {
      day += days{1};
      seconds = 0;
    } else {
      seconds = 86399;
    }
  }
  const year_month_day ymd{day};
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%u/%u/%04d", static_cast<unsigned>(ymd.month()),
                        static_cast<unsigned>(ymd.day()), static_cast<int>(ymd.year()));
  if (seconds != 0) {
    n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), " %d:%02d:%02d",
                       static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                       static_cast<int>(seconds % 60));
  }
  *out = Text(buf, buf + n);
  return S_OK;
}

}  // namespace jv
