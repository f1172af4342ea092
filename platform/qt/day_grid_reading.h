// What the day grid says to an assistive technology: the shown month, each day
// cell as a whole date in the user's language, the weekday of each column, which
// cell is highlighted and which is at the control's cursor. It reads the face's
// day-grid model, and announces what changes.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/dates/regional_settings.h"
#include "platform/face/day_grid_model.h"
#include "platform/qt/qt_controls.h"

namespace jv::qt {

class DayGridReading final : public platform::DayGridListener {
 public:
  DayGridReading(const dates::RegionalSettings& settings, platform::DayGridModel& model, const DayCells& cells);
  ~DayGridReading();
  DayGridReading(const DayGridReading&) = delete;
  DayGridReading& operator=(const DayGridReading&) = delete;

  // The grid's shape: a week a row, as the layout places the cells.
  static constexpr int kColumns = platform::DayGridModel::kColumns;
  int rows() const { return model_.rows(); }
  std::int16_t lbound() const { return model_.lbound(); }
  std::int16_t count() const { return model_.count(); }

  QString MonthCaption() const;
  // The full weekday name of a column, Sunday first.
  QString WeekdayName(int column) const;
  // The cell's whole date ("November 14, 2003"); "" for a blank cell, or while the
  // month is unknown.
  QString CellName(std::int16_t index) const;
  bool IsNumbered(std::int16_t index) const;
  bool IsHighlighted(std::int16_t index) const { return model_.IsHighlighted(index); }
  // The control's cursor while it names a cell.
  std::optional<std::int16_t> CursorCell() const { return model_.CursorCell(); }
  // Where the cell lies in the grid widget; empty for no such cell.
  QRect CellRect(std::int16_t index) const;

  // Performs the day click on a cell, as the mouse does.
  std::function<void(std::int16_t index)> click;
  // The grid widget (Picture1) and the control's surface; gone with the form.
  QPointer<QWidget> grid;
  QPointer<QWidget> surface;

  // A click or key was handled: the cursor may have moved.
  void InputEnded();
  // Picture1 took the keyboard focus: the cell at the cursor is the focused one.
  void GridFocused();

  // The table's child index of a cell: its place in reading order, row * 7 +
  // column, as assistive technologies compute it. The column headers are reached
  // through the cells, not as children.
  int ChildIndexOf(std::int16_t index) const { return model_.ChildIndexOf(index); }

  // The model's news.
  void HighlightChanged(std::int16_t index, bool highlighted) override;
  void MonthChanged() override;

 private:
  void AnnounceCursor();

  const dates::RegionalSettings& settings_;
  platform::DayGridModel& model_;
  const DayCells& cells_;
  std::int16_t announced_cursor_ = 0;  // the control starts with its cursor on no cell
};

}  // namespace jv::qt
