// The day grid's Active Accessibility object on the headless runtime, where it
// runs under the sanitisers: the table of dated cells, their states, the default
// action as the day click, navigation and hit-testing, and an object kept after
// the control ended answering the disconnected status.
#include <functional>
#include <memory>
#include <string>

#include "platform/face/accessible_grid.h"
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

using namespace platform::msaa;

// The headless face as the grid's host: one pixel a twip, the grid at the screen's origin.
class HeadlessGridHost final : public platform::GridAccessHost {
 public:
  HeadlessGridHost(headless::HeadlessRuntime& runtime, headless::HeadlessFace& face)
      : runtime_(runtime), face_(face), grid_(platform::AccessibleGrid::Create(*face.model(), *this)) {}
  ~HeadlessGridHost() {
    grid_->Disconnect();
    grid_->Release();
  }
  platform::AccessibleGrid* grid() const { return grid_; }

  bool GridHasFocus() override { return runtime_.focus() == "Picture1"; }
  platform::ScreenRect ToScreen(const platform::TwipsRect& r) override { return {r.left, r.top, r.width, r.height}; }
  platform::ScreenRect GridOnScreen() override { return {0, 0, 5000, 5000}; }
  bool FromScreen(long x, long y, std::int32_t* tx, std::int32_t* ty) override {
    if (x < 0 || y < 0 || x >= 5000 || y >= 5000) return false;
    *tx = static_cast<std::int32_t>(x);
    *ty = static_cast<std::int32_t>(y);
    return true;
  }
  HRESULT ClickCell(std::int16_t index) override { return face_.ClickCell(index); }
  HRESULT FocusGrid() override { return face_.Picture1().SetFocus(); }
  HRESULT GetParent(IDispatch** out) override {
    *out = nullptr;
    return S_FALSE;
  }
  HRESULT FormatLongDate(DATE date, Text* out) override { return English().FormatLongDate(date, out); }

 private:
  headless::HeadlessRuntime& runtime_;
  headless::HeadlessFace& face_;
  platform::AccessibleGrid* grid_;
};

VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = static_cast<std::int32_t>(id);
  return v;
}

class AccessibleGridTest : public ControlTest {
 protected:
  void SetUp() override {
    Start(2003, 11, 9);  // day d in cell d + 6, child d + 6
    host_ = std::make_unique<HeadlessGridHost>(runtime_, face());
  }
  IAccessible& acc() { return *host_->grid(); }
  std::string Name(long child) {
    BSTR name = nullptr;
    const HRESULT hr = acc().get_accName(Child(child), &name);
    Bstr owned = Bstr::Attach(name);
    if (hr == S_OK) return ToUtf8Lossy(owned.view());
    std::string status = std::to_string(hr);
    status.insert(status.begin(), '<');
    status.push_back('>');
    return status;
  }
  long State(long child) {
    VARIANT v;
    EXPECT_EQ(acc().get_accState(Child(child), &v), S_OK);
    return v.lVal;
  }
  std::string LongDate(int y, int m, int d) {
    Text t;
    EXPECT_EQ(English().FormatLongDate(Day(y, m, d), &t), S_OK);
    return ToUtf8Lossy(t);
  }
  std::unique_ptr<HeadlessGridHost> host_;
};

