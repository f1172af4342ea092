// The day-cell array l as every runtime holds it: one cell object per index from
// the array's lower bound, without gaps, allocated once so that what points at a
// cell (a widget painting it, the control holding it) stays valid.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/face/layout_check.h"
#include "platform/face/out_parameter.h"
#include "platform/runtime/controls.h"

namespace jv::platform {

// Cell is the runtime's own Label.
template <class Cell>
class DayCellArray : public LabelArray {
 public:
  // Sizes the array once, before anything points at a cell.
  void Allocate(DayCellBounds bounds) {
    lbound_ = bounds.lbound;
    cells_ = std::vector<Cell>(static_cast<std::size_t>(bounds.count));
  }

  HRESULT get_Count(std::int16_t* out) override { return WriteOut(out, count()); }
  HRESULT get_LBound(std::int16_t* out) override { return WriteOut(out, lbound_); }
  HRESULT get_UBound(std::int16_t* out) override {
    return WriteOut(out, static_cast<std::int16_t>(lbound_ + count() - 1));
  }
  HRESULT Item(std::int16_t index, Label** out) override {
    if (out == nullptr) return E_POINTER;
    Cell* cell = Find(index);
    if (cell == nullptr) return CTL_E_ARRAYELEMENTMISSING;
    *out = cell;
    return S_OK;
  }

  // The member of that index; null for an index without one.
  Cell* Find(std::int16_t index) {
    const int slot = index - lbound_;
    if (slot < 0 || slot >= static_cast<int>(cells_.size())) return nullptr;
    return &cells_[static_cast<std::size_t>(slot)];
  }
  const Cell* Find(std::int16_t index) const { return const_cast<DayCellArray*>(this)->Find(index); }
  std::int16_t lbound() const { return lbound_; }
  std::int16_t count() const { return static_cast<std::int16_t>(cells_.size()); }
  std::span<Cell> cells() { return cells_; }

 private:
  std::int16_t lbound_ = 1;
  std::vector<Cell> cells_;
};

}  // namespace jv::platform
