// Each routine meets a failing operation in its own way: the grid fill, the
// selection display and the day click resume next; the key handler ends quietly;
// start-up, paging, SDate and the resize rule hand the failure back.
#include <functional>

#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

using headless::Operation;

TEST_F(ControlTest, FailedCaptionWriteLeavesThatCellAndTheRestIsFilled) {
  // The grid fill blanks every cell before it numbers the days.
  constexpr std::uint32_t kBlankingWrites = kGridCells;
  runtime_.faults().Arm(Operation::Caption_put, kBlankingWrites + 9);  // the numbering write of day 9
  Start(2003, 11, 9);
  EXPECT_EQ(Caption(15), "");
  EXPECT_EQ(Caption(14), "8");
  EXPECT_EQ(Caption(16), "10");
  EXPECT_EQ(Caption(36), "30");
  EXPECT_EQ(s().m_FirstCell, 7);
  EXPECT_EQ(s().m_LastCell, 36);
  EXPECT_TRUE(HighlightedCells().empty()) << "no cell shows the start day";
  EXPECT_EQ(s().m_SelDate, 0.0) << "the selected date keeps its zero value";
  EXPECT_EQ(YearText(), "November, 2003") << "the caption step still runs";
}

TEST_F(ControlTest, CaptionsThatCannotBeWrittenKeepTheLastMonthsText) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(Operation::Caption_put);
  ASSERT_EQ(face().ClickNext(), S_OK);
  EXPECT_EQ(Caption(15), "9") << "November's numbers stay";
  EXPECT_EQ(s().m_FirstCell, 2);
  EXPECT_EQ(s().m_LastCell, 32);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{15});
  EXPECT_EQ(s().m_SelDate, Day(2003, 12, 9)) << "the date is rebuilt from the stale caption";
  EXPECT_EQ(YearText(), "December, 2003");
}

TEST_F(ControlTest, FailedConversionInShowSelectionRewritesThePreviousDate) {
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().put_SDate(u"host"), S_OK);
  runtime_.faults().Arm(Operation::TextToDate);
  ASSERT_EQ(face().ClickNext(), S_OK);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{10});
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 9));
  EXPECT_EQ(DateText(), "11/9/2003");
}

TEST_F(ControlTest, FailedSetFocusInTheDayClickIsIgnored) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(Operation::Picture1_SetFocus);
  Click(20);
  EXPECT_EQ(runtime_.focus(), "");
  EXPECT_EQ(HighlightedCells(), std::vector<int>{20});
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 14));
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"});
}

TEST_F(ControlTest, DayClickWhoseDateCannotBeWrittenGoesOnToTheFocus) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(Operation::txtDate_Text_put);
  Click(20);
  EXPECT_EQ(DateText(), "11/9/2003");
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 14));
  EXPECT_TRUE(container_.changed().empty()) << "the SDate put failed before its notice";
  EXPECT_EQ(runtime_.focus(), "Picture1");
}

struct KeyFault {
  const char* name;
  Operation op;
  std::uint32_t nth;
  int sel_cell;
  std::vector<int> highlighted;
};

// The cell fetches of Down, in order: the cell it moves to, every cell as the
// highlight pass resets it, the new cell as it is highlighted, then the commit's.
constexpr std::uint32_t kMoveFetches = 1, kResetFetches = kGridCells, kHighlightFetches = 1;
constexpr std::uint32_t kCommitFetch = kMoveFetches + kResetFetches + kHighlightFetches + 1;

class KeyFaultTest : public ControlTest, public ::testing::WithParamInterface<KeyFault> {};

// Down from day 14 (cell 20) to day 21 (cell 27); each failure ends the handling
// where it happens, with what came before kept.
TEST_P(KeyFaultTest, EndsTheKeyAtTheFirstFailure) {
  const KeyFault& c = GetParam();
  Start(2003, 11, 9);
  Click(20);
  container_.TakeChanged();
  runtime_.faults().Arm(c.op, c.nth);
  Key(kDown);
  EXPECT_EQ(s().m_SelCell, c.sel_cell) << c.name;
  EXPECT_EQ(HighlightedCells(), c.highlighted) << c.name;
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 14)) << c.name;
  EXPECT_TRUE(container_.changed().empty()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, KeyFaultTest,
    ::testing::Values(KeyFault{"the cell fetch of the move", Operation::l_Item, 1, 27, {20}},
                      KeyFault{"a colour write of the highlight pass", Operation::BackColor_put, 15, 27, {20}},
                      KeyFault{"the cell fetch of the commit", Operation::l_Item, kCommitFetch, 27, {27}},
                      KeyFault{"the conversion of the commit", Operation::TextToDate, 1, 27, {27}}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(ControlTest, FailedHighlightWriteKeepsTheCellsBeforeIt) {
  Start(2003, 11, 9);
  Click(20);
  runtime_.faults().Arm(Operation::ForeColor_put, 21);  // cell 21's reset
  Key(kRight);
  EXPECT_EQ(s().m_SelCell, 21);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{}) << "cell 20 was reset, cell 21 never highlighted";
}

TEST_F(ControlTest, FailedMonthArithmeticLeavesEverythingAsItWas) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(Operation::AddMonths);
  runtime_.journal().Enable(true);
  EXPECT_EQ(ctl().cmdNext_Click(), E_FAIL);
  EXPECT_EQ(ctl().cmdPrevious_Click(), E_FAIL);
  EXPECT_TRUE(runtime_.journal().Take().empty());
  EXPECT_EQ(s().m_CurDate, Day(2003, 11, 9));
}