TEST_F(AccessibleGridTest, IsATableOfCellsNamedByTheirDates) {
  long count = 0;
  ASSERT_EQ(acc().get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, kGridCells);
  VARIANT role;
  ASSERT_EQ(acc().get_accRole(Child(kChildSelf), &role), S_OK);
  EXPECT_EQ(role.lVal, kRoleTable);
  EXPECT_EQ(Name(kChildSelf), "November, 2003");
  struct Case {
    long child;
    std::string name;
    long state;
  };
  const Case cases[] = {
      {1, "<1>", kStateInvisible},  // blank before day 1: S_FALSE, no name
      {7, LongDate(2003, 11, 1), kStateFocusable | kStateSelectable},
      {15, LongDate(2003, 11, 9), kStateFocusable | kStateSelectable | kStateSelected},
      {36, LongDate(2003, 11, 30), kStateFocusable | kStateSelectable},
      {37, "<1>", kStateInvisible},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Name(c.child), c.name) << c.child;
    EXPECT_EQ(State(c.child), c.state) << c.child;
    ASSERT_EQ(acc().get_accRole(Child(c.child), &role), S_OK);
    EXPECT_EQ(role.lVal, kRoleCell);
  }
  for (long bad : {-1L, 43L}) {
    BSTR name = nullptr;
    EXPECT_EQ(acc().get_accName(Child(bad), &name), E_INVALIDARG) << bad;
  }
}

TEST_F(AccessibleGridTest, TheDefaultActionIsTheDayClickWithAllItsEffects) {
  BSTR action = nullptr;
  ASSERT_EQ(acc().get_accDefaultAction(Child(20), &action), S_OK);
  EXPECT_EQ(ToUtf8Lossy(Bstr::Attach(action).view()), "Click");
  EXPECT_EQ(acc().get_accDefaultAction(Child(1), &action), S_FALSE);
  EXPECT_EQ(acc().accDoDefaultAction(Child(1)), DISP_E_MEMBERNOTFOUND);

  ASSERT_EQ(acc().accDoDefaultAction(Child(20)), S_OK);  // the 14th
  EXPECT_EQ(DateText(), "11/14/2003");
  EXPECT_EQ(container_.TakeChanged(), std::vector<std::string>{"SDate"});
  EXPECT_EQ(State(20), kStateFocusable | kStateSelectable | kStateSelected | kStateFocused);
  EXPECT_EQ(State(15), kStateFocusable | kStateSelectable);
  VARIANT v;
  ASSERT_EQ(acc().get_accSelection(&v), S_OK);
  EXPECT_EQ(v.lVal, 20);
  ASSERT_EQ(acc().get_accFocus(&v), S_OK);
  EXPECT_EQ(v.lVal, 20);
  // The arrow keys move the focus with the control's cursor.
  Key(kRight);
  EXPECT_EQ(State(21) & kStateFocused, kStateFocused);
  EXPECT_EQ(State(20) & kStateFocused, 0);
}

TEST_F(AccessibleGridTest, NavigatesTheWeekRowsAndHitTestsTheCells) {
  struct Case {
    long from, direction;
    HRESULT hr;
    long to;
  };
  const Case cases[] = {
      {20, kNavUp, S_OK, 13},       {20, kNavDown, S_OK, 27},    {20, kNavLeft, S_OK, 19},
      {20, kNavRight, S_OK, 21},    {21, kNavRight, S_FALSE, 0}, {22, kNavLeft, S_FALSE, 0},
      {3, kNavUp, S_FALSE, 0},      {40, kNavDown, S_FALSE, 0},  {42, kNavNext, S_FALSE, 0},
      {kChildSelf, kNavFirstChild, S_OK, 1}, {kChildSelf, kNavLastChild, S_OK, 42},
  };
  for (const Case& c : cases) {
    VARIANT end;
    EXPECT_EQ(acc().accNavigate(c.direction, Child(c.from), &end), c.hr) << c.from << " " << c.direction;
    if (c.hr == S_OK) {
      EXPECT_EQ(end.lVal, c.to) << c.from << " " << c.direction;
    }
  }
  for (long child : {1L, 20L, 42L}) {
    long x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(acc().accLocation(&x, &y, &w, &h, Child(child)), S_OK);
    VARIANT hit;
    ASSERT_EQ(acc().accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.lVal, child);
  }
  VARIANT hit;
  EXPECT_EQ(acc().accHitTest(-5, -5, &hit), S_FALSE);
  EXPECT_EQ(hit.vt, VT_EMPTY);
}

