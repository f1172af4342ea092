// The day-grid model that the painting and the accessibility bridges read, checked
// against the control itself after every step of a user's session: the cursor
// against m_SelCell, each cell's date against its caption and m_CurDate, the
// highlight against the colours written, the month against m_CurDate. Failures
// injected into the control's statements must not make the two part.
#include <chrono>
#include <vector>

#include "platform/face/day_grid_model.h"
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

using headless::Operation;

// An input step: a click on a cell, a key, or a paging button.
struct Step {
  enum Kind { kClick, kKey, kNext, kPrevious } kind;
  std::int16_t value = 0;
};
Step ClickOn(std::int16_t index) { return {Step::kClick, index}; }
Step Press(std::int16_t code) { return {Step::kKey, code}; }
constexpr Step kNextMonth{Step::kNext, 0}, kPreviousMonth{Step::kPrevious, 0};

struct Session {
  const char* what;
  int y, m, d;  // today
  std::vector<Step> steps;
  std::optional<Operation> fault;  // fails on every call from the first step on
};

std::vector<Session> Sessions() {
  return {
      {"clicks and arrows inside a month", 2003, 11, 15,
       {ClickOn(20), Press(kRight), Press(kDown), Press(kUp), Press(kLeft), ClickOn(26)}, std::nullopt},
      {"arrows off the month's cells and back", 2003, 11, 15,
       {Press(kDown), Press(kLeft), Press(kLeft), Press(kUp), Press(kRight), Press(kRight)}, std::nullopt},
      {"up and left from day 1, the month's first cell", 2003, 11, 15,
       {ClickOn(7), Press(kUp), Press(kUp), Press(kDown), Press(kLeft), Press(kLeft), Press(kRight)}, std::nullopt},
      {"right after start-up", 2003, 11, 15, {Press(kUp), Press(kLeft), Press(kRight), Press(kDown)}, std::nullopt},
      {"past the last day and back", 2003, 11, 15,
       {ClickOn(36), Press(kDown), Press(kDown), Press(kRight), Press(kUp), Press(kRight), Press(kRight)}, std::nullopt},
      {"paging keeps the cursor's place", 2003, 11, 15,
       {ClickOn(26), Press(kPageDown), Press(65), kNextMonth, Press(kPageUp), kPreviousMonth, Press(kDown)}, std::nullopt},
      {"a month starting on Sunday", 2004, 2, 10, {ClickOn(1), Press(kLeft), Press(kDown), Press(kRight)}, std::nullopt},
      {"a blank cell clicked", 2003, 11, 15, {ClickOn(2), Press(kRight), Press(kLeft), ClickOn(40), Press(kUp)}, std::nullopt},
      {"captions that cannot be written", 2003, 11, 15,
       {kNextMonth, ClickOn(10), Press(kRight), Press(kPageDown)}, Operation::Caption_put},
      {"colours that cannot be written", 2003, 11, 15,
       {ClickOn(10), Press(kRight), kNextMonth, Press(kDown)}, Operation::BackColor_put},
      {"cells that cannot be fetched", 2003, 11, 15,
       {ClickOn(10), Press(kRight), kNextMonth, Press(kLeft)}, Operation::l_Item},
      {"a month caption that cannot be written", 2003, 11, 15,
       {kNextMonth, ClickOn(12), Press(kPageDown)}, Operation::txtYear_Text_put},
  };
}

class DayGridModelTest : public ControlTest, public ::testing::WithParamInterface<Session> {
 protected:
  const platform::DayGridModel& model() { return *face().model(); }

  void Run(const Step& step) {
    switch (step.kind) {
      case Step::kClick: (void)face().ClickCell(step.value); break;
      case Step::kKey: (void)face().PressKey(step.value, 0); break;
      case Step::kNext: (void)face().ClickNext(); break;
      case Step::kPrevious: (void)face().ClickPrevious(); break;
    }
  }

  // The date the control means by a cell: its caption's day in m_CurDate's month.
  std::optional<DATE> ControlDateOf(int index) {
    const std::string caption = Caption(index);
    if (caption.empty()) return std::nullopt;
    using namespace std::chrono;
    const year_month_day shown(sys_days(Day1899()) + days(static_cast<long>(s().m_CurDate)));
    const year_month_day day(shown.year(), shown.month(), std::chrono::day(std::stoul(caption)));
    return static_cast<DATE>((sys_days(day) - sys_days(Day1899())).count());
  }
  static constexpr std::chrono::year_month_day Day1899() {
    return std::chrono::year_month_day(std::chrono::year(1899), std::chrono::month(12), std::chrono::day(30));
  }

  void ExpectModelMatchesControl(const std::string& where) {
    EXPECT_EQ(model().cursor(), s().m_SelCell) << where;
    for (int i = 1; i <= kGridCells; ++i) {
      const auto index = static_cast<std::int16_t>(i);
      EXPECT_EQ(ToUtf8Lossy(model().CaptionOf(index)), Caption(i)) << where << " cell " << i;
      EXPECT_EQ(model().IsHighlighted(index), face().cell(index).back == kSysHighlight) << where << " cell " << i;
      EXPECT_EQ(model().DateOf(index), ControlDateOf(i)) << where << " cell " << i;
      EXPECT_EQ(model().IsAtCursor(index), i == s().m_SelCell) << where << " cell " << i;
    }
    EXPECT_EQ(ToUtf8Lossy(model().month_caption()), YearText()) << where;
    using namespace std::chrono;
    const year_month_day shown(sys_days(Day1899()) + days(static_cast<long>(s().m_CurDate)));
    EXPECT_EQ(model().MonthShown(), Day(static_cast<int>(shown.year()), static_cast<int>(unsigned(shown.month())), 1))
        << where;
  }
};

TEST_P(DayGridModelTest, FollowsTheControlThroughASession) {
  const Session& session = GetParam();
  Start(session.y, session.m, session.d);
  ExpectModelMatchesControl("after start-up");
  if (session.fault) runtime_.faults().Arm(*session.fault);
  for (std::size_t i = 0; i < session.steps.size(); ++i) {
    Run(session.steps[i]);
    ExpectModelMatchesControl("after step " + std::to_string(i + 1));
  }
}

INSTANTIATE_TEST_SUITE_P(Sessions, DayGridModelTest, ::testing::ValuesIn(Sessions()),
                         [](const auto& info) { return "Session" + std::to_string(info.index); });

TEST_F(ControlTest, TheModelHitTestsTheCellRectangles) {
  Start(2003, 11, 9);
  const platform::DayGridModel& model = *face().model();
  for (std::int16_t index : {std::int16_t{1}, std::int16_t{7}, std::int16_t{20}, std::int16_t{42}}) {
    const platform::TwipsRect r = model.RectOf(index);
    ASSERT_GT(r.width, 0);
    EXPECT_EQ(model.CellAt(r.left, r.top), index);
    EXPECT_EQ(model.CellAt(r.left + r.width - 1, r.top + r.height - 1), index);
  }
  EXPECT_EQ(model.CellAt(-1, -1), std::nullopt);
}

}  // namespace
}  // namespace jv::testing
