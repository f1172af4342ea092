// SDate: the text of txtDate, stored as given, with a change notice on every put.
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

class SDateTest : public ControlTest, public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(SDateTest, PutStoresAnyTextUnchangedAndNotifies) {
  Start(2003, 11, 9);
  const control::State before = s();
  const auto highlighted = HighlightedCells();
  ASSERT_EQ(ctl().put_SDate(GetParam()), S_OK);
  Text value;
  ASSERT_EQ(ctl().get_SDate(&value), S_OK);
  EXPECT_EQ(value, Text(GetParam()));
  EXPECT_EQ(face().date_text(), Text(GetParam()));
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"});
  EXPECT_EQ(s().m_SelDate, before.m_SelDate);
  EXPECT_EQ(s().m_CurDate, before.m_CurDate);
  EXPECT_EQ(s().m_SelCell, before.m_SelCell);
  EXPECT_EQ(HighlightedCells(), highlighted);
  EXPECT_EQ(YearText(), "November, 2003");
}

INSTANTIATE_TEST_SUITE_P(Texts, SDateTest,
                         ::testing::Values(u"abc", u"", u"1/1/2020", u"  padded  ", u"31/02/2003",
                                           u"\u00e7\u00e3o \U0001F4C5"));

TEST_F(ControlTest, NewInstanceReportsTodayAsSDate) {
  Start(2003, 11, 9);
  Text value;
  ASSERT_EQ(ctl().get_SDate(&value), S_OK);
  EXPECT_EQ(ToUtf8Lossy(value), "11/9/2003");
}

TEST_F(ControlTest, PuttingTheSameTextAgainNotifiesAgain) {
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().put_SDate(u"x"), S_OK);
  ASSERT_EQ(ctl().put_SDate(u"x"), S_OK);
  EXPECT_EQ(container_.TakeChanged(), (std::vector<std::string>{"SDate", "SDate"}));
}

TEST_F(ControlTest, PagingToAMatchingMonthReplacesTheTextSilently) {
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().put_SDate(u"host text"), S_OK);
  container_.TakeChanged();
  ASSERT_EQ(face().ClickNext(), S_OK);
  EXPECT_EQ(DateText(), "12/9/2003");
  EXPECT_TRUE(container_.changed().empty());
}

TEST_F(ControlTest, PagingToAMonthWithoutTheStartDayKeepsTheHostText) {
  Start(2004, 1, 31);
  ASSERT_EQ(ctl().put_SDate(u"host text"), S_OK);
  ASSERT_EQ(face().ClickNext(), S_OK);
  EXPECT_EQ(DateText(), "host text");
}

}  // namespace
}  // namespace jv::testing
