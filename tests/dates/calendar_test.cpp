#include "platform/dates/calendar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/automation/bstr.h"

namespace jv::dates {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Calendar arithmetic written independently of std::chrono: the Gregorian leap rule,
// month lengths, and day counts from 1 January of year 1.
bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kLengths[m - 1];
}

int Ordinal(int y, int m, int d) {
  const int py = y - 1;
  int days = 365 * py + py / 4 - py / 100 + py / 400;
  for (int i = 1; i < m; ++i) days += DaysInMonth(y, i);
  return days + d;
}

int Serial(int y, int m, int d) { return Ordinal(y, m, d) - Ordinal(1899, 12, 30); }
DATE DateOf(int y, int m, int d) { return Serial(y, m, d); }

// 30 December 1899 was a Saturday (7).
int WeekdayOf(int serial) { return ((serial % 7 + 7) % 7 + 6) % 7 + 1; }

std::string Case(int y, int m, int d) {
  return std::to_string(d) + "/" + std::to_string(m) + "/" + std::to_string(y);
}

TEST(Calendar, EveryMonthOfTheRangeAgreesWithIndependentArithmetic) {
  // Walks the range month by month from its first day, adding month lengths, so that
  // the serials come from neither chrono nor the Ordinal formula.
  struct MonthStart {
    int year, month, serial, length;
  };
  std::vector<MonthStart> months;
  int serial = static_cast<int>(kMinDate);
  for (int y = 100; y <= 9999; ++y) {
    for (int m = 1; m <= 12; ++m) {
      months.push_back({y, m, serial, DaysInMonth(y, m)});
      serial += DaysInMonth(y, m);
    }
  }
  ASSERT_EQ(serial - 1, kMaxDate) << "the walk must end on the last day of the range";

  int failures = 0;
  const auto check = [&](bool ok, int y, int m, int d, const char* what) {
    if (!ok && ++failures <= 20) ADD_FAILURE() << what << " for " << Case(y, m, d);
  };
  for (std::size_t i = 0; i < months.size(); ++i) {
    const MonthStart& ms = months[i];
    check(ms.serial == Serial(ms.year, ms.month, 1), ms.year, ms.month, 1, "walk vs formula");
    for (const int day : {1, ms.length}) {
      const int s = ms.serial + day - 1;
      DATE date = 0;
      check(FromCivil({ms.year, ms.month, day}, &date) == S_OK && date == s, ms.year, ms.month, day,
            "FromCivil");
      CivilDate civil{};
      check(
          ToCivil(s, &civil) == S_OK && civil.year == ms.year && civil.month == ms.month && civil.day == day,
          ms.year, ms.month, day, "ToCivil");
      std::int16_t d = 0, m = 0, y = 0, w = 0;
      check(DayOfMonth(s, &d) == S_OK && Month(s, &m) == S_OK && Year(s, &y) == S_OK && d == day &&
                m == ms.month && y == ms.year,
            ms.year, ms.month, day, "DayOfMonth/Month/Year");
      check(Weekday(s, &w) == S_OK && w == WeekdayOf(s), ms.year, ms.month, day, "Weekday");
    }
    // The month has exactly `length` days.
    DATE unused = 0;
    check(FromCivil({ms.year, ms.month, ms.length + 1}, &unused) == DISP_E_TYPEMISMATCH, ms.year, ms.month,
          ms.length + 1, "day after the last");

    const DATE last = ms.serial + ms.length - 1;
    DATE moved = 0;
    if (i + 1 < months.size()) {
      const MonthStart& next = months[i + 1];
      check(AddMonths(ms.serial, 1, &moved) == S_OK && moved == next.serial, ms.year, ms.month, 1,
            "AddMonths +1");
      const int expected = next.serial + std::min(ms.length, next.length) - 1;
      check(AddMonths(last, 1, &moved) == S_OK && moved == expected, ms.year, ms.month, ms.length,
            "AddMonths +1 clamped");
    }
    if (i > 0) {
      const MonthStart& prev = months[i - 1];
      const int expected = prev.serial + std::min(ms.length, prev.length) - 1;
      check(AddMonths(last, -1, &moved) == S_OK && moved == expected, ms.year, ms.month, ms.length,
            "AddMonths -1 clamped");
    }
  }
}

