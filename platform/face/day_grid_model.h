// The day grid as the control made it, for everything that reads it back: the
// painting, the hit-testing and the accessibility bridges of every runtime. For
// each day cell its date or none, its caption, whether it is highlighted, whether
// the control's keyboard cursor is on it, and where it lies; and the month shown.
//
// It is fed from what the control does, never from what was painted: the month is
// that of the date the control last formatted as a month caption,
// a cell's day is the number the control had turned into the caption it wrote to
// that cell, the highlight is the back colour written to the cell, and the cursor
// follows the clicks and keys delivered to the control by the control's own rule.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/automation/types.h"
#include "platform/face/cell_text.h"
#include "platform/face/face_roles.h"

namespace jv::platform {

// Twips within the picture box's interior.
struct TwipsRect {
  std::int32_t left = 0, top = 0, width = 0, height = 0;
};

// Told of each change as it happens, inside the control's handler.
class DayGridListener {
 public:
  virtual void HighlightChanged(std::int16_t /*index*/, bool /*highlighted*/) {}
  // The year box took a new caption, or the month changed with it.
  virtual void MonthChanged() {}

 protected:
  ~DayGridListener() = default;
};

class DayGridModel {
 public:
  static constexpr int kColumns = 7;
  // The colour the control writes as a highlighted cell's background.
  static constexpr OLE_COLOR kHighlightBack = 0x8000000D;
  // Key codes that move the cursor.
  static constexpr std::int16_t kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

  explicit DayGridModel(const FaceRoles& roles);
  DayGridModel(const DayGridModel&) = delete;
  DayGridModel& operator=(const DayGridModel&) = delete;

  // What the control does, as the runtime sees it. The first three run for every
  // cell of every redraw, so they are inline and keep their texts in place.
  void NumberFormatted(std::int32_t number, TextView text) {
    number_ = number;
    has_number_ = true;
    number_text_.Assign(text);
  }
  void MonthCaptionFormatted(DATE date, TextView text);
  void CaptionWritten(std::int16_t index, TextView caption) {
    if (Cell* cell = Find(index)) CaptionWrittenTo(*cell, index, caption);
  }
  void BackColorWritten(std::int16_t index, OLE_COLOR back) {
    if (Cell* cell = Find(index)) BackColorWrittenTo(*cell, index, back);
  }
  void YearBoxWritten(TextView text);
  // Before the handler runs.
  void CellClickDelivered(std::int16_t index);
  void KeyDelivered(std::int16_t key_code);

  std::int16_t lbound() const { return lbound_; }
  std::int16_t count() const { return count_; }
  int rows() const { return (count() + kColumns - 1) / kColumns; }
  bool Has(std::int16_t index) const { return Find(index) != nullptr; }
  // The cell's place in reading order, row * 7 + column.
  int ChildIndexOf(std::int16_t index) const { return index - lbound_; }
  std::int16_t IndexOfChild(int child) const { return static_cast<std::int16_t>(lbound_ + child); }

  // The first day of the month shown; none before the control formatted a month
  // caption.
  std::optional<DATE> MonthShown() const { return month_; }
  const Text& month_caption() const { return month_caption_; }
  // The cell's whole date; none for a blank cell, a cell whose caption did not
  // come from a day number, or while no month is known.
  std::optional<DATE> DateOf(std::int16_t index) const;
  TextView CaptionOf(std::int16_t index) const {
    const Cell* cell = Find(index);
    return cell ? cell->caption.view() : TextView();
  }
  bool IsHighlighted(std::int16_t index) const;
  // The control's cursor, which may name no cell (0, or beyond the array).
  std::int16_t cursor() const { return cursor_; }
  bool IsAtCursor(std::int16_t index) const { return Has(index) && index == cursor_; }
  std::optional<std::int16_t> CursorCell() const;
  TwipsRect RectOf(std::int16_t index) const;
  // The cell whose rectangle holds the point (twips in the picture box).
  std::optional<std::int16_t> CellAt(std::int32_t x, std::int32_t y) const;

  void AddListener(DayGridListener* listener);
  void RemoveListener(DayGridListener* listener);

 private:
  static constexpr std::int16_t kNoDay = 0;
  struct Cell {
    CellText caption;
    std::int16_t day = kNoDay;  // the day number the caption was made from, 1..31
    bool highlighted = false;
    TwipsRect rect;
  };

 public:
  // One cell of the model, for a runtime that keeps an object per day cell and
  // writes through it hundreds of times a redraw: the same updates as the
  // model's own by index, without finding the cell each time. Valid while the
  // model lives; the model's cells never move.
  class CellEntry {
   public:
    CellEntry() = default;
    void CaptionWritten(TextView caption) const { model_->CaptionWrittenTo(*cell_, index_, caption); }
    void BackColorWritten(OLE_COLOR back) const { model_->BackColorWrittenTo(*cell_, index_, back); }
    TextView caption() const { return cell_->caption.view(); }

   private:
    friend class DayGridModel;
    CellEntry(DayGridModel& model, Cell& cell, std::int16_t index) : model_(&model), cell_(&cell), index_(index) {}
    DayGridModel* model_ = nullptr;
    Cell* cell_ = nullptr;
    std::int16_t index_ = 0;
  };
  // The entry of the cell of that index; none for an index without a cell.
  std::optional<CellEntry> EntryOf(std::int16_t index) {
    Cell* cell = Find(index);
    if (cell == nullptr) return std::nullopt;
    return CellEntry(*this, *cell, index);
  }

 private:
  void CaptionWrittenTo(Cell& cell, std::int16_t index, TextView caption) {
    cell.caption.Assign(caption);
    cell.day = kNoDay;
    if (caption.empty() || !has_number_ || number_ < 1 || number_ > 31 || !(number_text_ == caption)) return;
    cell.day = static_cast<std::int16_t>(number_);
    // The grid fill numbers the month's days in cell order, from day 1 to the last.
    if (number_ == 1) first_cell_ = index;
    last_cell_ = index;
  }
  void BackColorWrittenTo(Cell& cell, std::int16_t index, OLE_COLOR back) {
    const bool highlighted = back == kHighlightBack;
    if (cell.highlighted != highlighted) StoreHighlight(cell, index, highlighted);
  }
  Cell* Find(std::int16_t index) {
    const int slot = index - lbound_;
    if (slot < 0 || slot >= count_) return nullptr;
    return &cells_[static_cast<std::size_t>(slot)];
  }
  const Cell* Find(std::int16_t index) const { return const_cast<DayGridModel*>(this)->Find(index); }
  // Stores the new highlight and tells the listeners.
  void StoreHighlight(Cell& cell, std::int16_t index, bool highlighted);

  std::int16_t lbound_ = 1;
  std::int16_t count_ = 0;  // cells_.size(), which never changes after construction
  std::vector<Cell> cells_;
  std::vector<DayGridListener*> listeners_;
  // The last number the control had formatted, with its text.
  bool has_number_ = false;
  std::int32_t number_ = 0;
  CellText number_text_;
  std::optional<DATE> month_, announced_month_;
  Text month_caption_;
  // The control's cursor and the bounds of the month's cells that guard its moves:
  // the cell given day 1 and the cell given the last day.
  std::int16_t cursor_ = 0;
  std::int16_t first_cell_ = 0, last_cell_ = 0;
};

}  // namespace jv::platform
