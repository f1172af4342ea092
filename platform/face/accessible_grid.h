// The day grid as one Active Accessibility object, on the day-grid model: a table
// whose children 1 to 42 are the day cells in reading order (simple elements, no
// objects of their own). A numbered cell is named by its whole date, a blank one
// has no name and is invisible; the highlighted cell is selected, the cell at the
// control's cursor is focused while the grid has the keyboard focus; the default
// action of a numbered cell is the day click. The runtime that shows the grid
// supplies what only it knows through GridAccessHost.
#pragma once

#include <cstdint>

#include "platform/face/accessible_object.h"
#include "platform/face/day_grid_model.h"

namespace jv::platform {

struct ScreenRect {
  long left = 0, top = 0, width = 0, height = 0;
};

class GridAccessHost {
 public:
  virtual bool GridHasFocus() = 0;
  // Where a rectangle of the grid's interior (twips) lies on the screen, in pixels.
  virtual ScreenRect ToScreen(const TwipsRect& rect) = 0;
  virtual ScreenRect GridOnScreen() = 0;
  // A screen point as twips in the grid's interior; false when it is outside the grid.
  virtual bool FromScreen(long x, long y, std::int32_t* tx, std::int32_t* ty) = 0;
  // The user's day click on a cell, with all its effects.
  [[nodiscard]] virtual HRESULT ClickCell(std::int16_t index) = 0;
  [[nodiscard]] virtual HRESULT FocusGrid() = 0;
  [[nodiscard]] virtual HRESULT GetParent(IDispatch** out) = 0;
  // The user's long date form ("Friday, November 14, 2003").
  [[nodiscard]] virtual HRESULT FormatLongDate(DATE date, Text* out) = 0;

 protected:
  ~GridAccessHost() = default;
};

class AccessibleGrid final : public AccessibleObject {
 public:
  // With one reference, the caller's.
  static AccessibleGrid* Create(DayGridModel& model, GridAccessHost& host) { return new AccessibleGrid(model, host); }

  // The grid's window went: every call from now on answers msaa::kDisconnected
  // and touches neither the model nor the host.
  void Disconnect() {
    model_ = nullptr;
    host_ = nullptr;
  }

  // Child id of a cell (1 to the count) and back; 0 for none.
  long ChildOf(std::int16_t index) const;
  std::int16_t IndexOf(long child) const;

  JV_IACCESSIBLE_MEMBERS;

  // The name Windows gives a click as a default action.
  static constexpr std::u16string_view kClickAction = u"Click";

 private:
  AccessibleGrid(DayGridModel& model, GridAccessHost& host) : model_(&model), host_(&host) {}

  // What a VARIANT child id names: the grid itself, a cell, or nothing valid.
  struct Target {
    bool valid = false;
    bool self = false;
    std::int16_t index = 0;
  };
  Target Resolve(const VARIANT& child) const;
  // The start of a question about `child`: refuses a null `out` with E_POINTER,
  // clears it, then refuses a disconnected object and an invalid child id; S_OK
  // with the child resolved into `target` otherwise.
  template <class Out>
  HRESULT Begin(const VARIANT& child, Out* out, Target* target) const;

  DayGridModel* model_;
  GridAccessHost* host_;
};

}  // namespace jv::platform
