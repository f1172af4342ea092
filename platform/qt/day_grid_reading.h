// What the day grid says to an assistive technology: the shown month, each day
// cell as a whole date in the user's language, the weekday of each column, which
// cell is highlighted and which is at the control's cursor. It follows the control
// through the face's controls alone, and announces what changes.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/dates/regional_settings.h"
#include "platform/qt/qt_controls.h"

namespace jv::qt {

class DayGridReading {
 public:
  DayGridReading(const dates::RegionalSettings& settings, const DayCells& cells, const Text& month_caption)
      : settings_(settings), cells_(cells), month_caption_(month_caption) {}
  DayGridReading(const DayGridReading&) = delete;
  DayGridReading& operator=(const DayGridReading&) = delete;

  // The grid's shape: a week a row, as the layout places the cells.
  static constexpr int kColumns = 7;
  int rows() const { return (cells_.count() + kColumns - 1) / kColumns; }
  std::int16_t lbound() const { return cells_.lbound(); }
  std::int16_t count() const { return cells_.count(); }

  QString MonthCaption() const;
  // The full weekday name of a column, Sunday first.
  QString WeekdayName(int column) const;
  // The cell's whole date ("November 14, 2003"); "" for a blank cell, or while the
  // caption names no month.
  QString CellName(std::int16_t index) const;
  bool IsNumbered(std::int16_t index) const;
  bool IsHighlighted(std::int16_t index) const;
  // The control's cursor while it names a cell.
  std::optional<std::int16_t> CursorCell() const;
  // Where the cell lies in the grid widget; empty for no such cell.
  QRect CellRect(std::int16_t index) const;

  // Performs the day click on a cell, as the mouse does.
  std::function<void(std::int16_t index)> click;
  // The grid widget (Picture1) and the control's surface; gone with the form.
  QPointer<QWidget> grid;
  QPointer<QWidget> surface;

  // Following the control. Its cursor moves only in a day click or a key press,
  // and the last cell it fetches while handling one is the cell at its cursor: a
  // click stores the clicked index and reads that cell last; a key reads the cell
  // at its new cursor last, or none when it refuses the move.
  void InputStarts();
  void InputEnded();
  // A day cell's highlight came or went.
  void HighlightChanged(std::int16_t index, bool highlighted);
  // txtYear has a new caption: a new month in the grid.
  void MonthChanged();
  // Picture1 took the keyboard focus: the cell at the cursor is the focused one.
  void GridFocused();

  // The table's child index of a cell: its place in reading order, row * 7 +
  // column, as assistive technologies compute it. The column headers are reached
  // through the cells, not as children.
  int ChildIndexOf(std::int16_t index) const { return index - lbound(); }

 private:
  void AnnounceCursor();

  const dates::RegionalSettings& settings_;
  const DayCells& cells_;
  const Text& month_caption_;
  std::int16_t cursor_ = 0;  // the control starts with its cursor on no cell
};

}  // namespace jv::qt
