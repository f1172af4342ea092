#include "platform/dates/calendar.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace jv::dates {
namespace {

namespace chr = std::chrono;

constexpr std::int32_t kMinYear = 100;
constexpr std::int32_t kMaxYear = 9999;
// Nine digits always fit an int32, so a field is read without overflow checks.
constexpr std::size_t kMaxFieldDigits = 9;

// A valid DATE taken apart: the whole day, truncated towards zero, and the time of
// day in [0, 1), which counts forwards from midnight whatever the day's sign.
struct DayAndTime {
  std::int32_t day;
  double time;
};

DayAndTime Split(DATE date) {
  const double whole = std::trunc(date);
  return {static_cast<std::int32_t>(whole), std::fabs(date - whole)};
}

// The inverse of Split. A time so close to 1 that the sum would round into the
// neighbouring day is pulled back to the largest value inside the day.
DATE Join(std::int32_t day, double time) {
  const double whole = day;
  if (time == 0.0) return whole;
  const DATE date = day >= 0 ? whole + time : whole - time;
  if (std::trunc(date) == whole) return date;
  return std::nextafter(day >= 0 ? whole + 1.0 : whole - 1.0, whole);
}

chr::year_month_day CivilOfDay(std::int32_t day) { return chr::year_month_day{kDateEpoch + chr::days{day}}; }

std::int32_t DayOfCivil(chr::year_month_day ymd) {
  return static_cast<std::int32_t>((chr::sys_days{ymd} - kDateEpoch).count());
}

bool IsValidYear(std::int64_t year) { return year >= kMinYear && year <= kMaxYear; }

HRESULT CivilField(DATE date, std::int32_t CivilDate::*field, std::int16_t* out) {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  JV_TRY(ToCivil(date, &civil));
  *out = static_cast<std::int16_t>(civil.*field);
  return S_OK;
}

}  // namespace

HRESULT ToCivil(DATE date, CivilDate* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date)) return DISP_E_OVERFLOW;
  const chr::year_month_day ymd = CivilOfDay(Split(date).day);
  *out = {static_cast<int>(ymd.year()), static_cast<std::int32_t>(static_cast<unsigned>(ymd.month())),
          static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()))};
  return S_OK;
}

HRESULT FromCivil(CivilDate civil, DATE* out) {
  if (out == nullptr) return E_POINTER;
  // The year is checked first: chrono's year only holds -32767..32767.
  if (!IsValidYear(civil.year)) return DISP_E_OVERFLOW;
  if (civil.month < 1 || civil.month > 12 || civil.day < 1 || civil.day > 31) return DISP_E_TYPEMISMATCH;
  const chr::year_month_day ymd{chr::year{civil.year}, chr::month{static_cast<unsigned>(civil.month)},
                                chr::day{static_cast<unsigned>(civil.day)}};
  if (!ymd.ok()) return DISP_E_TYPEMISMATCH;
  *out = DayOfCivil(ymd);
  return S_OK;
}

HRESULT DayOfMonth(DATE date, std::int16_t* out) { return CivilField(date, &CivilDate::day, out); }

HRESULT Month(DATE date, std::int16_t* out) { return CivilField(date, &CivilDate::month, out); }

HRESULT Year(DATE date, std::int16_t* out) { return CivilField(date, &CivilDate::year, out); }

HRESULT Weekday(DATE date, std::int16_t* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date)) return DISP_E_OVERFLOW;
  const chr::weekday weekday{kDateEpoch + chr::days{Split(date).day}};
  *out = static_cast<std::int16_t>(weekday.c_encoding() + 1);
  return S_OK;
}

HRESULT DateOnly(DATE date, DATE* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date)) return DISP_E_OVERFLOW;
  *out = Join(Split(date).day, 0.0);
  return S_OK;
}

HRESULT AddDays(DATE date, double days, DATE* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date) || !std::isfinite(days)) return DISP_E_OVERFLOW;
  // On the continuous line a day is followed by its time of day whatever its sign,
  // so the DATE's own encoding (-1.25 is later than -1.0) is undone before adding.
  const DayAndTime from = Split(date);
  const double linear = from.day + from.time + days;
  if (!(linear >= kMinDate && linear < kMaxDate + 1.0)) return DISP_E_OVERFLOW;
  double whole = std::floor(linear);
  double time = linear - whole;
  if (time >= 1.0) {  // linear was a hair below a whole day and the difference rounded up
    whole += 1.0;
    time = 0.0;
  }
  if (whole > kMaxDate) return DISP_E_OVERFLOW;
  *out = Join(static_cast<std::int32_t>(whole), time);
  return S_OK;
}

