// Keyboard navigation: the cursor regions, the guards, the 32-day month step and
// the selection commit, as scripts of user actions with their outcome.
#include <sstream>

#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

struct KeyCase {
  const char* name;
  DATE today;
  // Blank-separated actions: "cN" click cell N, "U" "D" "L" "R" arrows, "PD" "PU"
  // Page Down / Up, "N" the ">>" button, "kN" the key with code N.
  const char* actions;
  int sel_cell;
  std::vector<int> highlighted;
  DATE sel_date;
  int sdate_notices;
  DATE cur_date;
};

class KeyboardTest : public ControlTest, public ::testing::WithParamInterface<KeyCase> {
 protected:
  void Run(const char* actions) {
    std::istringstream in(actions);
    std::string a;
    while (in >> a) {
      if (a[0] == 'c') Click(static_cast<std::int16_t>(std::stoi(a.substr(1))));
      else if (a[0] == 'k') Key(static_cast<std::int16_t>(std::stoi(a.substr(1))));
      else if (a == "U") Key(kUp);
      else if (a == "D") Key(kDown);
      else if (a == "L") Key(kLeft);
      else if (a == "R") Key(kRight);
      else if (a == "PD") Key(kPageDown);
      else if (a == "PU") Key(kPageUp);
      else if (a == "N") ASSERT_EQ(face().ClickNext(), S_OK);
      else FAIL() << "bad action " << a;
    }
  }
};

TEST_P(KeyboardTest, MovesTheCursorAsTheRegionAllows) {
  const KeyCase& c = GetParam();
  Start(c.today);
  Run(c.actions);
  EXPECT_EQ(s().m_SelCell, c.sel_cell) << c.name;
  EXPECT_EQ(HighlightedCells(), c.highlighted) << c.name;
  EXPECT_EQ(s().m_SelDate, c.sel_date) << c.name;
  const auto changed = container_.TakeChanged();
  EXPECT_EQ(static_cast<int>(changed.size()), c.sdate_notices) << c.name;
  EXPECT_EQ(std::count(changed.begin(), changed.end(), "SDate"), c.sdate_notices) << c.name;
  EXPECT_EQ(s().m_CurDate, c.cur_date) << c.name;
}

const DATE kNov15 = Day(2003, 11, 15);

