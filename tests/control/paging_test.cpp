// The paging buttons and the day click.
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

enum class Press { kNext, kPrevious };

std::string IsoDate(DATE d) {
  dates::CivilDate c{};
  if (FAILED(dates::ToCivil(d, &c))) return "invalid";
  return std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day);
}


struct PagingCase {
  const char* name;
  DATE today;
  std::vector<Press> presses;
  DATE cur_date;
  const char* caption;
  std::vector<int> highlighted;
  DATE sel_date;
};

class PagingTest : public ControlTest, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(PagingTest, MovesByCalendarMonthsAndHighlightsTheStartDay) {
  const PagingCase& c = GetParam();
  Start(c.today);
  // At the ends of the range the handler reports overflow to the runtime; the state is what counts here.
  for (Press p : c.presses) (void)(p == Press::kNext ? face().ClickNext() : face().ClickPrevious());
  EXPECT_EQ(IsoDate(s().m_CurDate), IsoDate(c.cur_date)) << c.name;
  EXPECT_EQ(YearText(), c.caption) << c.name;
  EXPECT_EQ(HighlightedCells(), c.highlighted) << c.name;
  EXPECT_EQ(IsoDate(s().m_SelDate), IsoDate(c.sel_date)) << c.name;
  EXPECT_EQ(s().m_SelCell, 0) << c.name;
  EXPECT_TRUE(container_.changed().empty()) << c.name << ": paging notifies nobody";
}

const std::vector<Press> kTwelveNext(12, Press::kNext);

INSTANTIATE_TEST_SUITE_P(
    Presses, PagingTest,
    ::testing::Values(
        PagingCase{"31 Jan 2004, next: February has no 31st", Day(2004, 1, 31), {Press::kNext},
                   Day(2004, 2, 29), "February, 2004", {}, Day(2004, 1, 31)},
        PagingCase{"31 Jan 2004, next twice: the shortened day stays short", Day(2004, 1, 31),
                   {Press::kNext, Press::kNext}, Day(2004, 3, 29), "March, 2004", {32}, Day(2004, 3, 31)},
        PagingCase{"31 Mar 2003, previous then next", Day(2003, 3, 31), {Press::kPrevious, Press::kNext},
                   Day(2003, 3, 28), "March, 2003", {37}, Day(2003, 3, 31)},
        PagingCase{"twelve times next", Day(2003, 11, 9), kTwelveNext, Day(2004, 11, 9), "November, 2004",
                   {10}, Day(2004, 11, 9)},
        PagingCase{"next at December 9999 changes nothing", Day(9999, 12, 15), {Press::kNext},
                   Day(9999, 12, 15), "December, 9999", {18}, Day(9999, 12, 15)},
        PagingCase{"previous at January 100 changes nothing", Day(100, 1, 15), {Press::kPrevious},
                   Day(100, 1, 15), "January, 0100", {20}, Day(100, 1, 15)}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(ControlTest, PagingKeepsTheCursorAndTheFocusAndRehighlightsTheStartDay) {
  Start(2003, 11, 7);
  Click(26);  // shows 20
  ASSERT_EQ(runtime_.focus(), "Picture1");
  container_.TakeChanged();
  ASSERT_EQ(face().ClickNext(), S_OK);
  EXPECT_EQ(s().m_SelCell, 26);
  EXPECT_EQ(runtime_.focus(), "cmdNext") << "the button click took the focus; paging leaves it there";
  EXPECT_EQ(HighlightedCells(), std::vector<int>{8});  // the 7th of December 2003
  EXPECT_EQ(DateText(), "12/7/2003");
  EXPECT_TRUE(container_.changed().empty());
}

struct ClickCase {
  const char* name;
  int cell;
  std::vector<int> highlighted;
  DATE sel_date;
};

class DayClickTest : public ControlTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(DayClickTest, SelectsTheClickedDayOrKeepsTheLastOne) {
  const ClickCase& c = GetParam();
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().put_SDate(u"not a date"), S_OK);
  container_.TakeChanged();
  Click(static_cast<std::int16_t>(c.cell));
  EXPECT_EQ(s().m_SelCell, c.cell) << c.name;
  EXPECT_EQ(HighlightedCells(), c.highlighted) << c.name;
  EXPECT_EQ(s().m_SelDate, c.sel_date) << c.name;
  Text sdate;
  ASSERT_EQ(ctl().get_SDate(&sdate), S_OK);
  Text expected;
  ASSERT_EQ(face().Dates().FormatShortDate(c.sel_date, &expected), S_OK);
  EXPECT_EQ(sdate, expected) << c.name << ": the host's text is replaced";
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"}) << c.name;
  EXPECT_EQ(runtime_.focus(), "Picture1") << c.name;
  EXPECT_EQ(ToUtf8Lossy(s().m_StartDayText), "9") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cells, DayClickTest,
                         ::testing::Values(ClickCase{"a day", 20, {20}, Day(2003, 11, 14)},
                                           ClickCase{"the start-up day again", 15, {15}, Day(2003, 11, 9)},
                                           ClickCase{"a blank cell before day 1", 3, {15}, Day(2003, 11, 9)},
                                           ClickCase{"a blank cell after the last day", 40, {15},
                                                     Day(2003, 11, 9)}),
                         [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(ControlTest, SecondClickOnTheSameCellRepeatsEveryStep) {
  Start(2003, 11, 9);
  Click(20);
  container_.TakeChanged();
  runtime_.journal().Enable(true);
  Click(20);
  const auto entries = runtime_.journal().Take();
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "txtDate.Text=11/14/2003"), 2);
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"});
  EXPECT_EQ(HighlightedCells(), std::vector<int>{20});
}

}  // namespace
}  // namespace jv::testing
