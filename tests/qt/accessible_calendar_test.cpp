// The calendar as Qt's accessibility presents it in-process: the day grid as a
// table of dated cells, the cell's action as the day click, the focus at the
// control's cursor, the month in the table's name. What is announced to an
// assistive technology needs a live accessibility bridge, which the offscreen
// platform lacks: scripts/accessibility-test.sh hears it through AT-SPI.
#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

#include "control/ctr_jornavista.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::testing {
namespace {

class AccessibleCalendarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_.clock().Set(Day(2003, 11, 9));  // day d in cell d + 6
    widget_ = std::make_unique<qt::JornavistaWidget>(runtime_);
    ASSERT_EQ(widget_->status(), S_OK);
    ShowActive(*widget_);
  }

  qt::QtFace& face() { return static_cast<qt::QtFace&>(widget_->control()->face()); }
  QAccessibleInterface* Of(const char* control) { return QAccessible::queryAccessibleInterface(face().widget(control)); }
  QAccessibleInterface* Grid() { return Of("Picture1"); }
  QAccessibleTableInterface* Table() { return Grid()->tableInterface(); }
  // The cell of index i: row (i - 1) / 7, column (i - 1) % 7.
  QAccessibleInterface* Cell(int index) { return Table()->cellAt((index - 1) / 7, (index - 1) % 7); }
  void Act(int index) { Cell(index)->actionInterface()->doAction(QAccessibleActionInterface::pressAction()); }
  qt::QtRuntime runtime_{English()};
  std::unique_ptr<qt::JornavistaWidget> widget_;
};

TEST_F(AccessibleCalendarTest, TheDayGridIsATableOfDatedCellsUnderTheWeekdays) {
  ASSERT_NE(Table(), nullptr);
  EXPECT_EQ(Grid()->role(), QAccessible::Table);
  EXPECT_EQ(Grid()->text(QAccessible::Name), "November, 2003");
  EXPECT_EQ(std::pair(Table()->rowCount(), Table()->columnCount()), std::pair(6, 7));
  // Child i is the cell at row i / 7, column i % 7, as assistive technologies
  // compute it; the headers are reached through the cells.
  EXPECT_EQ(Grid()->childCount(), kGridCells) << "the cells alone, in reading order";
  const char* const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  for (int c = 0; c < 7; ++c) {
    EXPECT_EQ(Table()->columnDescription(c), weekdays[c]);
    QAccessibleInterface* header = Cell(c + 1)->tableCellInterface()->columnHeaderCells().value(0);
    ASSERT_NE(header, nullptr) << c;
    EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(header->text(QAccessible::Name), weekdays[c]);
    EXPECT_EQ(Grid()->indexOfChild(header), -1) << "a header is no child of the table";
    EXPECT_EQ(Cell(c + 36)->tableCellInterface()->columnHeaderCells().value(0), header) << "the last row's";
  }
  struct Case {
    int index;
    const char* name;
    bool selected;
    int actions;
  };
  const Case cases[] = {
      {1, "", false, 0},                      // before day 1
      {7, "November 1, 2003", false, 1},      // day 1, a Saturday
      {15, "November 9, 2003", true, 1},      // today, highlighted at start-up
      {20, "November 14, 2003", false, 1},    //
      {36, "November 30, 2003", false, 1},    // the last day
      {37, "", false, 0},                     // after it
      {42, "", false, 0},                     // the bottom-right cell
  };
  for (const Case& c : cases) {
    QAccessibleInterface* cell = Cell(c.index);
    ASSERT_NE(cell, nullptr) << c.index;
    EXPECT_EQ(cell->role(), QAccessible::Cell) << c.index;
    EXPECT_EQ(cell->text(QAccessible::Name), c.name) << c.index;
    EXPECT_EQ(cell->state().selected, c.selected) << c.index;
    EXPECT_EQ(cell->actionInterface()->actionNames().size(), c.actions) << c.index;
    EXPECT_EQ(Grid()->indexOfChild(cell), c.index - 1) << c.index;
    EXPECT_EQ(Grid()->child(c.index - 1), cell) << c.index;
    const QAccessibleTableCellInterface* place = cell->tableCellInterface();
    EXPECT_EQ(std::pair(place->rowIndex(), place->columnIndex()), std::pair((c.index - 1) / 7, (c.index - 1) % 7))
        << c.index;
    EXPECT_EQ(Grid()->childAt(cell->rect().center().x(), cell->rect().center().y()), cell) << c.index;
  }
  EXPECT_EQ(Table()->selectedCells(), QList<QAccessibleInterface*>{Cell(15)});
}