HRESULT AddMonths(DATE date, std::int32_t months, DATE* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidDate(date)) return DISP_E_OVERFLOW;
  const DayAndTime from = Split(date);
  const chr::year_month_day ymd = CivilOfDay(from.day);
  // Counted in 64 bits so that any int32 month count stays exact.
  const std::int64_t month_index = std::int64_t{static_cast<int>(ymd.year())} * 12 +
                                   (static_cast<unsigned>(ymd.month()) - 1) + std::int64_t{months};
  if (!IsValidYear(month_index / 12)) return DISP_E_OVERFLOW;
  const chr::year year{static_cast<int>(month_index / 12)};
  const chr::month month{static_cast<unsigned>(month_index % 12 + 1)};
  const chr::day last = chr::year_month_day_last{year, chr::month_day_last{month}}.day();
  const chr::year_month_day target{year, month, std::min(ymd.day(), last)};
  *out = Join(DayOfCivil(target), from.time);
  return S_OK;
}

HRESULT ParseDayMonthYear(TextView text, DATE* out) {
  if (out == nullptr) return E_POINTER;
  std::int32_t fields[3] = {};  // day, month, year
  std::size_t pos = 0;
  for (int f = 0; f < 3; ++f) {
    if (f > 0) {
      if (pos >= text.size() || text[pos] != u'/') return DISP_E_TYPEMISMATCH;
      ++pos;
    }
    const std::size_t start = pos;
    std::int32_t value = 0;
    for (; pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9'; ++pos) {
      if (pos - start == kMaxFieldDigits) return DISP_E_TYPEMISMATCH;
      value = value * 10 + (text[pos] - u'0');
    }
    if (pos == start) return DISP_E_TYPEMISMATCH;
    fields[f] = value;
  }
  if (pos != text.size()) return DISP_E_TYPEMISMATCH;
  DATE date;
  // A year outside the range is just another text that names no date.
  if (FAILED(FromCivil({fields[2], fields[1], fields[0]}, &date))) return DISP_E_TYPEMISMATCH;
  *out = date;
  return S_OK;
}

HRESULT detail::NumberToTextAnyLength(std::int32_t number, Text* out) {
  if (out == nullptr) return E_POINTER;
  // Day numbers, the control's commonest case, take a short path: one or two
  // digits, copied in place when the caller's string already has that length.
  if (number >= 0 && number < 100) {
    const char16_t tens = static_cast<char16_t>(u'0' + number / 10);
    const char16_t ones = static_cast<char16_t>(u'0' + number % 10);
    const std::size_t length = number < 10 ? 1 : 2;
    if (out->size() != length) out->resize(length);
    char16_t* to = out->data();
    if (length == 1) {
      to[0] = ones;
    } else {
      to[0] = tens;
      to[1] = ones;
    }
    return S_OK;
  }
  // Ten digits and a sign, built backwards on the stack.
  char16_t buffer[11];
  char16_t* const end = buffer + sizeof buffer / sizeof buffer[0];
  char16_t* first = end;
  // Unsigned negation keeps INT32_MIN exact.
  std::uint32_t magnitude =
      number < 0 ? 0u - static_cast<std::uint32_t>(number) : static_cast<std::uint32_t>(number);
  do {
    *--first = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (number < 0) *--first = u'-';
  // Day numbers are turned into text on every redraw: when the caller's string
  // already has the length, copy in place rather than through a full assign.
  const auto length = static_cast<std::size_t>(end - first);
  if (out->size() == length) {
    std::char_traits<char16_t>::copy(out->data(), first, length);
  } else {
    out->assign(first, length);
  }
  return S_OK;
}

DATE SystemToday() {
  const std::time_t now = chr::system_clock::to_time_t(chr::system_clock::now());
  std::tm local{};
  // localtime_r fails only for a clock whose year does not fit an int: far outside
  // the range either way.
  if (localtime_r(&now, &local) == nullptr) return now < 0 ? kMinDate : kMaxDate;
  const std::int64_t year = std::int64_t{local.tm_year} + 1900;
  if (year < kMinYear) return kMinDate;
  if (year > kMaxYear) return kMaxDate;
  DATE today = kMinDate;
  (void)FromCivil({static_cast<std::int32_t>(year), local.tm_mon + 1, local.tm_mday}, &today);
  return today;
}

}  // namespace jv::dates
