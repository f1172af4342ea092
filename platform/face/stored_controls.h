// The constituent controls whose state every runtime keeps the same way: a frame
// that reports its design size, and the text a text box holds. A runtime derives
// from them to show the value or to count the calls.
#pragma once

#include <cstdint>

#include "platform/face/day_cell_array.h"
#include "platform/face/face_roles.h"
#include "platform/face/out_parameter.h"
#include "platform/runtime/controls.h"

namespace jv::platform {

// Frame1 is never resized after it is built: its size is its design size, twips.
class DesignSizedFrame : public Frame {
 public:
  HRESULT get_Width(std::int32_t* out) override { return WriteOut(out, width); }
  HRESULT get_Height(std::int32_t* out) override { return WriteOut(out, height); }

  std::int32_t width = 0, height = 0;
};

// The text is the store; what a runtime shows follows it in its put_Text.
class TextBoxBase : public TextBox {
 public:
  HRESULT get_Text(Text* out) override { return WriteOut(out, text); }

  Text text;

 protected:
  ~TextBoxBase() = default;
};

// The one fill of the stored controls from their design: the year and date boxes
// take their design text, the frame its design size, and each day cell is handed
// to `fill_cell` with its design.
template <class Cell, class FillCell>
void FillStoredControls(const FaceRoles& roles, TextBoxBase& year_box, TextBoxBase& date_box,
                        DesignSizedFrame& frame, DayCellArray<Cell>& cells, FillCell fill_cell) {
  year_box.text = Text(roles.year_box->caption);
  date_box.text = Text(roles.date_box->caption);
  frame.width = roles.frame->width;
  frame.height = roles.frame->height;
  for (const ControlDesign* c : roles.day_cells) fill_cell(*cells.Find(c->index), *c);
}

}  // namespace jv::platform