TEST_F(ControlTest, PagingPastTheRangeReportsOverflow) {
  Start(9999, 12, 1);
  EXPECT_EQ(ctl().cmdNext_Click(), DISP_E_OVERFLOW);
  control_.reset();
  Start(100, 1, 31);
  EXPECT_EQ(ctl().cmdPrevious_Click(), DISP_E_OVERFLOW);
  EXPECT_EQ(YearText(), "January, 0100");
}

TEST_F(ControlTest, SDateHandsItsFailuresBack) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(Operation::txtDate_Text_put, 1);
  EXPECT_EQ(ctl().put_SDate(u"x"), E_FAIL);
  EXPECT_TRUE(container_.changed().empty());
  EXPECT_EQ(DateText(), "11/9/2003");

  runtime_.faults().Arm(Operation::PropertyChanged, 1);
  EXPECT_EQ(ctl().put_SDate(u"y"), E_FAIL);
  EXPECT_EQ(DateText(), "y") << "the text was stored before the notice failed";

  runtime_.faults().Arm(Operation::txtDate_Text_get, 1);
  Text value = u"stale";
  EXPECT_EQ(ctl().get_SDate(&value), E_FAIL);
  EXPECT_EQ(value, u"");
}

TEST_F(ControlTest, StartUpFailureFailsTheCreation) {
  runtime_.faults().Arm(Operation::Today);
  runtime_.clock().Set(Day(2003, 11, 9));
  std::unique_ptr<control::ctrJornavista> created;
  EXPECT_EQ(control::ctrJornavista::Create(runtime_, container_, &created), E_FAIL);
  EXPECT_EQ(created, nullptr);
}

TEST(FaultInjectorTest, FailsOnTheNthCallOnlyOrOnEveryCall) {
  headless::FaultInjector faults;
  faults.Arm(Operation::Month, 3, DISP_E_OVERFLOW);
  std::vector<HRESULT> seen;
  for (int i = 0; i < 5; ++i) seen.push_back(faults.Check(Operation::Month));
  EXPECT_EQ(seen, (std::vector<HRESULT>{S_OK, S_OK, DISP_E_OVERFLOW, S_OK, S_OK}));
  faults.Arm(Operation::Month);
  EXPECT_EQ(faults.Check(Operation::Month), E_FAIL);
  EXPECT_EQ(faults.Check(Operation::Month), E_FAIL);
  EXPECT_EQ(faults.Check(Operation::Year), S_OK);
  for (std::size_t i = 0; i < headless::kOperationCount; ++i) {
    const auto op = static_cast<Operation>(i);
    EXPECT_EQ(headless::OperationByName(headless::OperationName(op)), op) << headless::OperationName(op);
  }
}

// The watch flag the faces' fast paths read: set wherever a fault is armed and,
// while the journal records, everywhere; a fast path that misses a set flag would
// skip a fault or a journal entry. Steps on one runtime, in order.
TEST(FaultInjectorTest, AnOperationIsWatchedWhileArmedOrWhileTheJournalRecords) {
  headless::HeadlessRuntime runtime(dates::RegionalSettings::ForLocale("en_US"));
  headless::FaultInjector& faults = runtime.faults();
  struct Step {
    const char* what;
    std::function<void()> run;
    bool caption_put, item;  // expected Watched of l.Caption.put and l.Item
  };
  const Step steps[] = {
      {"nothing armed", [] {}, false, false},
      {"one armed", [&] { faults.Arm(Operation::Caption_put); }, true, false},
      {"the other disarmed", [&] { faults.Disarm(Operation::l_Item); }, true, false},
      {"the armed one disarmed", [&] { faults.Disarm(Operation::Caption_put); }, false, false},
      {"the journal on", [&] { runtime.journal().Enable(true); }, true, true},
      {"one disarmed while recording", [&] { faults.Disarm(Operation::l_Item); }, true, true},
      {"all disarmed while recording", [&] { faults.DisarmAll(); }, true, true},
      {"one armed, then the journal off", [&] {
         faults.Arm(Operation::l_Item, 2);
         runtime.journal().Enable(false);
       }, false, true},
      {"all disarmed", [&] { faults.DisarmAll(); }, false, false},
  };
  for (const Step& step : steps) {
    step.run();
    EXPECT_EQ(faults.Watched(Operation::Caption_put), step.caption_put) << step.what;
    EXPECT_EQ(faults.Watched(Operation::l_Item), step.item) << step.what;
    for (std::size_t i = 0; i < headless::kOperationCount; ++i) {
      const auto op = static_cast<Operation>(i);
      if (faults.Armed(op)) {
        EXPECT_TRUE(faults.Watched(op)) << step.what << ": " << headless::OperationName(op);
      }
    }
  }
  // A one-shot fault still fails on its call when it is the only thing watched.
  faults.Arm(Operation::Caption_put, 1);
  EXPECT_EQ(faults.Check(Operation::Caption_put), E_FAIL);
  EXPECT_EQ(faults.Check(Operation::Caption_put), S_OK);
}

}  // namespace
}  // namespace jv::testing
