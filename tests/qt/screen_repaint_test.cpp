// What the screen shows after each kind of input is what the control paints when
// drawn afresh: the repaints after a click or a key cover every pixel that
// changed, and the parts each widget leaves out of a partial repaint (the frame's
// border and caption, a cell's fill on its own background) are ones that
// repaint would not have changed.
#include <QBackingStore>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "control/ctr_jornavista.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::testing {
namespace {

class ScreenRepaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_.clock().Set(Day(2003, 8, 9));  // August 2003 fills six rows; September needs five
    widget_ = std::make_unique<qt::JornavistaWidget>(runtime_);
    ASSERT_EQ(widget_->status(), S_OK);
    ShowActive(*widget_);
    Settle();
  }

 public:
  qt::QtFace& face() { return static_cast<qt::QtFace&>(widget_->control()->face()); }
  QWidget& W(const char* name) { return *face().widget(name); }

  // Every posted repaint done.
  static void Settle() {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
  }

  // The pixels in the window's backing store that differ from a fresh render of
  // the whole control; 0 when the screen is right.
  int StalePixels() {
    auto* screen = dynamic_cast<QImage*>(widget_->backingStore()->paintDevice());
    if (screen == nullptr) return -1;
    const QImage fresh = Grab(*widget_).convertToFormat(QImage::Format_RGB32);
    const QImage shown = screen->copy(QRect(QPoint(0, 0), fresh.size())).convertToFormat(QImage::Format_RGB32);
    int stale = 0;
    for (int y = 0; y < fresh.height(); ++y)
      for (int x = 0; x < fresh.width(); ++x) stale += fresh.pixel(x, y) != shown.pixel(x, y);
    return stale;
  }

  qt::QtRuntime runtime_{English()};
  std::unique_ptr<qt::JornavistaWidget> widget_;
};

TEST_F(ScreenRepaintTest, EveryInputLeavesTheScreenAsAFreshPaintWouldDrawIt) {
  struct Step {
    const char* what;
    std::function<void(ScreenRepaintTest&)> act;
  };
  const auto click_cell = [](std::int16_t index) {
    return [index](ScreenRepaintTest& t) {
      QTest::mouseClick(&t.W("Picture1"), Qt::LeftButton, {}, t.face().CellRect(index).center());
    };
  };
  const auto key = [](Qt::Key k) {
    return [k](ScreenRepaintTest& t) { QTest::keyClick(&t.W("Picture1"), k); };
  };
  const auto button = [](const char* name) {
    return [name](ScreenRepaintTest& t) { QTest::mouseClick(&t.W(name), Qt::LeftButton); };
  };
  const Step steps[] = {
      {"the first paint", [](ScreenRepaintTest&) {}},
      {"a month of fewer rows: the last row blanked", button("cmdNext")},
      {"back to six rows", button("cmdPrevious")},
      {"a day clicked far from the highlight", click_cell(40)},
      {"a day clicked next to it", click_cell(39)},
      {"an arrow key", key(Qt::Key_Left)},
      {"Page Down to the next month", key(Qt::Key_PageDown)},
      {"Page Up back", key(Qt::Key_PageUp)},
      {"paging twice in a row", [](ScreenRepaintTest& t) {
         QTest::mouseClick(&t.W("cmdNext"), Qt::LeftButton);
         QTest::mouseClick(&t.W("cmdNext"), Qt::LeftButton);
       }},
      {"the host sets the date outside any input",
       [](ScreenRepaintTest& t) { ASSERT_TRUE(t.widget_->setSelectedDate("2/14/2004")); }},
      {"the host hides part of the window and shows it again", [](ScreenRepaintTest& t) {
         t.W("cmdNext").hide();
         Settle();
         t.W("cmdNext").show();
       }},
  };
  for (const Step& s : steps) {
    s.act(*this);
    Settle();
    EXPECT_EQ(StalePixels(), 0) << s.what;
  }
}

// The paging buttons share the style's cached drawings between instances: each
// must still paint exactly as a push button of its own palette does, whatever
// another instance painted before it.
TEST_F(ScreenRepaintTest, PagingButtonsPaintAsPushButtonsOfTheirOwnPalette) {
  qt::JornavistaWidget other(runtime_);
  ASSERT_EQ(other.status(), S_OK);
  QPalette red = other.palette();
  red.setColor(QPalette::Button, QColor(200, 40, 40));
  red.setColor(QPalette::ButtonText, QColor(250, 250, 120));
  other.setPalette(red);
  ShowActive(other);
  Settle();
  QWidget& red_next = *static_cast<qt::QtFace&>(other.control()->face()).widget("cmdNext");

  // A stock push button beside it, with the same text and place, drawn the same way.
  const auto reference = [](QWidget& button) {
    QPushButton stock(static_cast<QPushButton&>(button).text(), button.parentWidget());
    stock.setGeometry(button.geometry());
    stock.show();
    return Grab(stock);
  };
  struct Case {
    const char* what;
    QWidget* button;
  };
  const Case cases[] = {
      {"the default palette's", &W("cmdNext")},
      {"the red palette's, after the default one was drawn", &red_next},
      {"the default palette's again, after the red one", &W("cmdNext")},
      {"the other paging button", &W("cmdPrevious")},
  };
  for (const Case& c : cases) EXPECT_EQ(Grab(*c.button), reference(*c.button)) << c.what;
  EXPECT_NE(Grab(W("cmdNext")), Grab(red_next)) << "the two palettes paint differently";
}

}  // namespace
}  // namespace jv::testing
