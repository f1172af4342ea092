// The one check of a FaceLayout that every runtime runs before it builds anything:
// the controls a face needs, parents listed before their children, and a day-cell
// array without gaps.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"
#include "platform/runtime/layout.h"

namespace jv::platform {

// The day-cell array of a layout that passed the check: `count` members with the
// indexes lbound, lbound + 1, ...
struct DayCellBounds {
  std::int16_t lbound = 1;
  std::int16_t count = 0;
};

// E_INVALIDARG for a layout no runtime can build: a negative length; no text box
// txtYear or txtDate, picture box Picture1 or frame Frame1; a parent that is no
// frame or picture box listed before its child; a control named like a container
// before it; an array other than l; a member of l that is no label; l empty, with a gap or an index twice.
// On success *out (when given) receives the array's bounds.
[[nodiscard]] HRESULT CheckLayout(const FaceLayout& layout, DayCellBounds* out);

}  // namespace jv::platform