// Every question about a child refuses a null out-parameter first, then clears
// the out-parameter before refusing a bad child id: a caller never reads a stale
// answer. The object's IDispatch side offers no type information.
TEST_F(AccessibleGridTest, QuestionsRefuseNullAndBadIdsWithTheOutParameterCleared) {
  const VARIANT bad = Child(43), self = Child(kChildSelf);
  struct TextCase {
    const char* what;
    HRESULT (JV_STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*);
  };
  const TextCase text_cases[] = {
      {"name", &IAccessible::get_accName},
      {"value", &IAccessible::get_accValue},
      {"description", &IAccessible::get_accDescription},
      {"help", &IAccessible::get_accHelp},
      {"shortcut", &IAccessible::get_accKeyboardShortcut},
      {"default action", &IAccessible::get_accDefaultAction},
  };
  for (const TextCase& c : text_cases) {
    EXPECT_EQ((acc().*c.ask)(self, nullptr), E_POINTER) << c.what;
    BSTR stale = Bstr(u"stale").Detach();
    BSTR out = stale;
    EXPECT_EQ((acc().*c.ask)(bad, &out), E_INVALIDARG) << c.what;
    EXPECT_EQ(out, nullptr) << c.what;
    const Bstr owned = Bstr::Attach(stale);
  }

  struct VariantCase {
    const char* what;
    std::function<HRESULT(VARIANT*)> ask;
  };
  const VariantCase variant_cases[] = {
      {"role", [&](VARIANT* out) { return acc().get_accRole(bad, out); }},
      {"state", [&](VARIANT* out) { return acc().get_accState(bad, out); }},
      {"navigate", [&](VARIANT* out) { return acc().accNavigate(kNavNext, bad, out); }},
  };
  for (const VariantCase& c : variant_cases) {
    EXPECT_EQ(c.ask(nullptr), E_POINTER) << c.what;
    VARIANT out = Child(7);
    EXPECT_EQ(c.ask(&out), E_INVALIDARG) << c.what;
    EXPECT_EQ(out.vt, VT_EMPTY) << c.what;
  }

  IDispatch* stale_child = reinterpret_cast<IDispatch*>(&acc());
  EXPECT_EQ(acc().get_accChild(self, &stale_child), E_INVALIDARG);
  EXPECT_EQ(stale_child, nullptr);
  EXPECT_EQ(acc().get_accChild(Child(20), nullptr), E_POINTER);

  UINT count = 7;
  EXPECT_EQ(acc().GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(acc().GetTypeInfoCount(nullptr), E_POINTER);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(&acc());
  EXPECT_EQ(acc().GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, nullptr);
}

TEST_F(AccessibleGridTest, AnObjectKeptAfterTheControlEndedIsDisconnected) {
  IAccessible* kept = host_->grid();
  kept->AddRef();
  host_.reset();
  control_.reset();
  long count = 0;
  BSTR text = nullptr;
  VARIANT v;
  long x, y, w, h;
  IDispatch* parent = nullptr;
  const HRESULT answers[] = {
      kept->get_accChildCount(&count),        kept->get_accName(Child(20), &text),
      kept->get_accState(Child(20), &v),      kept->get_accRole(Child(kChildSelf), &v),
      kept->accDoDefaultAction(Child(20)),    kept->accSelect(kSelectTakeSelection, Child(20)),
      kept->accLocation(&x, &y, &w, &h, Child(20)), kept->accHitTest(1, 1, &v),
      kept->accNavigate(kNavUp, Child(20), &v), kept->get_accFocus(&v),
      kept->get_accSelection(&v),             kept->get_accParent(&parent),
      kept->get_accDefaultAction(Child(20), &text),
  };
  for (std::size_t i = 0; i < std::size(answers); ++i) EXPECT_EQ(answers[i], kDisconnected) << i;
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(kept->Release(), 0u);
}

}  // namespace
}  // namespace jv::testing