// Qt's AT-SPI bridge asks for the cell at an index's row and column and uses the
// answer unchecked: outside the grid the table answers with a cell that is none.
TEST_F(AccessibleCalendarTest, OutsideTheGridThereIsNoCellButNeverNull) {
  const std::pair<int, int> outside[] = {{6, 0}, {-1, 0}, {0, 7}, {0, -1}, {6, 6}, {1000, 1000}};
  for (const auto& [row, column] : outside) {
    QAccessibleInterface* none = Table()->cellAt(row, column);
    ASSERT_NE(none, nullptr) << row << "," << column;
    EXPECT_FALSE(none->isValid());
    EXPECT_EQ(Grid()->indexOfChild(none), -1);
    ASSERT_NE(none->tableCellInterface(), nullptr);
    EXPECT_EQ(none->tableCellInterface()->rowIndex(), -1);
    EXPECT_EQ(none->tableCellInterface()->columnExtent(), 0);
    EXPECT_TRUE(none->tableCellInterface()->columnHeaderCells().isEmpty());
  }
  for (int i : {-1, kGridCells, kGridCells + 6}) EXPECT_EQ(Grid()->child(i), nullptr) << i;
}

TEST_F(AccessibleCalendarTest, ThePagingButtonsAndTheControlSayWhatTheyAre) {
  EXPECT_EQ(Of("cmdPrevious")->text(QAccessible::Name), "Previous month");
  EXPECT_EQ(Of("cmdNext")->text(QAccessible::Name), "Next month");
  EXPECT_TRUE(Of("txtYear")->state().readOnly);
  QAccessibleInterface* control = QAccessible::queryAccessibleInterface(face().surface());
  EXPECT_EQ(control->role(), QAccessible::Grouping);
  EXPECT_EQ(control->text(QAccessible::Name), "Jornavista");
  EXPECT_EQ(control->text(QAccessible::Description), "November, 2003");
}

TEST_F(AccessibleCalendarTest, TheCellsActionIsTheDayClickWithAllItsEffects) {
  QSignalSpy changed(widget_.get(), &qt::JornavistaWidget::propertyChanged);
  Act(20);
  EXPECT_EQ(widget_->selectedDate(), "11/14/2003");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toString(), "SDate");
  EXPECT_EQ(Table()->selectedCells(), QList<QAccessibleInterface*>{Cell(20)});
  EXPECT_TRUE(Cell(20)->state().focused) << "the day click gives Picture1 the focus, at the clicked cell";
  EXPECT_EQ(Grid()->focusChild(), Cell(20));
  // A blank cell has no action to perform.
  Cell(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(widget_->selectedDate(), "11/14/2003");
}

TEST_F(AccessibleCalendarTest, TheFocusFollowsTheControlsCursor) {
  Act(20);
  struct Step {
    Qt::Key key;
    const char* focused;  // the cell named at the cursor, "" for none
  };
  // From day 14 (cell 20): down to 21, right to 22, then up from day 1's row into
  // the blank cells and off the grid, where no cell has the focus.
  const Step steps[] = {
      {Qt::Key_Down, "November 21, 2003"}, {Qt::Key_Right, "November 22, 2003"},
      {Qt::Key_Up, "November 15, 2003"},   {Qt::Key_Up, "November 8, 2003"},
      {Qt::Key_Up, "November 1, 2003"},    {Qt::Key_Left, ""},
      {Qt::Key_Up, ""},
  };
  for (const Step& s : steps) {
    QTest::keyClick(face().widget("Picture1"), s.key);
    QAccessibleInterface* focused = Grid()->focusChild();
    EXPECT_EQ(focused ? focused->text(QAccessible::Name) : QString(), s.focused) << s.focused;
  }
}

TEST_F(AccessibleCalendarTest, ANewMonthRenamesTheTableAndItsCells) {
  QTest::mouseClick(face().widget("cmdNext"), Qt::LeftButton);
  EXPECT_EQ(Grid()->text(QAccessible::Name), "December, 2003");
  EXPECT_EQ(Cell(2)->text(QAccessible::Name), "December 1, 2003");
  EXPECT_EQ(QAccessible::queryAccessibleInterface(face().surface())->text(QAccessible::Description),
            "December, 2003");
}

}  // namespace
}  // namespace jv::testing
