// The layout resolved once into the parts a runtime builds: the frame, the picture
// box that holds the day grid, the year and date boxes, the two paging buttons,
// the day cells in index order and the weekday headings. The names of the
// constituent controls are matched here and nowhere else.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/face/layout_check.h"
#include "platform/runtime/layout.h"

namespace jv::platform {

enum class Role {
  Frame,           // the frame around the whole face, whose size is the control's
  Picture,         // the picture box holding the day cells
  YearBox,         // the month caption
  DateBox,         // the hidden selected date
  PreviousButton,  // pages one month back
  NextButton,      // pages one month forward
  DayCell,         // a member of the day-cell array
  Heading,         // any other label: the weekday initials and their band
  Container,       // another frame or picture box
  Other,           // another button or text box
};

struct FaceRoles {
  const ControlDesign* frame = nullptr;
  const ControlDesign* picture = nullptr;
  const ControlDesign* year_box = nullptr;
  const ControlDesign* date_box = nullptr;
  const ControlDesign* previous_button = nullptr;  // null: the layout has none
  const ControlDesign* next_button = nullptr;
  std::vector<const ControlDesign*> day_cells;  // day_cells[i]: index cells.lbound + i
  std::vector<const ControlDesign*> headings;   // in layout order
  DayCellBounds cells;

  Role RoleOf(const ControlDesign& c) const;
  // The role's control name, for what names a control to the outside (a journal,
  // the focus); "" for a role the layout does not have.
  std::string_view NameOf(Role role) const;
};

// The role a control's name and kind give it, on its own.
Role ResolveRole(const ControlDesign& c);
bool IsDayCellArrayName(std::string_view name);

// Runs CheckLayout, then resolves every control of `layout` to its role. The
// result points into `layout`, which must outlive it. Fails as CheckLayout does.
[[nodiscard]] HRESULT ResolveRoles(const FaceLayout& layout, FaceRoles* out);

}  // namespace jv::platform