TEST(Calendar, KnownDates) {
  struct {
    int year, month, day;
    DATE date;
    int weekday;
  } const cases[] = {
      {1899, 12, 30, 0, 7},   {1899, 12, 31, 1, 1},    {1900, 1, 1, 2, 2},      {1900, 3, 1, 61, 5},
      {2000, 1, 1, 36526, 7}, {2003, 11, 9, 37934, 1}, {100, 1, 1, -657434, 6}, {9999, 12, 31, 2958465, 6},
  };
  for (const auto& c : cases) {
    DATE date = -1;
    std::int16_t weekday = 0;
    EXPECT_EQ(FromCivil({c.year, c.month, c.day}, &date), S_OK) << Case(c.year, c.month, c.day);
    EXPECT_EQ(date, c.date) << Case(c.year, c.month, c.day);
    EXPECT_EQ(Weekday(c.date, &weekday), S_OK);
    EXPECT_EQ(weekday, c.weekday) << Case(c.year, c.month, c.day);
  }
}

TEST(Calendar, FractionsAndNegativeDatesNameTheWholeDay) {
  // Before 30 December 1899 the fraction counts forwards from the day's midnight.
  struct {
    DATE date;
    int year, month, day;
    DATE midnight;
  } const cases[] = {
      {-1.25, 1899, 12, 29, -1},
      {-0.5, 1899, 12, 30, 0},
      {0.5, 1899, 12, 30, 0},
      {37934.75, 2003, 11, 9, 37934},
      {kMinDate - 0.999, 100, 1, 1, kMinDate},
      {kMaxDate + 0.999, 9999, 12, 31, kMaxDate},
  };
  for (const auto& c : cases) {
    CivilDate civil{};
    DATE midnight = 99;
    std::int16_t weekday = 0;
    ASSERT_EQ(ToCivil(c.date, &civil), S_OK) << c.date;
    EXPECT_EQ(Case(civil.year, civil.month, civil.day), Case(c.year, c.month, c.day)) << c.date;
    EXPECT_EQ(DateOnly(c.date, &midnight), S_OK);
    EXPECT_EQ(midnight, c.midnight) << c.date;
    EXPECT_FALSE(c.midnight == 0 && std::signbit(midnight)) << c.date << ": negative zero";
    EXPECT_EQ(Weekday(c.date, &weekday), S_OK);
    EXPECT_EQ(weekday, WeekdayOf(static_cast<int>(c.midnight))) << c.date;
  }
}

