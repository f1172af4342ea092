#include "platform/face/day_grid_model.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace jv::platform {

namespace {

using std::chrono::days;
using std::chrono::sys_days;
using std::chrono::year_month_day;

// The automation date's epoch, 30 December 1899.
constexpr sys_days kEpoch = sys_days(std::chrono::year(1899) / 12 / 30);
// Dates the automation type holds: 1 January 100 to 31 December 9999.
constexpr double kFirstDate = -657434.0, kLastDate = 2958465.0;

std::optional<year_month_day> CivilOf(DATE date) {
  if (!(date >= kFirstDate && date < kLastDate + 1.0)) return std::nullopt;
  return year_month_day(kEpoch + days(static_cast<long>(std::floor(date))));
}

}  // namespace

DayGridModel::DayGridModel(const FaceRoles& roles) : lbound_(roles.cells.lbound) {
  if (roles.year_box != nullptr) month_caption_ = Text(roles.year_box->caption);
  cells_.resize(roles.day_cells.size());
  count_ = static_cast<std::int16_t>(cells_.size());
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const ControlDesign& c = *roles.day_cells[i];
    cells_[i].caption.Assign(c.caption);
    cells_[i].rect = {c.left, c.top, c.width, c.height};
    cells_[i].highlighted = c.back_color == kHighlightBack;
  }
}

void DayGridModel::MonthCaptionFormatted(DATE date, TextView /*text*/) {
  // The control formats the caption from the date whose month it has just filled
  // in; the month stays known even when writing the caption fails.
  if (const auto civil = CivilOf(date))
    month_ = static_cast<DATE>((sys_days(civil->year() / civil->month() / 1) - kEpoch).count());
}

void DayGridModel::StoreHighlight(Cell& cell, std::int16_t index, bool highlighted) {
  cell.highlighted = highlighted;
  for (DayGridListener* listener : listeners_) listener->HighlightChanged(index, highlighted);
}

void DayGridModel::YearBoxWritten(TextView text) {
  if (text == TextView(month_caption_) && month_ == announced_month_) return;
  month_caption_.assign(text);
  announced_month_ = month_;
  for (DayGridListener* listener : listeners_) listener->MonthChanged();
}

void DayGridModel::CellClickDelivered(std::int16_t index) { cursor_ = index; }

void DayGridModel::KeyDelivered(std::int16_t key_code) {
  // The control's guards: Up and Left only from the month's first cell on, Down
  // and Right only up to its last; the move is stored before anything can fail.
  switch (key_code) {
    case kKeyUp:
      if (cursor_ >= first_cell_) cursor_ = static_cast<std::int16_t>(cursor_ - kColumns);
      break;
    case kKeyDown:
      if (cursor_ <= last_cell_) cursor_ = static_cast<std::int16_t>(cursor_ + kColumns);
      break;
    case kKeyLeft:
      if (cursor_ >= first_cell_) cursor_ = static_cast<std::int16_t>(cursor_ - 1);
      break;
    case kKeyRight:
      if (cursor_ <= last_cell_) cursor_ = static_cast<std::int16_t>(cursor_ + 1);
      break;
    default:
      break;
  }
}

std::optional<DATE> DayGridModel::DateOf(std::int16_t index) const {
  const Cell* cell = Find(index);
  if (cell == nullptr || cell->day == kNoDay || !month_) return std::nullopt;
  const auto civil = CivilOf(*month_);
  if (!civil) return std::nullopt;
  const year_month_day day(civil->year(), civil->month(), std::chrono::day(static_cast<unsigned>(cell->day)));
  if (!day.ok()) return std::nullopt;
  return static_cast<DATE>((sys_days(day) - kEpoch).count());
}

bool DayGridModel::IsHighlighted(std::int16_t index) const {
  const Cell* cell = Find(index);
  return cell != nullptr && cell->highlighted;
}

std::optional<std::int16_t> DayGridModel::CursorCell() const {
  if (!Has(cursor_)) return std::nullopt;
  return cursor_;
}

TwipsRect DayGridModel::RectOf(std::int16_t index) const {
  const Cell* cell = Find(index);
  return cell ? cell->rect : TwipsRect{};
}

std::optional<std::int16_t> DayGridModel::CellAt(std::int32_t x, std::int32_t y) const {
  for (std::size_t i = 0; i < cells_.size(); ++i) {
    const TwipsRect& r = cells_[i].rect;
    if (x >= r.left && x < r.left + r.width && y >= r.top && y < r.top + r.height)
      return static_cast<std::int16_t>(lbound_ + static_cast<int>(i));
  }
  return std::nullopt;
}

void DayGridModel::AddListener(DayGridListener* listener) {
  if (listener != nullptr && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
    listeners_.push_back(listener);
}

void DayGridModel::RemoveListener(DayGridListener* listener) {
  listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

}  // namespace jv::platform
