#include "platform/dates/standard_date_functions.h"

#include <gtest/gtest.h>

#include <limits>

namespace jv::dates {
namespace {

class FixedClock final : public platform::Clock {
 public:
  explicit FixedClock(DATE today) : today_(today) {}
  DATE Today() const override { return today_; }

 private:
  DATE today_;
};

TEST(StandardDateFunctions, TodayIsTheClocksDayWithoutTimeOfDay) {
  const RegionalSettings settings = RegionalSettings::ForLocale("en_US");
  struct {
    DATE clock;
    HRESULT hr;
    DATE today;
  } const cases[] = {
      {37934.75, S_OK, 37934},
      {-1.25, S_OK, -1},
      {kMaxDate + 0.5, S_OK, kMaxDate},
      {kMaxDate + 1, DISP_E_OVERFLOW, 0},
      {std::numeric_limits<double>::quiet_NaN(), DISP_E_OVERFLOW, 0},
  };
  for (const auto& c : cases) {
    FixedClock clock(c.clock);
    StandardDateFunctions functions(clock, settings);
    DATE today = 42;
    EXPECT_EQ(functions.Today(&today), c.hr) << c.clock;
    EXPECT_EQ(today, c.hr == S_OK ? c.today : 42) << c.clock;
  }
}

TEST(StandardDateFunctions, DateTextRoundTripThroughTheInterface) {
  const RegionalSettings settings = RegionalSettings::ForLocale("pt_BR.UTF-8");
  FixedClock clock(37934);
  StandardDateFunctions standard(clock, settings);
  platform::DateFunctions& functions = standard;
  DATE date = 0;
  Text text;
  ASSERT_EQ(functions.TextToDate(u"7/11/2003", &date), S_OK);
  ASSERT_EQ(functions.FormatShortDate(date, &text), S_OK);
  EXPECT_EQ(text, u"07/11/2003");
  ASSERT_EQ(functions.FormatMonthCaption(date, &text), S_OK);
  EXPECT_EQ(text, u"novembro, 2003");
  EXPECT_EQ(functions.TextToDate(u"/11/2003", &date), DISP_E_TYPEMISMATCH);
}

}  // namespace
}  // namespace jv::dates
