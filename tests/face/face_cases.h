// Cases every runtime's face must meet alike, run against each runtime by its own
// tests: the layouts a runtime refuses before building anything, and the getters
// that refuse a null out-pointer.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/runtime/face.h"

namespace jv::testing {

inline platform::ControlDesign Design(std::string_view name, std::int16_t index, platform::ControlKind kind,
                                      std::string_view parent, std::int32_t left, std::int32_t top,
                                      std::int32_t width, std::int32_t height) {
  platform::ControlDesign c;
  c.name = name;
  c.index = index;
  c.kind = kind;
  c.parent = parent;
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

struct LayoutCase {
  const char* what;
  std::vector<platform::ControlDesign> controls;
  HRESULT expected;
};

// The smallest whole face, then layouts that each break it in one way.
inline std::vector<LayoutCase> LayoutCases() {
  using platform::ControlDesign, platform::ControlKind, platform::kNotInArray, platform::kSurfaceName;
  const ControlDesign frame = Design("Frame1", kNotInArray, ControlKind::Frame, kSurfaceName, 0, 0, 100, 100);
  const ControlDesign picture =
      Design("Picture1", kNotInArray, ControlKind::PictureBox, "Frame1", 0, 0, 50, 50);
  const ControlDesign year = Design("txtYear", kNotInArray, ControlKind::TextBox, "Frame1", 0, 0, 50, 20);
  const ControlDesign date = Design("txtDate", kNotInArray, ControlKind::TextBox, kSurfaceName, 0, 0, 50, 20);
  const ControlDesign cell1 = Design("l", 1, ControlKind::Label, "Picture1", 0, 0, 10, 10);
  const ControlDesign cell2 = Design("l", 2, ControlKind::Label, "Picture1", 10, 0, 10, 10);
  const ControlDesign cell3 = Design("l", 3, ControlKind::Label, "Picture1", 20, 0, 10, 10);
  ControlDesign wide = cell2;
  wide.width = -1;
  return {
      {"a whole face", {frame, picture, year, date, cell1, cell2}, S_OK},
      {"no Picture1", {frame, year, date, cell1}, E_INVALIDARG},
      {"no txtDate", {frame, picture, year, cell1}, E_INVALIDARG},
      {"no day cells", {frame, picture, year, date}, E_INVALIDARG},
      {"a child listed before its parent", {picture, frame, year, date, cell1}, E_INVALIDARG},
      {"a parent that is a label",
       {frame, picture, year, date, cell1, Design("x", kNotInArray, ControlKind::Label, "l", 0, 0, 1, 1)},
       E_INVALIDARG},
      {"a cell index twice", {frame, picture, year, date, cell1, cell1}, E_INVALIDARG},
      {"a gap in the array", {frame, picture, year, date, cell1, cell3}, E_INVALIDARG},
      {"a negative width", {frame, picture, year, date, cell1, wide}, E_INVALIDARG},
  };
}

struct GetterCase {
  const char* what;
  std::function<HRESULT(platform::Face&)> call;
};

// Every getter the control calls, each with a null out-pointer.
inline std::vector<GetterCase> NullOutPointerCases() {
  const auto cell = [](platform::Face& f) {
    platform::Label* label = nullptr;
    return SUCCEEDED(f.l().Item(1, &label)) ? label : nullptr;
  };
  return {
      {"l.Count", [](platform::Face& f) { return f.l().get_Count(nullptr); }},
      {"l.LBound", [](platform::Face& f) { return f.l().get_LBound(nullptr); }},
      {"l.UBound", [](platform::Face& f) { return f.l().get_UBound(nullptr); }},
      {"l.Item", [](platform::Face& f) { return f.l().Item(1, nullptr); }},
      {"l(1).Caption", [cell](platform::Face& f) { return cell(f)->get_Caption(nullptr); }},
      {"txtYear.Text", [](platform::Face& f) { return f.txtYear().get_Text(nullptr); }},
      {"txtDate.Text", [](platform::Face& f) { return f.txtDate().get_Text(nullptr); }},
      {"Frame1.Width", [](platform::Face& f) { return f.Frame1().get_Width(nullptr); }},
      {"Frame1.Height", [](platform::Face& f) { return f.Frame1().get_Height(nullptr); }},
      {"UserControl.Width", [](platform::Face& f) { return f.UserControl().get_Width(nullptr); }},
      {"UserControl.Height", [](platform::Face& f) { return f.UserControl().get_Height(nullptr); }},
  };
}

}  // namespace jv::testing