TEST(Calendar, OutOfRangeValuesFailAndLeaveOutputsUntouched) {
  const DATE bad[] = {kNaN, kInf, -kInf, kMaxDate + 1, kMinDate - 1, 1e300, -1e300};
  for (const DATE date : bad) {
    CivilDate civil{1, 2, 3};
    std::int16_t d = 11, m = 12, y = 13, w = 14;
    DATE out = 42;
    EXPECT_EQ(ToCivil(date, &civil), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(DayOfMonth(date, &d), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(Month(date, &m), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(Year(date, &y), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(Weekday(date, &w), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(DateOnly(date, &out), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(AddDays(date, 0, &out), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(AddMonths(date, 0, &out), DISP_E_OVERFLOW) << date;
    EXPECT_FALSE(IsValidDate(date)) << date;
    EXPECT_TRUE(civil.year == 1 && civil.month == 2 && civil.day == 3) << date;
    EXPECT_TRUE(d == 11 && m == 12 && y == 13 && w == 14) << date;
    EXPECT_EQ(out, 42) << date;
  }
}

TEST(Calendar, NullOutputsAreRefused) {
  EXPECT_EQ(ToCivil(0, nullptr), E_POINTER);
  EXPECT_EQ(FromCivil({2003, 11, 9}, nullptr), E_POINTER);
  EXPECT_EQ(Weekday(0, nullptr), E_POINTER);
  EXPECT_EQ(AddDays(0, 1, nullptr), E_POINTER);
  EXPECT_EQ(AddMonths(0, 1, nullptr), E_POINTER);
  EXPECT_EQ(ParseDayMonthYear(u"9/11/2003", nullptr), E_POINTER);
  EXPECT_EQ(NumberToText(1, nullptr), E_POINTER);
}

TEST(Calendar, FromCivilRefusesWhatIsNoDate) {
  struct {
    CivilDate civil;
    HRESULT expected;
  } const cases[] = {
      {{99, 12, 31}, DISP_E_OVERFLOW},       {{10000, 1, 1}, DISP_E_OVERFLOW},
      {{INT32_MAX, 1, 1}, DISP_E_OVERFLOW},  {{INT32_MIN, 1, 1}, DISP_E_OVERFLOW},
      {{2003, 0, 1}, DISP_E_TYPEMISMATCH},   {{2003, 13, 1}, DISP_E_TYPEMISMATCH},
      {{2003, 1, 0}, DISP_E_TYPEMISMATCH},   {{2003, 1, -5}, DISP_E_TYPEMISMATCH},
      {{2003, 11, 31}, DISP_E_TYPEMISMATCH}, {{2003, INT32_MIN, INT32_MAX}, DISP_E_TYPEMISMATCH},
  };
  for (const auto& c : cases) {
    DATE out = 42;
    EXPECT_EQ(FromCivil(c.civil, &out), c.expected) << Case(c.civil.year, c.civil.month, c.civil.day);
    EXPECT_EQ(out, 42);
  }
}

TEST(Calendar, LeapYears) {
  struct {
    int year;
    bool leap;
  } const cases[] = {{1900, false}, {2000, true}, {2004, true}, {2100, false}, {2003, false}};
  for (const auto& c : cases) {
    const std::string name = std::to_string(c.year);
    DATE feb28 = 0, next = 0, end_of_feb = 0, parsed = 0;
    ASSERT_EQ(FromCivil({c.year, 2, 28}, &feb28), S_OK) << name;
    ASSERT_EQ(AddDays(feb28, 1, &next), S_OK) << name;
    std::int16_t month = 0, day = 0;
    ASSERT_EQ(Month(next, &month), S_OK);
    EXPECT_EQ(month, c.leap ? 2 : 3) << name << ": day after 28 February";
    ASSERT_EQ(AddMonths(feb28 - 28, 1, &end_of_feb), S_OK) << name;  // from 31 January
    ASSERT_EQ(DayOfMonth(end_of_feb, &day), S_OK);
    EXPECT_EQ(day, c.leap ? 29 : 28) << name << ": 31 January + 1 month";
    const Text text = FromAscii("29/2/" + name);
    EXPECT_EQ(ParseDayMonthYear(text, &parsed), c.leap ? S_OK : DISP_E_TYPEMISMATCH) << name;
  }
}

TEST(Calendar, AddDays) {
  struct {
    DATE date;
    double days;
    HRESULT hr;
    DATE expected;
  } const cases[] = {
      {37934, 32, S_OK, 37966},
      {37934, -32, S_OK, 37902},
      {-1.25, 1, S_OK, 0.25},  // across the epoch, the time of day kept
      {-1.25, 0.5, S_OK, -1.75},
      {0.25, -0.5, S_OK, -1.75},
      {1.5, -2.25, S_OK, -1.25},
      {-0.5, 0, S_OK, 0.5},  // the same instant in its usual form
      {-1.75, 0.25, S_OK, 0},
      {0, -1e-17, S_OK, 0},  // rounds to midnight rather than a day earlier
      {kMinDate - 0.5, -0.5, S_OK, kMinDate},
      {kMaxDate, 0.5, S_OK, kMaxDate + 0.5},
      {kMinDate, 2958465 + 657434, S_OK, kMaxDate},
      {kMaxDate, 1, DISP_E_OVERFLOW, 0},
      {kMaxDate + 0.5, 0.5, DISP_E_OVERFLOW, 0},
      {kMinDate, -0.5, DISP_E_OVERFLOW, 0},
      {kMinDate, -1, DISP_E_OVERFLOW, 0},
      {0, kNaN, DISP_E_OVERFLOW, 0},
      {0, kInf, DISP_E_OVERFLOW, 0},
      {0, -kInf, DISP_E_OVERFLOW, 0},
      {0, 1e300, DISP_E_OVERFLOW, 0},
  };
  for (const auto& c : cases) {
    DATE out = 42;
    const std::string name = std::to_string(c.date) + " + " + std::to_string(c.days);
    EXPECT_EQ(AddDays(c.date, c.days, &out), c.hr) << name;
    EXPECT_EQ(out, c.hr == S_OK ? c.expected : 42) << name;
  }
}

TEST(Calendar, AddMonths) {
  const auto date = DateOf;
  struct {
    DATE date;
    std::int32_t months;
    HRESULT hr;
    DATE expected;
  } const cases[] = {
      {date(2004, 1, 31), 1, S_OK, date(2004, 2, 29)},
      {date(2003, 3, 31), -1, S_OK, date(2003, 2, 28)},
      {date(2004, 2, 29), 12, S_OK, date(2005, 2, 28)},
      {date(2004, 2, 29), 48, S_OK, date(2008, 2, 29)},
      {date(2003, 11, 9), 0, S_OK, date(2003, 11, 9)},
      {date(2003, 12, 15), 1, S_OK, date(2004, 1, 15)},
      {date(2004, 1, 15), -1, S_OK, date(2003, 12, 15)},
      {date(100, 1, 31), 9899 * 12 + 11, S_OK, date(9999, 12, 31)},
      {37934.75, 1, S_OK, 37964.75},  // time of day kept
      {-1.25, 1, S_OK, 30.25},        // across the epoch both ways
      {30.25, -1, S_OK, -1.25},
      {kMaxDate, 1, DISP_E_OVERFLOW, 0},
      {kMinDate, -1, DISP_E_OVERFLOW, 0},
      {date(2003, 11, 9), INT32_MAX, DISP_E_OVERFLOW, 0},
      {date(2003, 11, 9), INT32_MIN, DISP_E_OVERFLOW, 0},
  };
  for (const auto& c : cases) {
    DATE out = 42;
    const std::string name = std::to_string(c.date) + " + " + std::to_string(c.months) + " months";
    EXPECT_EQ(AddMonths(c.date, c.months, &out), c.hr) << name;
    EXPECT_EQ(out, c.hr == S_OK ? c.expected : 42) << name;
  }
}

TEST(Calendar, AddMonthsKeepsALateTimeOfDayInsideItsDay) {
  // 30 December 1899 a hair before midnight: at the larger magnitude of 30 January
  // the sum would round up to 31 January.
  DATE out = 0;
  ASSERT_EQ(AddMonths(std::nextafter(1.0, 0.0), 1, &out), S_OK);
  std::int16_t day = 0;
  ASSERT_EQ(DayOfMonth(out, &day), S_OK);
  EXPECT_EQ(day, 30);
  ASSERT_EQ(AddMonths(-std::nextafter(2.0, 0.0), -1, &out), S_OK);  // 29 Dec 1899 late
  ASSERT_EQ(DayOfMonth(out, &day), S_OK);
  EXPECT_EQ(day, 29);
}

TEST(Calendar, ParseDayMonthYear) {
  struct {
    const char16_t* text;
    DATE expected;  // NaN: refused
  } const cases[] = {
      {u"9/11/2003", 37934},
      {u"31/12/2003", DateOf(2003, 12, 31)},
      {u"29/2/2004", DateOf(2004, 2, 29)},
      {u"1/1/100", kMinDate},
      {u"31/12/9999", kMaxDate},
      {u"09/011/02003", 37934},
      {u"000000009/11/2003", 37934},
      {u"", kNaN},
      {u"/11/2003", kNaN},  // the empty cell the day click relies on
      {u"9//2003", kNaN},
      {u"9/11/", kNaN},
      {u"9/11", kNaN},
      {u"9", kNaN},
      {u"//", kNaN},
      {u"31/11/2003", kNaN},
      {u"29/2/2003", kNaN},
      {u"0/1/2000", kNaN},
      {u"1/0/2000", kNaN},
      {u"1/13/2000", kNaN},
      {u"1/1/99", kNaN},
      {u"1/1/0", kNaN},
      {u"1/1/10000", kNaN},
      {u" 9/11/2003", kNaN},
      {u"9/11/2003 ", kNaN},
      {u"9 /11/2003", kNaN},
      {u"+9/11/2003", kNaN},
      {u"-9/11/2003", kNaN},
      {u"9/11/2003/", kNaN},
      {u"9-11-2003", kNaN},
      {u"9.11.2003", kNaN},
      {u"9/11/2003x", kNaN},
      {u"0000000009/11/2003", kNaN},  // ten digits
      {u"99999999999999999999/1/2000", kNaN},
      {u"9/11/4294969299", kNaN},  // 2003 after a 32-bit wrap
      {u"\uFF19/11/2003", kNaN},   // full-width digit
  };
  for (const auto& c : cases) {
    DATE out = 42;
    const TextView text(c.text);
    const std::string name = ToUtf8Lossy(text);
    if (std::isnan(c.expected)) {
      EXPECT_EQ(ParseDayMonthYear(text, &out), DISP_E_TYPEMISMATCH) << '"' << name << '"';
      EXPECT_EQ(out, 42) << '"' << name << '"';
    } else {
      EXPECT_EQ(ParseDayMonthYear(text, &out), S_OK) << '"' << name << '"';
      EXPECT_EQ(out, c.expected) << '"' << name << '"';
    }
  }
  // The text is the view's length, not up to a terminator.
  DATE out = 42;
  EXPECT_EQ(ParseDayMonthYear(TextView(u"9/11/2003\0", 10), &out), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(ParseDayMonthYear(TextView(u"9/11/2003", 8), &out), S_OK);
  EXPECT_EQ(out, DateOf(200, 11, 9));
}

TEST(Calendar, NumberToText) {
  struct {
    std::int32_t number;
    const char16_t* text;
  } const cases[] = {
      {0, u"0"},
      {7, u"7"},
      {-7, u"-7"},
      {10, u"10"},
      {31, u"31"},
      {2003, u"2003"},
      {-1000000, u"-1000000"},
      {INT32_MAX, u"2147483647"},
      {INT32_MIN, u"-2147483648"},
  };
  Text out = u"previous contents";
  for (const auto& c : cases) {
    EXPECT_EQ(NumberToText(c.number, &out), S_OK);
    EXPECT_EQ(out, c.text) << c.number;
  }
}

// A day number is written in place only into a string of its own length, and
// without allocating into any string whose own buffer holds it (the buffer never
// replaced); every other string takes the general path, and all end with the same
// text.
TEST(Calendar, NumberToTextWhateverTheStringHeldBefore) {
  struct {
    std::int32_t number;
    const char16_t* before;
    bool in_place;
    bool without_allocating;
    const char16_t* after;
  } const cases[] = {
      {5, u"", false, true, u"5"},           {5, u"9", true, true, u"5"},       {5, u"42", false, true, u"5"},
      {42, u"7", false, true, u"42"},        {42, u"00", true, true, u"42"},    {42, u"123", false, true, u"42"},
      {0, u"x", true, true, u"0"},           {0, u"xyz", false, true, u"0"},    {99, u"ab", true, true, u"99"},
      {100, u"abc", false, false, u"100"},   {100, u"", false, false, u"100"},  {-3, u"xy", false, false, u"-3"},
      {10, u"", false, true, u"10"},         {9, u"long previous", false, true, u"9"},
  };
  for (const auto& c : cases) {
    Text direct = c.before;
    EXPECT_EQ(NumberToTextInPlace(c.number, &direct), c.in_place) << c.number << " over " << direct.size();
    if (c.in_place) {
      EXPECT_EQ(direct, c.after) << c.number;
    }
    Text kept = c.before;
    const auto* buffer = kept.data();
    EXPECT_EQ(NumberToTextWithoutAllocating(c.number, &kept), c.without_allocating) << c.number;
    EXPECT_EQ(kept, c.without_allocating ? Text(c.after) : Text(c.before)) << c.number;
    EXPECT_EQ(kept.data(), buffer) << c.number << ": the string's buffer was replaced";
    Text out = c.before;
    EXPECT_EQ(NumberToText(c.number, &out), S_OK);
    EXPECT_EQ(out, c.after) << c.number;
  }
  EXPECT_FALSE(NumberToTextInPlace(5, nullptr));
  EXPECT_FALSE(NumberToTextWithoutAllocating(5, nullptr));
}

TEST(Calendar, SystemTodayIsAWholeDayInRange) {
  const DATE today = SystemToday();
  EXPECT_TRUE(IsValidDate(today));
  EXPECT_EQ(today, std::trunc(today));
}

}  // namespace
}  // namespace jv::dates
