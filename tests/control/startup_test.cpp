// Start-up on today's month and the month grid it fills.
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

struct StartupCase {
  int y, m, d;
  int first_cell, last_cell, today_cell;
  const char* caption;
  const char* date_text;
};

class StartupTest : public ControlTest, public ::testing::WithParamInterface<StartupCase> {};

TEST_P(StartupTest, ShowsTodaysMonthWithTodayHighlighted) {
  const StartupCase& c = GetParam();
  Start(c.y, c.m, c.d);
  EXPECT_EQ(s().m_CurDate, Day(c.y, c.m, c.d));
  EXPECT_EQ(s().m_MonthStart, Day(c.y, c.m, 1));
  EXPECT_EQ(ToUtf8Lossy(s().m_StartDayText), std::to_string(c.d));
  EXPECT_EQ(s().m_FirstCell, c.first_cell);
  EXPECT_EQ(s().m_LastCell, c.last_cell);
  EXPECT_EQ(s().m_SelCell, 0);
  EXPECT_EQ(s().m_SelDate, Day(c.y, c.m, c.d));
  EXPECT_EQ(HighlightedCells(), std::vector<int>{c.today_cell});
  EXPECT_EQ(YearText(), c.caption);
  EXPECT_EQ(DateText(), c.date_text);
  // Day d in cell first + d - 1, every other cell blank, cells 38 to 42 always blank.
  for (int i = 1; i <= kGridCells; ++i) {
    const int day = i - c.first_cell + 1;
    const bool numbered = i >= c.first_cell && i <= c.last_cell;
    EXPECT_EQ(Caption(i), numbered ? std::to_string(day) : "") << "cell " << i;
    if (!Highlighted(i)) {
      EXPECT_EQ(face().cell(static_cast<std::int16_t>(i)).fore, kColorBlack) << "cell " << i;
      EXPECT_EQ(face().cell(static_cast<std::int16_t>(i)).back, kSysWindow) << "cell " << i;
    }
  }
  EXPECT_TRUE(container_.changed().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Months, StartupTest,
    ::testing::Values(StartupCase{2003, 11, 9, 7, 36, 15, "November, 2003", "11/9/2003"},
                      StartupCase{2003, 11, 15, 7, 36, 21, "November, 2003", "11/15/2003"},
                      StartupCase{2004, 1, 31, 5, 35, 35, "January, 2004", "1/31/2004"},
                      StartupCase{2009, 2, 1, 1, 28, 1, "February, 2009", "2/1/2009"},
                      StartupCase{2004, 5, 31, 7, 37, 37, "May, 2004", "5/31/2004"},
                      StartupCase{2004, 2, 29, 1, 29, 29, "February, 2004", "2/29/2004"},
                      StartupCase{2000, 2, 29, 3, 31, 31, "February, 2000", "2/29/2000"},
                      StartupCase{1900, 2, 28, 5, 32, 32, "February, 1900", "2/28/1900"},
                      StartupCase{2100, 2, 28, 2, 29, 29, "February, 2100", "2/28/2100"},
                      StartupCase{100, 1, 1, 6, 36, 6, "January, 0100", "1/1/0100"},
                      StartupCase{9999, 12, 31, 4, 34, 34, "December, 9999", "12/31/9999"}));

// Every month of the range fills the grid by the same rule: first cell the weekday
// of day 1, exactly month-length cells numbered.
TEST_F(ControlTest, EveryMonthFillsTheGridFromItsFirstWeekday) {
  Start(100, 1, 1);
  for (int step = 0; step < 12 * 9900 - 1; step += 97) {
    control_.reset();
    DATE today = 0;
    ASSERT_EQ(dates::AddMonths(Day(100, 1, 1), step, &today), S_OK);
    Start(today);
    std::int16_t weekday = 0, month = 0, year = 0;
    ASSERT_EQ(dates::Weekday(s().m_MonthStart, &weekday), S_OK);
    ASSERT_EQ(dates::Month(today, &month), S_OK);
    ASSERT_EQ(dates::Year(today, &year), S_OK);
    DATE next_month = 0;
    ASSERT_EQ(dates::AddMonths(s().m_MonthStart, 1, &next_month), S_OK);
    const int length = static_cast<int>(next_month - s().m_MonthStart);
    ASSERT_EQ(s().m_FirstCell, weekday) << year << "-" << month;
    ASSERT_EQ(s().m_LastCell, weekday + length - 1) << year << "-" << month;
    ASSERT_EQ(Caption(s().m_LastCell), std::to_string(length)) << year << "-" << month;
    ASSERT_EQ(Caption(s().m_LastCell + 1), "") << year << "-" << month;
  }
}

TEST_F(ControlTest, FirstAndLastDayOfAMonthGiveTheSameGrid) {
  Start(2003, 11, 1);
  std::vector<std::string> first;
  for (int i = 1; i <= kGridCells; ++i) first.push_back(Caption(i));
  const DATE month_start = s().m_MonthStart;
  control_.reset();
  Start(2003, 11, 30);
  for (int i = 1; i <= kGridCells; ++i) EXPECT_EQ(Caption(i), first[static_cast<std::size_t>(i - 1)]) << "cell " << i;
  EXPECT_EQ(s().m_MonthStart, month_start);
}

TEST_F(ControlTest, TwoInstancesKeepIndependentState) {
  Start(2003, 11, 9);
  std::unique_ptr<control::ctrJornavista> other;
  ASSERT_EQ(control::ctrJornavista::Create(runtime_, container_, &other), S_OK);
  ASSERT_EQ(ctl().cmdNext_Click(), S_OK);
  EXPECT_EQ(s().m_CurDate, Day(2003, 12, 9));
  EXPECT_EQ(other->state().m_CurDate, Day(2003, 11, 9));
  EXPECT_EQ(ToUtf8Lossy(static_cast<headless::HeadlessFace&>(other->face()).year_text()), "November, 2003");
}

// The day click of the step-by-step example, as the sequence of writes, change
// notices and focus changes it makes.
TEST_F(ControlTest, DayClickMakesItsWritesInOrder) {
  Start(2003, 11, 9);
  runtime_.journal().Enable(true);
  Click(20);  // shows 14
  std::vector<std::string> expected;
  for (int i = 1; i <= kGridCells; ++i) {
    expected.push_back("l(" + std::to_string(i) + ").ForeColor=&H00000000");
    expected.push_back("l(" + std::to_string(i) + ").BackColor=&H80000005");
  }
  expected.push_back("l(20).ForeColor=&H8000000E");
  expected.push_back("l(20).BackColor=&H8000000D");
  expected.push_back("txtDate.Text=11/14/2003");
  expected.push_back("txtDate.Text=11/14/2003");
  expected.push_back("PropertyChanged SDate");
  expected.push_back("focus Picture1");
  EXPECT_EQ(runtime_.journal().Take(), expected);
  EXPECT_EQ(s().m_SelCell, 20);
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 14));
  EXPECT_EQ(ToUtf8Lossy(s().m_StartDayText), "9");
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"});
}

}  // namespace
}  // namespace jv::testing
