#include "platform/qt/accessible_day_grid.h"

#include <QAccessibleWidget>
#include <QList>
#include <map>

#include "platform/face/accessible_names.h"
#include "platform/qt/design_values.h"
#include "platform/qt/day_grid_reading.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/surface_widget.h"

namespace jv::qt {

namespace {

class AccessibleDayGrid;

// Every child of the table is the table's own: made on first use, registered with
// Qt, and deleted with the table.
class GridChild : public QAccessibleInterface {
 public:
  GridChild(AccessibleDayGrid& table, int row, int column) : table_(table), row_(row), column_(column) {}

  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  void setText(QAccessible::Text, const QString&) override {}

 protected:
  const DayGridReading& reading() const;
  QWidget* grid() const;

  AccessibleDayGrid& table_;
  int row_, column_;
};

// A column header: the weekday's full name over the painted initial.
class WeekdayHeader final : public GridChild {
 public:
  using GridChild::GridChild;

  bool isValid() const override { return grid() != nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? reading().WeekdayName(column_) : QString();
  }
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::ColumnHeader; }
  QAccessible::State state() const override { return {}; }
};

class DayCell final : public GridChild, public QAccessibleTableCellInterface, public QAccessibleActionInterface {
 public:
  using GridChild::GridChild;

  std::int16_t index() const { return static_cast<std::int16_t>(reading().lbound() + row_ * DayGridReading::kColumns + column_); }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableCellInterface) return static_cast<QAccessibleTableCellInterface*>(this);
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  bool isValid() const override { return grid() != nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? reading().CellName(index()) : QString();
  }
  QRect rect() const override {
    const QRect local = reading().CellRect(index());
    return QRect(grid()->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override { return QAccessible::Cell; }
  QAccessible::State state() const override {
    QAccessible::State s;
    const bool numbered = reading().IsNumbered(index());
    s.selectable = numbered;
    s.selected = reading().IsHighlighted(index());
    s.focusable = true;
    s.focused = grid()->hasFocus() && reading().CursorCell() == index();
    s.invisible = !grid()->isVisible();
    return s;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override { return reading().IsHighlighted(index()); }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

  // QAccessibleActionInterface: a numbered cell's one action is the day click.
  QStringList actionNames() const override {
    return reading().IsNumbered(index()) ? QStringList{pressAction()} : QStringList{};
  }
  void doAction(const QString& name) override {
    if (name == pressAction() && reading().IsNumbered(index()) && reading().click) reading().click(index());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// What the table answers for a row and column outside it. Qt's AT-SPI bridge
// dereferences the table's cell unchecked in some queries (the extents at an index,
// at a row and column), so the table never answers with null: this stands for no
// cell, at row and column -1, spanning nothing, with nothing to say.
class OutsideCell final : public GridChild, public QAccessibleTableCellInterface {
 public:
  explicit OutsideCell(AccessibleDayGrid& table) : GridChild(table, -1, -1) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
  }
  bool isValid() const override { return false; }
  QString text(QAccessible::Text) const override { return {}; }
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return QAccessible::NoRole; }
  QAccessible::State state() const override {
    QAccessible::State s;
    s.invisible = true;
    return s;
  }

  bool isSelected() const override { return false; }
  QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return -1; }
  int rowIndex() const override { return -1; }
  int columnExtent() const override { return 0; }
  int rowExtent() const override { return 0; }
  QAccessibleInterface* table() const override { return parent(); }
};

// Picture1 as a table whose children are its cells in reading order: child i is
// the cell at row i / 7, column i % 7, which is how assistive technologies turn a
// child index into a row and column. The weekday headers are each column's
// header cell, reached through the cells and the table's column header query.
class AccessibleDayGrid final : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  AccessibleDayGrid(PictureWidget* grid, DayGridReading& reading)
      : QAccessibleWidget(grid, QAccessible::Table), reading_(reading) {}
  ~AccessibleDayGrid() override {
    for (const auto& [position, id] : children_) QAccessible::deleteAccessibleInterface(id);
    if (outside_ != 0) QAccessible::deleteAccessibleInterface(outside_);
  }

  const DayGridReading& reading() const { return reading_; }
  QWidget* grid() const { return widget(); }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name ? reading_.MonthCaption() : QAccessibleWidget::text(t);
  }
  int childCount() const override { return reading_.count(); }
  QAccessibleInterface* child(int i) const override {
    if (i < 0 || i >= childCount()) return nullptr;
    return Child(i / DayGridReading::kColumns, i % DayGridReading::kColumns);
  }
  // A header is no child of the table: -1, as for anything else not a cell.
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [position, id] : children_) {
      if (QAccessible::accessibleInterface(id) != child) continue;
      const auto [row, column] = position;
      return row < 0 ? -1 : row * DayGridReading::kColumns + column;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const std::int16_t index = static_cast<PictureWidget*>(widget())->CellAt(widget()->mapFromGlobal(QPoint(x, y)));
    if (index == platform::kNotInArray) return nullptr;
    return child(reading_.ChildIndexOf(index));
  }
  QAccessibleInterface* focusChild() const override {
    const std::optional<std::int16_t> cursor = reading_.CursorCell();
    if (!widget()->hasFocus() || !cursor) return nullptr;
    return child(reading_.ChildIndexOf(*cursor));
  }

  // QAccessibleTableInterface
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return Outside();
    QAccessibleInterface* const cell = child(row * DayGridReading::kColumns + column);
    return cell != nullptr ? cell : Outside();
  }
  int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (std::int16_t i = reading_.lbound(); i < reading_.lbound() + reading_.count(); ++i)
      if (reading_.IsHighlighted(i)) cells.append(child(reading_.ChildIndexOf(i)));
    return cells;
  }
  QString columnDescription(int column) const override { return reading_.WeekdayName(column); }
  QString rowDescription(int) const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  int columnCount() const override { return DayGridReading::kColumns; }
  int rowCount() const override { return reading_.rows(); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  // Days are picked one at a time through a cell's action, as by the mouse.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

  // The header of a column (row -1) or a cell, made on first use.
  QAccessibleInterface* Child(int row, int column) const {
    const auto it = children_.find({row, column});
    if (it != children_.end()) return QAccessible::accessibleInterface(it->second);
    auto& self = const_cast<AccessibleDayGrid&>(*this);
    QAccessibleInterface* made =
        row < 0 ? static_cast<QAccessibleInterface*>(new WeekdayHeader(self, row, column))
                : static_cast<QAccessibleInterface*>(new DayCell(self, row, column));
    children_.emplace(std::pair{row, column}, QAccessible::registerAccessibleInterface(made));
    return made;
  }
  // Registered as the cells are, so that Qt may hand it out as it does them.
  QAccessibleInterface* Outside() const {
    if (outside_ == 0)
      outside_ = QAccessible::registerAccessibleInterface(new OutsideCell(const_cast<AccessibleDayGrid&>(*this)));
    return QAccessible::accessibleInterface(outside_);
  }

 private:
  DayGridReading& reading_;
  mutable std::map<std::pair<int, int>, QAccessible::Id> children_;
  mutable QAccessible::Id outside_ = 0;
};

QWindow* GridChild::window() const { return table_.window(); }
QAccessibleInterface* GridChild::parent() const { return &table_; }
const DayGridReading& GridChild::reading() const { return table_.reading(); }
QWidget* GridChild::grid() const { return table_.grid(); }

QList<QAccessibleInterface*> DayCell::columnHeaderCells() const { return {table_.Child(-1, column_)}; }

QAccessibleInterface* CreateInterface(const QString&, QObject* object) {
  if (auto* picture = dynamic_cast<PictureWidget*>(object); picture != nullptr && picture->reading != nullptr)
    return new AccessibleDayGrid(picture, *picture->reading);
  // The control as a whole: one group, named for the control, described by its month.
  if (auto* surface = dynamic_cast<SurfaceWidget*>(object); surface != nullptr)
    return new QAccessibleWidget(surface, QAccessible::Grouping);
  return nullptr;
}

}  // namespace

void InstallAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(CreateInterface);
    return true;
  }();
  (void)installed;
}

QString AccessibleNameOf(platform::Role role) { return ToQString(platform::AccessibleNameOf(role)); }

QString ControlAccessibleName() { return ToQString(platform::kControlAccessibleName); }

}  // namespace jv::qt
