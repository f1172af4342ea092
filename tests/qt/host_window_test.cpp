// The host's scripts in the window: the same script prints the same states on the
// Qt form, through real clicks and key events, as on the headless runtime.
#include <QLabel>
#include <sstream>

#include "apps/jornavista-host/qt_driver.h"
#include "apps/jornavista-host/script.h"
#include "tests/qt/qt_test_support.h"

namespace jv::testing {
namespace {

struct ScriptRun {
  int status;
  std::string out, err;
};

std::shared_ptr<host::FormLibrary> Library() {
  std::shared_ptr<host::FormLibrary> library;
  const auto error = host::FormLibrary::Open(JV_OCX_PATH, &library);
  EXPECT_EQ(error, std::nullopt) << error.value_or("");
  return library;
}

ScriptRun RunOn(host::FormDriver& form, const std::string& script) {
  std::istringstream in(script);
  std::ostringstream out, err;
  const int status = host::RunScript(in, form, out, err);
  return {status, out.str(), err.str()};
}

// The one difference, the focus before any input, is checked below: a shown form
// gives it to the first control in tab order, the headless runtime to nobody.
TEST(HostWindowTest, ScriptsPrintTheSameStatesInTheWindowAsHeadless) {
  const std::string scripts[] = {
      "today 2003-11-09\ncreate\nclick 20\nstate\nget SDate\n",
      "today 2003-11-09\ncreate\nclick 26\nkey Down\nkey Right 1\nkey PageDown\nstate\nkey A\nstate\n",
      "today 2004-01-31\ncreate\nnext\nstate\nnext\nstate\nprevious\nstate\n",
      "today 2003-11-09\ncreate\nclick 3\nkey Left\nkey Left\nkey Up\nstate\nclick 36\nkey Down\nkey "
      "Down\nstate\n",
      "today 2003-11-09\ncreate\nput SDate \"any text\"\nget SDate\nclick 2\nstate\n",
  };
  for (const std::string& script : scripts) {
    auto headless = host::MakeHeadlessDriver(Library());
    host::QtDriver window(Library());
    const ScriptRun expected = RunOn(*headless, script), got = RunOn(window, script);
    EXPECT_EQ(got.status, expected.status) << script;
    EXPECT_EQ(got.out, expected.out) << script;
    EXPECT_EQ(got.err, expected.err) << script;
  }
}

TEST(HostWindowTest, FaultInjectionIsRefusedWithoutTouchingTheControl) {
  host::QtDriver window(Library());
  const ScriptRun run = RunOn(window, "today 2003-11-09\ncreate\nfail l.Item\nclick 20\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "3: fault injection needs the headless runtime\n");
  EXPECT_EQ(window.Cell(20).back, kSysWindow) << "the script stopped before the click";
  EXPECT_EQ(window.Focus(), "Picture1") << "the form gives the focus to the first control in tab order";
}

TEST(HostWindowTest, KeysGoToTheFocusedWidgetAsAUserPressesThem) {
  host::QtDriver window(Library());
  ASSERT_EQ(RunOn(window, "today 2003-11-09\ncreate\nclick 20\nnext\n").status, 0);
  ASSERT_EQ(window.Focus(), "cmdNext");
  const Text before = window.DateText();
  ASSERT_EQ(window.PressKey(34, 0), S_OK);  // Page Down on the button: no KeyDown
  EXPECT_EQ(window.YearText(), u"December, 2003");
  EXPECT_EQ(window.DateText(), before);
  ASSERT_EQ(window.PressKey(9, 1), S_OK);  // Shift+Tab to txtYear, and again to Picture1
  ASSERT_EQ(window.PressKey(9, 1), S_OK);
  EXPECT_EQ(window.Focus(), "Picture1");
  ASSERT_EQ(window.PressKey(34, 0), S_OK);
  EXPECT_EQ(window.YearText(), u"January, 2004");
  EXPECT_EQ(window.PressKey(7, 0), E_INVALIDARG) << "no key produces code 7";
}

// The window's instances come from the library like the headless form's: the
// form reaches them by their interfaces only and gives every reference back.
TEST(HostWindowTest, TheWindowsInstancesComeFromTheLibraryAndLetItGo) {
  const auto library = Library();
  ASSERT_TRUE(library);
  host::QtDriver window(library);
  std::vector<std::string> told;
  window.SetChangeListener([&told](const std::string& name) { told.push_back(name); });
  const ScriptRun run = RunOn(window, "today 2003-11-09\nnew\nclick 20\nput BackColor 5\nrefresh\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(told, (std::vector<std::string>{"SDate", "BackColor"}));
  std::int32_t width = 0, height = 0;
  ASSERT_EQ(window.ControlSize(&width, &height), S_OK);
  EXPECT_EQ(width, 231 * 15) << "the control's own size, 231 x 249 logical pixels, in twips";
  EXPECT_EQ(height, 249 * 15);
  EXPECT_EQ(library->CanUnloadNow(), S_FALSE);
  window.ClearControls();
  EXPECT_EQ(window.instance(), nullptr);
  EXPECT_EQ(library->CanUnloadNow(), S_OK);
}

// The show command's line under the calendar: below every instance, inside the form.
TEST(HostWindowTest, TheFooterSitsBelowTheInstancesInsideTheForm) {
  host::QtDriver window(Library());
  auto* footer = new QLabel(QStringLiteral("SDate: 11/14/2003"));
  window.SetFooter(footer);
  ASSERT_EQ(RunOn(window, "today 2003-11-09\ncreate\ncreate\n").status, 0);
  EXPECT_EQ(footer->parentWidget(), &window.form());
  EXPECT_GE(footer->y(), 8 + 249) << "under the calendar's 249 logical pixels";
  EXPECT_LE(footer->geometry().bottom(), window.form().height());
  EXPECT_GE(window.form().width(), footer->width());
}

}  // namespace
}  // namespace jv::testing
