// The six appearance properties and Refresh: value holders that notify on every
// put and touch nothing else.
#include <functional>

#include "platform/automation/std_font.h"
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

struct AppearanceCase {
  const char* name;
  std::function<HRESULT(control::ctrJornavista&)> put;
  std::function<std::int64_t(control::ctrJornavista&)> get;
  std::int64_t expected;
};

std::int64_t GetColor(HRESULT (control::ctrJornavista::*get)(OLE_COLOR*), control::ctrJornavista& c) {
  OLE_COLOR v = 1;
  EXPECT_EQ((c.*get)(&v), S_OK);
  return v;
}
std::int64_t GetStyle(HRESULT (control::ctrJornavista::*get)(std::int16_t*), control::ctrJornavista& c) {
  std::int16_t v = 1;
  EXPECT_EQ((c.*get)(&v), S_OK);
  return v;
}
std::int64_t GetEnabled(control::ctrJornavista& c) {
  VARIANT_BOOL v = 1;
  EXPECT_EQ(c.get_Enabled(&v), S_OK);
  return v;
}

const AppearanceCase kCases[] = {
    {"BackColor", [](auto& c) { return c.put_BackColor(255); },
     [](auto& c) { return GetColor(&control::ctrJornavista::get_BackColor, c); }, 255},
    {"ForeColor", [](auto& c) { return c.put_ForeColor(kSysHighlight); },
     [](auto& c) { return GetColor(&control::ctrJornavista::get_ForeColor, c); }, kSysHighlight},
    {"Enabled", [](auto& c) { return c.put_Enabled(VARIANT_FALSE); }, GetEnabled, VARIANT_FALSE},
    {"BackStyle", [](auto& c) { return c.put_BackStyle(-1); },
     [](auto& c) { return GetStyle(&control::ctrJornavista::get_BackStyle, c); }, -1},
    {"BorderStyle", [](auto& c) { return c.put_BorderStyle(7); },
     [](auto& c) { return GetStyle(&control::ctrJornavista::get_BorderStyle, c); }, 7},
};

class AppearanceTest : public ControlTest, public ::testing::WithParamInterface<AppearanceCase> {};

// Twice the same value: stored, announced both times, and nothing on the face drawn.
TEST_P(AppearanceTest, PutStoresNotifiesEveryTimeAndLeavesTheFaceAlone) {
  const AppearanceCase& c = GetParam();
  Start(2003, 11, 9);
  runtime_.journal().Enable(true);
  ASSERT_EQ(c.put(ctl()), S_OK) << c.name;
  ASSERT_EQ(c.put(ctl()), S_OK) << c.name;
  EXPECT_EQ(c.get(ctl()), c.expected) << c.name;
  EXPECT_EQ(runtime_.journal().Take(), (std::vector<std::string>{std::string("PropertyChanged ") + c.name,
                                                                 std::string("PropertyChanged ") + c.name}))
      << c.name;
  EXPECT_EQ(container_.TakeChanged(), (std::vector<std::string>{c.name, c.name})) << c.name;
}

// The field has taken the value before the notice fails, and keeps it.
TEST_P(AppearanceTest, FailedNoticeIsThePutsResultAndTheValueStays) {
  const AppearanceCase& c = GetParam();
  Start(2003, 11, 9);
  runtime_.faults().Arm(headless::Operation::PropertyChanged, 1, E_ACCESSDENIED);
  EXPECT_EQ(c.put(ctl()), E_ACCESSDENIED) << c.name;
  EXPECT_EQ(c.get(ctl()), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Properties, AppearanceTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ControlTest, FontIsHeldByReferenceAndMayBeNone) {
  Start(2003, 11, 9);
  IFont* font = nullptr;
  ASSERT_EQ(CreateStdFont({}, &font), S_OK);
  const FontRef mine = FontRef::Adopt(font);
  ASSERT_EQ(ctl().putref_Font(mine.get()), S_OK);
  ASSERT_EQ(mine->put_Size(CY{140000}), S_OK);  // the host changes its own reference
  IFont* got = nullptr;
  ASSERT_EQ(ctl().get_Font(&got), S_OK);
  const FontRef held = FontRef::Adopt(got);
  EXPECT_EQ(held.get(), mine.get());
  CY size{};
  ASSERT_EQ(held->get_Size(&size), S_OK);
  EXPECT_EQ(size.int64, 140000);

  ASSERT_EQ(ctl().putref_Font(nullptr), S_OK);
  ASSERT_EQ(ctl().get_Font(&got), S_OK);
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(container_.TakeChanged(), (std::vector<std::string>{"Font", "Font"}));
}

TEST_F(ControlTest, DisabledCalendarStillWorksAndRefreshChangesNothing) {
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().put_Enabled(VARIANT_FALSE), S_OK);
  container_.TakeChanged();
  runtime_.journal().Enable(true);
  ASSERT_EQ(ctl().Refresh(), S_OK);
  EXPECT_TRUE(runtime_.journal().Take().empty());
  Click(20);  // the cell showing 14
  EXPECT_EQ(DateText(), "11/14/2003");
  EXPECT_EQ(container_.TakeChanged(), (std::vector<std::string>{"SDate"}));
}

}  // namespace
}  // namespace jv::testing
