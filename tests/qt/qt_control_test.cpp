// ctrJornavista in a real window, through the widget a Qt program embeds: what the
// user sees after clicks and keys, and the size the control keeps.
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "control/ctr_jornavista.h"
#include "widgets/qt/jornavista_widget.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"

namespace jv::testing {
namespace {

class QtControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_.clock().Set(Day(2003, 11, 9));  // 1 November 2003 is a Saturday: day d in cell d + 6
    widget_ = std::make_unique<qt::JornavistaWidget>(runtime_);
    ASSERT_EQ(widget_->status(), S_OK);
    ShowActive(*widget_);
  }

  qt::QtFace& face() { return static_cast<qt::QtFace&>(widget_->control()->face()); }
  QWidget& W(const char* name) { return *face().widget(name); }
  QString YearShown() { return static_cast<QLineEdit&>(W("txtYear")).text(); }
  void ClickCell(int index) {
    QTest::mouseClick(&W("Picture1"), Qt::LeftButton, {},
                      face().CellRect(static_cast<std::int16_t>(index)).center());
  }
  // The cells whose background paints in the palette's highlight; every other cell
  // must paint in the window colour.
  std::vector<int> HighlightedCells() {
    const QImage picture = Grab(W("Picture1"));
    const QPalette& pal = W("Picture1").palette();
    std::vector<int> highlighted;
    for (std::int16_t i = 1; i <= kGridCells; ++i) {
      const QColor pixel = picture.pixelColor(face().CellRect(i).topLeft() + QPoint(1, 1));
      if (pixel == pal.color(QPalette::Highlight))
        highlighted.push_back(i);
      else
        EXPECT_EQ(pixel, pal.color(QPalette::Base))
            << "cell " << i << " is neither highlight nor window colour";
    }
    return highlighted;
  }

  qt::QtRuntime runtime_{English()};
  std::unique_ptr<qt::JornavistaWidget> widget_;
};

TEST_F(QtControlTest, StartsOnTodaysMonthWithTodayHighlighted) {
  EXPECT_EQ(YearShown(), "November, 2003");
  EXPECT_EQ(HighlightedCells(), std::vector<int>{15});
  EXPECT_EQ(widget_->selectedDate(), "11/9/2003");
}

TEST_F(QtControlTest, ADayClickPaintsTheClickedCellInTheHighlightAndTellsTheContainer) {
  QSignalSpy changed(widget_.get(), &qt::JornavistaWidget::propertyChanged);
  ClickCell(26);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{26});
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toString(), "SDate");
  EXPECT_EQ(widget_->selectedDate(), "11/20/2003");
  EXPECT_EQ(face().FocusedControl(), "Picture1");
}

TEST_F(QtControlTest, TheButtonsPageByCalendarMonths) {
  struct Step {
    const char* button;
    const char* shown;
  };
  for (const Step& s : {Step{"cmdNext", "December, 2003"}, Step{"cmdPrevious", "November, 2003"},
                        Step{"cmdPrevious", "October, 2003"}}) {
    QTest::mouseClick(&W(s.button), Qt::LeftButton);
    EXPECT_EQ(YearShown(), s.shown) << "after " << s.button;
  }
  EXPECT_EQ(HighlightedCells(), std::vector<int>{12})
      << "1 October 2003 is a Wednesday: the 9th is in cell 12";
}

TEST_F(QtControlTest, ArrowAndPageKeysMoveTheSelectionOnlyWhilePicture1HasTheFocus) {
  ClickCell(26);  // day 20; the click gives Picture1 the focus
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{27});
  EXPECT_EQ(widget_->selectedDate(), "11/21/2003");

  QTest::mouseClick(&W("txtYear"), Qt::LeftButton);
  for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown})
    QTest::keyClick(QApplication::focusWidget(), key);
  EXPECT_EQ(HighlightedCells(), std::vector<int>{27}) << "keys on txtYear reach no handler";
  EXPECT_EQ(YearShown(), "November, 2003");

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);  // back to Picture1
  ASSERT_EQ(face().FocusedControl(), "Picture1");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
  EXPECT_EQ(YearShown(), "December, 2003");
}

TEST_F(QtControlTest, TheControlKeepsItsFramesSizeWhateverTheContainerAsks) {
  for (const QSize asked : {QSize(0, 0), QSize(100, 100), QSize(1000, 1000), QSize(231, 1000)}) {
    widget_->resize(asked);
    EXPECT_EQ(widget_->size(), QSize(231, 249)) << "widget asked " << asked.width() << "x" << asked.height();
    face().surface()->resize(asked);
    EXPECT_EQ(face().surface()->size(), QSize(231, 249))
        << "surface asked " << asked.width() << "x" << asked.height();
    EXPECT_EQ(std::pair(face().width(), face().height()), std::pair(3465, 3735));
  }
}

TEST_F(QtControlTest, ALayoutGivesTheControlItsOwnSize) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* embedded = new qt::JornavistaWidget(runtime_);
  layout->addWidget(embedded);
  form.resize(600, 600);
  ShowActive(form);
  EXPECT_EQ(embedded->size(), QSize(231, 249));
  // The form deletes the control with itself; the control's face goes first.
}

TEST_F(QtControlTest, KeysGoToWhicheverInstanceHasTheFocus) {
  QWidget form;
  auto* first = new qt::JornavistaWidget(runtime_, &form);
  auto* second = new qt::JornavistaWidget(runtime_, &form);
  second->move(240, 0);
  form.resize(480, 250);
  ShowActive(form);
  auto& second_face = static_cast<qt::QtFace&>(second->control()->face());
  QTest::mouseClick(second_face.widget("Picture1"), Qt::LeftButton, {}, second_face.CellRect(26).center());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(second->selectedDate(), "11/21/2003");
  EXPECT_EQ(first->selectedDate(), "11/9/2003");
}

}  // namespace
}  // namespace jv::testing
