#include "platform/qt/day_grid_reading.h"

#include <QAccessible>

#include "platform/dates/calendar.h"
#include "platform/qt/design_values.h"

namespace jv::qt {

namespace {

QString FromText(const Text& text) { return ToQString(text); }

}  // namespace

QString DayGridReading::MonthCaption() const { return FromText(month_caption_); }

QString DayGridReading::WeekdayName(int column) const {
  if (column < 0 || column >= kColumns) return {};
  return FromText(settings_.weekday_names()[static_cast<std::size_t>(column)]);
}

bool DayGridReading::IsNumbered(std::int16_t index) const {
  const WindowlessLabel* cell = cells_.Find(index);
  return cell != nullptr && !cell->state.caption.empty();
}

bool DayGridReading::IsHighlighted(std::int16_t index) const {
  const WindowlessLabel* cell = cells_.Find(index);
  return cell != nullptr && cell->state.back == kSysHighlight;
}

QString DayGridReading::CellName(std::int16_t index) const {
  if (!IsNumbered(index)) return {};
  DATE month_start = 0;
  if (FAILED(settings_.ParseMonthCaption(month_caption_, &month_start))) return {};
  // The caption is the day number the grid fill wrote.
  const Text& caption = cells_.Find(index)->state.caption;
  int day = 0;
  for (const char16_t c : caption) {
    if (c < u'0' || c > u'9' || day > 31) return {};
    day = day * 10 + (c - u'0');
  }
  dates::CivilDate civil;
  DATE date = 0;
  Text name;
  if (FAILED(dates::ToCivil(month_start, &civil)) || FAILED(dates::FromCivil({civil.year, civil.month, day}, &date)) ||
      FAILED(settings_.FormatLongDate(date, &name)))
    return {};
  return FromText(name);
}

std::optional<std::int16_t> DayGridReading::CursorCell() const {
  if (cells_.Find(cursor_) == nullptr) return std::nullopt;
  return cursor_;
}

QRect DayGridReading::CellRect(std::int16_t index) const {
  const WindowlessLabel* cell = cells_.Find(index);
  return cell ? cell->state.rect : QRect();
}

void DayGridReading::InputStarts() { cells_.last_fetch.reset(); }

void DayGridReading::InputEnded() {
  if (!cells_.last_fetch || *cells_.last_fetch == cursor_) return;
  cursor_ = *cells_.last_fetch;
  AnnounceCursor();
}

void DayGridReading::AnnounceCursor() {
  if (!QAccessible::isActive() || !grid || !grid->hasFocus() || !CursorCell()) return;
  QAccessibleEvent event(grid.data(), QAccessible::Focus);
  event.setChild(ChildIndexOf(cursor_));
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
  if (surface) surface->setAccessibleDescription(MonthCaption());
  if (!QAccessible::isActive() || !grid) return;
  QAccessibleEvent event(grid.data(), QAccessible::NameChanged);
  QAccessible::updateAccessibility(&event);
}

void DayGridReading::GridFocused() { AnnounceCursor(); }

}  // namespace jv::qt
