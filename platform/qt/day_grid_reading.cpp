#include "platform/qt/day_grid_reading.h"

#include <QAccessible>

#include "platform/qt/design_values.h"
#include "platform/qt/shared_strings.h"

namespace jv::qt {

namespace {

QString FromText(const Text& text) { return ToQString(text); }

}  // namespace

DayGridReading::DayGridReading(const dates::RegionalSettings& settings, platform::DayGridModel& model,
                               const DayCells& cells)
    : settings_(settings), model_(model), cells_(cells) {
  model_.AddListener(this);
}

DayGridReading::~DayGridReading() { model_.RemoveListener(this); }

QString DayGridReading::MonthCaption() const { return FromText(model_.month_caption()); }

QString DayGridReading::WeekdayName(int column) const {
  if (column < 0 || column >= kColumns) return {};
  return FromText(settings_.weekday_names()[static_cast<std::size_t>(column)]);
}

bool DayGridReading::IsNumbered(std::int16_t index) const { return !model_.CaptionOf(index).empty(); }

QString DayGridReading::CellName(std::int16_t index) const {
  const std::optional<DATE> date = model_.DateOf(index);
  Text name;
  if (!date || FAILED(settings_.FormatLongDate(*date, &name))) return {};
  return FromText(name);
}

QRect DayGridReading::CellRect(std::int16_t index) const {
  const DayCellLabel* cell = cells_.Find(index);
  return cell ? cell->Rect() : QRect();
}

void DayGridReading::InputEnded() {
  if (model_.cursor() == announced_cursor_) return;
  announced_cursor_ = model_.cursor();
  AnnounceCursor();
}

void DayGridReading::AnnounceCursor() {
  if (!QAccessible::isActive() || !grid || !grid->hasFocus() || !CursorCell()) return;
  QAccessibleEvent event(grid.data(), QAccessible::Focus);
  event.setChild(ChildIndexOf(*CursorCell()));
  QAccessible::updateAccessibility(&event);
}

void DayGridReading::HighlightChanged(std::int16_t index, bool highlighted) {
  // The highlight pass recolours every cell: with nobody listening, nothing to build.
  if (!QAccessible::isActive() || !grid) return;
  // Assistive technologies hear of a cell's selected state through these two.
  QAccessibleEvent event(grid.data(), highlighted ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
  event.setChild(ChildIndexOf(index));
  QAccessible::updateAccessibility(&event);
}

void DayGridReading::MonthChanged() {
  if (surface) surface->setAccessibleDescription(Shared(MonthCaption()));
  if (!QAccessible::isActive() || !grid) return;
  QAccessibleEvent event(grid.data(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void DayGridReading::GridFocused() { AnnounceCursor(); }

}  // namespace jv::qt
