// The part of a face that is the same on every runtime: the connected handlers and
// the delivery of events to them. A runtime derives its face from FaceBase and
// adds only what is its own: its controls, its widgets, its input.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/face/day_grid_model.h"
#include "platform/face/noted_dates.h"

#include "platform/runtime/face.h"

namespace jv::platform {

class FaceBase : public Face {
 public:
  void ConnectEvents(ControlEvents* handlers) override { handlers_ = handlers; }
  ControlEvents* handlers() const { return handlers_; }
  // The day grid as the control made it; null until the runtime set it up.
  DayGridModel* model() const { return model_ ? &*model_ : nullptr; }

  // Each delivers one event to the connected handlers and hands back their status;
  // with none connected the event goes nowhere and reports S_OK.
  [[nodiscard]] HRESULT RaiseResize();
  [[nodiscard]] HRESULT RaiseCellClick(std::int16_t index);
  [[nodiscard]] HRESULT RaiseNextClick();
  [[nodiscard]] HRESULT RaisePreviousClick();
  [[nodiscard]] HRESULT RaiseKeyDown(std::int16_t key_code, std::int16_t shift);

  // A Resize handler that sets the surface's size raises Resize again inside
  // itself; nesting deeper than this means a handler that never settles, and the
  // innermost run is refused with E_UNEXPECTED.
  static constexpr int kMaxResizeDepth = 8;

 protected:
  // Makes the model of the grid in `roles` and the date functions that feed it,
  // wrapping the runtime's. Once, before the face is handed out. Both live in
  // the face itself: a face that hands the control its own noted functions
  // (the headless one) pays no allocation for the wrapper it never uses.
  void SetUpModel(const FaceRoles& roles, DateFunctions& runtime_dates) {
    model_.emplace(roles);
    dates_.emplace(runtime_dates, *model_);
  }
  // The runtime's date functions, noted by the model.
  DateFunctions& noted_dates() { return *dates_; }

 private:
  ControlEvents* handlers_ = nullptr;
  int resize_depth_ = 0;
  // Mutable as the pointer it replaced was: the model is the face's state that
  // a const face still hands out for writing.
  mutable std::optional<DayGridModel> model_;
  std::optional<NotedDates> dates_;
};

// A face that holds its constituent controls as members: it names them once, in
// its constructor, and hands them to the control from then on; its date functions
// are the runtime's, noted by the model.
class HeldControlsFace : public FaceBase {
 public:
  LabelArray& l() final { return *controls_.l; }
  TextBox& txtYear() final { return *controls_.year; }
  TextBox& txtDate() final { return *controls_.date; }
  PictureBox& Picture1() final { return *controls_.picture; }
  Frame& Frame1() final { return *controls_.frame; }
  Surface& UserControl() final { return *controls_.surface; }
  DateFunctions& Dates() final { return noted_dates(); }

 protected:
  struct Controls {
    LabelArray* l = nullptr;
    TextBox *year = nullptr, *date = nullptr;
    PictureBox* picture = nullptr;
    Frame* frame = nullptr;
    Surface* surface = nullptr;
  };
  void HoldControls(const Controls& controls) { controls_ = controls; }

 private:
  Controls controls_;
};

}  // namespace jv::platform
