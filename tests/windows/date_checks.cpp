// The calendar arithmetic of platform/dates against oleaut32's own conversion
// between DATE and SYSTEMTIME, over the whole date range; today's date against the
// system clock.
#include <windows.h>

#include <cmath>

#include "platform/dates/calendar.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

std::string Ymd(int y, int m, int d) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
  return buf;
}

// Whole days across the range, a step that visits every month and weekday, the ends
// of the range and the days around the epoch, where a negative DATE's fraction
// counts forwards.
std::vector<DATE> DateCorpus() {
  std::vector<DATE> dates;
  for (DATE d = dates::kMinDate; d <= dates::kMaxDate; d += 97) dates.push_back(d);
  for (DATE d : {dates::kMinDate, dates::kMaxDate, -2.0, -1.25, -1.0, -0.5, 0.0, 0.25, 1.0, 59.0, 60.0, 61.0,
                 37934.0, 37934.75, 38046.0, 2958465.5})
    dates.push_back(d);
  return dates;
}

void CalendarAgreesWithOleaut32(Report& report) {
  Case c(report, "calendar: DATE to day, month, year and weekday as oleaut32 reads them");
  int compared = 0;
  for (const DATE date : DateCorpus()) {
    SYSTEMTIME st{};
    const bool system_ok = VariantTimeToSystemTime(date, &st) != FALSE;
    dates::CivilDate civil{};
    std::int16_t weekday = 0;
    const bool ours_ok = SUCCEEDED(dates::ToCivil(date, &civil)) && SUCCEEDED(dates::Weekday(date, &weekday));
    const std::string what = "DATE " + std::to_string(date);
    if (!c.Equal(ours_ok, system_ok, what + " converts")) continue;
    if (!ours_ok) continue;
    ++compared;
    c.Equal(Ymd(civil.year, civil.month, civil.day), Ymd(st.wYear, st.wMonth, st.wDay), what);
    c.Equal(weekday, st.wDayOfWeek + 1, what + " weekday");
    // And back: the day's midnight.
    DATE back = 0;
    SYSTEMTIME midnight{};
    midnight.wYear = st.wYear;
    midnight.wMonth = st.wMonth;
    midnight.wDay = st.wDay;
    DATE ours_back = 0;
    if (c.Expect(SystemTimeToVariantTime(&midnight, &back) != FALSE, what + " back through oleaut32") &&
        c.Status(dates::FromCivil(civil, &ours_back), S_OK, what + " back"))
      c.Equal(ours_back, back, what + " midnight");
  }
  c.Expect(compared >= 37000, "too few dates compared: " + std::to_string(compared));
}

void OutOfRangeFailsOnBothSides(Report& report) {
  Case c(report, "calendar: both sides refuse dates outside 100..9999");
  for (const DATE date : {dates::kMinDate - 1.0, dates::kMaxDate + 1.0, 1e10, -1e10}) {
    SYSTEMTIME st{};
    dates::CivilDate civil{};
    c.Expect(VariantTimeToSystemTime(date, &st) == FALSE, "oleaut32 takes " + std::to_string(date));
    c.Status(dates::ToCivil(date, &civil), DISP_E_OVERFLOW, "ToCivil " + std::to_string(date));
  }
}

void TodayIsTheSystemsLocalDate(Report& report) {
  Case c(report, "calendar: SystemToday is the local date of GetLocalTime");
  // Read the system clock on both sides of ours, so a midnight in between cannot fail.
  SYSTEMTIME before{}, after{};
  GetLocalTime(&before);
  const DATE today = dates::SystemToday();
  GetLocalTime(&after);
  dates::CivilDate civil{};
  c.Status(dates::ToCivil(today, &civil), S_OK, "ToCivil(today)");
  const std::string ours = Ymd(civil.year, civil.month, civil.day);
  const std::string at_start = Ymd(before.wYear, before.wMonth, before.wDay);
  const std::string at_end = Ymd(after.wYear, after.wMonth, after.wDay);
  c.Expect(ours == at_start || ours == at_end, "today " + ours + ", system " + at_start);
  c.Equal(today, std::floor(today), "no time of day");
}

}  // namespace

void DateChecks(Report& report) {
  CalendarAgreesWithOleaut32(report);
  OutOfRangeFailsOnBothSides(report);
  TodayIsTheSystemsLocalDate(report);
}

}  // namespace jv::wincheck