// November 2003: day d in cell d + 6, cells 7 to 36; "15" (cell 21) is the start day.
INSTANTIATE_TEST_SUITE_P(
    November2003, KeyboardTest,
    ::testing::Values(
        KeyCase{"up at start-up is refused", kNov15, "U", 0, {21}, kNov15, 0, kNov15},
        KeyCase{"left at start-up is refused", kNov15, "L", 0, {21}, kNov15, 0, kNov15},
        KeyCase{"down at start-up selects day 1", kNov15, "D", 7, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"right at start-up lands on a blank cell", kNov15, "R", 1, {21}, kNov15, 0, kNov15},
        KeyCase{"seven rights reach day 1", kNov15, "R R R R R R R", 7, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"left from day 1 to a blank cell", kNov15, "c7 L", 6, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"a second left is refused", kNov15, "c7 L L", 6, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"right back to day 1", kNov15, "c7 L L R", 7, {7}, Day(2003, 11, 1), 2, kNov15},
        KeyCase{"up from day 1 leaves the array", kNov15, "c7 U", 0, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"then up and left are refused", kNov15, "c7 U U L", 0, {7}, Day(2003, 11, 1), 1, kNov15},
        KeyCase{"down comes back", kNov15, "c7 U D", 7, {7}, Day(2003, 11, 1), 2, kNov15},
        KeyCase{"down from day 30 leaves the array", kNov15, "c36 D", 43, {36}, Day(2003, 11, 30), 1, kNov15},
        KeyCase{"then down and right are refused", kNov15, "c36 D D R", 43, {36}, Day(2003, 11, 30), 1,
                kNov15},
        KeyCase{"up comes back to day 30", kNov15, "c36 D U", 36, {36}, Day(2003, 11, 30), 2, kNov15},
        KeyCase{"right from day 30 to a blank cell", kNov15, "c36 R", 37, {36}, Day(2003, 11, 30), 1, kNov15},
        KeyCase{"a second right is refused", kNov15, "c36 R R", 37, {36}, Day(2003, 11, 30), 1, kNov15},
        KeyCase{"left back to day 30", kNov15, "c36 R R L", 36, {36}, Day(2003, 11, 30), 2, kNov15},
        KeyCase{"up from day 7 to a blank cell", kNov15, "c13 U", 6, {13}, Day(2003, 11, 7), 1, kNov15},
        KeyCase{"right then jumps to day 1", kNov15, "c13 U R", 7, {7}, Day(2003, 11, 1), 2, kNov15},
        KeyCase{"down from day 23", kNov15, "c29 D", 36, {36}, Day(2003, 11, 30), 2, kNov15},
        KeyCase{"right from day 23", kNov15, "c29 R", 30, {30}, Day(2003, 11, 24), 2, kNov15},
        KeyCase{"down from day 24 to a blank cell", kNov15, "c30 D", 37, {30}, Day(2003, 11, 24), 1, kNov15},
        KeyCase{"page down at start-up: the commit fails on cell 0", kNov15, "PD", 0, {16}, Day(2003, 12, 15),
                0, Day(2003, 12, 17)},
        KeyCase{"page down after a click: highlight and selection part", kNov15, "c26 PD", 26, {16},
                Day(2003, 12, 25), 2, Day(2003, 12, 17)},
        KeyCase{"a key without an action re-commits", kNov15, "c26 N k65", 26, {16}, Day(2003, 12, 25), 2,
                Day(2003, 12, 15)},
        KeyCase{"a key without an action on cell 0 does nothing", kNov15, "k36 k13", 0, {21}, kNov15, 0,
                kNov15},
        KeyCase{"page up then page down", kNov15, "c21 PU PD", 21, {21}, kNov15, 3, kNov15}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(
    OtherMonths, KeyboardTest,
    ::testing::Values(
        KeyCase{"left from day 1 in cell 1", Day(2004, 2, 15), "c1 L", 0, {1}, Day(2004, 2, 1), 1,
                Day(2004, 2, 15)},
        KeyCase{"page down from 31 January passes February", Day(2003, 1, 31), "PD", 0, {37}, Day(2003, 3, 31),
                0, Day(2003, 3, 4)},
        KeyCase{"page up from 1 May passes April", Day(2003, 5, 1), "PU", 0, {7}, Day(2003, 3, 1), 0,
                Day(2003, 3, 30)},
        KeyCase{"page down at 30 November 9999 changes nothing", Day(9999, 11, 30), "c5 PD", 5, {5},
                Day(9999, 11, 4), 1, Day(9999, 11, 30)},
        KeyCase{"page up at 1 February 100 changes nothing", Day(100, 2, 1), "c5 PU", 5, {5}, Day(100, 2, 4),
                1, Day(100, 2, 1)}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(ControlTest, ModifiersMakeNoDifferenceAndTheKeyCodeIsKept) {
  for (std::int16_t shift : {0, 1, 2, 4, 7}) {
    control_.reset();
    Start(2003, 11, 15);
    std::int16_t code = kDown, modifiers = shift;
    ASSERT_EQ(ctl().Picture1_KeyDown(code, modifiers), S_OK);
    EXPECT_EQ(code, kDown) << "shift " << shift;
    EXPECT_EQ(s().m_SelCell, 7) << "shift " << shift;
    EXPECT_EQ(HighlightedCells(), std::vector<int>{7}) << "shift " << shift;
  }
}

TEST_F(ControlTest, PageKeysGiveTheGridTheFocus) {
  Start(2003, 11, 15);
  ASSERT_EQ(face().ClickNext(), S_OK);
  ASSERT_EQ(runtime_.focus(), "cmdNext");
  Key(kPageDown);
  EXPECT_EQ(runtime_.focus(), "Picture1");
  EXPECT_EQ(YearText(), "January, 2004");
}

}  // namespace
}  // namespace jv::testing
