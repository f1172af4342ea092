// A control face described as data: the constituent controls with their kind,
// parent, position, size, caption, colours, tab index and font. The control
// supplies the table; every runtime builds its constituent controls from it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/automation/types.h"

namespace jv::platform {

enum class ControlKind { Frame, PictureBox, Label, CommandButton, TextBox };
enum class TextAlignment { Left, Center };

struct FontDesign {
  std::u16string_view name;
  double size_points;
  std::int16_t weight;
  std::int16_t charset;
  bool italic;
  bool underline;
  bool strikethrough;
};

inline constexpr std::int16_t kNotInArray = -1;
inline constexpr std::string_view kSurfaceName = "UserControl";

struct ControlDesign {
  std::string_view name;                 // "l" for every member of the day-cell array
  std::int16_t index = kNotInArray;      // the member's index within its array
  ControlKind kind = ControlKind::Label;
  std::string_view parent;               // kSurfaceName or another control's name
  std::int32_t left = 0, top = 0, width = 0, height = 0;  // twips, in the parent's interior
  std::u16string_view caption;           // caption or text
  std::optional<OLE_COLOR> back_color;   // none: the kind's default
  std::optional<OLE_COLOR> fore_color;
  std::int16_t tab_index = 0;
  const FontDesign* font = nullptr;      // none: the default font
  TextAlignment alignment = TextAlignment::Left;
};

struct FaceLayout {
  std::int32_t design_width = 0;   // the surface's stored design size, twips
  std::int32_t design_height = 0;
  std::span<const ControlDesign> controls;
  // The controls are constant data that live as long as the process (a control's
  // own static table): a runtime may check such a layout once and keep what it
  // resolved for the next face built from the same table.
  bool constant = false;
};

}  // namespace jv::platform
