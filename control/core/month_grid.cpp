// FillMonthGrid: the day numbers of m_CurDate's month in the 42 day cells, day 1 in
// the cell of its weekday. Resume-next: a failed statement is skipped.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

namespace {

bool IsLeapYear(std::int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// The month length by the first rule that matches; 0 when the month is unknown.
std::int16_t MonthLength(std::int16_t month, std::int16_t year) {
  switch (month) {
    case 1: case 3: case 5: case 7: case 8: case 10: case 12:
      return 31;
    case 4: case 6: case 9: case 11:
      return 30;
    case 2:
      return IsLeapYear(year) ? 29 : 28;
    default:
      return 0;
  }
}

// A decimal text compared as a number, as the weekday tests compare it; fails on
// text that holds no number.
HRESULT TextEqualsNumber(TextView text, std::int32_t number, bool* out) {
  if (text.empty() || text.size() > 9) return CTL_E_TYPEMISMATCH;
  std::int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return CTL_E_TYPEMISMATCH;
    value = value * 10 + (c - u'0');
  }
  *out = value == number;
  return S_OK;
}

}  // namespace

void ctrJornavista::FillMonthGrid() {
  platform::DateFunctions& dates = face_->Dates();
  platform::LabelArray& l = face_->l();
  Text weekday_text;
  std::int16_t month = 0, year = 0, month_length = 0, loop_end = 0, day = 0;

  ResumeNext([&] {
    std::int16_t day_of_month = 0;
    JV_TRY(dates.DayOfMonth(s_.m_CurDate, &day_of_month));
    return dates.AddDays(s_.m_CurDate, 1.0 - day_of_month, &s_.m_MonthStart);
  });
  ResumeNext([&] {
    std::int16_t weekday = 0;
    JV_TRY(dates.Weekday(s_.m_MonthStart, &weekday));
    return dates.NumberToText(weekday, &weekday_text);
  });
  for (std::int16_t first = 1; first <= 7; ++first) {
    ResumeNext([&] {
      bool equal = false;
      JV_TRY(TextEqualsNumber(weekday_text, first, &equal));
      if (equal) s_.m_FirstCell = first;
      return S_OK;
    });
  }
  day = 0;
  ResumeNext([&] { return dates.Month(s_.m_CurDate, &month); });
  ResumeNext([&] { return dates.Year(s_.m_CurDate, &year); });
  month_length = MonthLength(month, year);
  ResumeNext([&] { return AddInt16(s_.m_FirstCell, month_length, &loop_end); });

  // Blanking. A bound that cannot be read skips the loop.
  std::int16_t count = 0;
  if (SUCCEEDED(l.get_Count(&count))) {
    for (int index = 1; index <= count; ++index) {
      ResumeNext([&] {
        platform::Label* cell = nullptr;
        JV_TRY(l.Item(static_cast<std::int16_t>(index), &cell));
        return cell->put_Caption(u"");
      });
    }
  }

  // Numbering, ending at the cell of the month's last day.
  Text number;  // reused: the day texts mostly share a length
  int index = s_.m_FirstCell;
  for (; index <= loop_end; ++index) {
    ResumeNext([&] { return AddInt16(day, 1, &day); });
    ResumeNext([&] {
      platform::Label* cell = nullptr;
      JV_TRY(l.Item(static_cast<std::int16_t>(index), &cell));
      JV_TRY(dates.NumberToText(day, &number));
      return cell->put_Caption(number);
    });
    if (day == month_length) break;
  }
  // The cell index is a 16-bit counter: past 32767 the assignment would overflow.
  if (index <= INT16_MAX) s_.m_LastCell = static_cast<std::int16_t>(index);
}

}  // namespace jv::control
