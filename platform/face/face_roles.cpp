#include "platform/face/face_roles.h"

#include <string_view>

namespace jv::platform {

namespace {

// The one table of constituent-control names a runtime needs to know.
struct NamedRole {
  std::string_view name;
  ControlKind kind;
  Role role;
};
constexpr NamedRole kNamedRoles[] = {
    {"Frame1", ControlKind::Frame, Role::Frame},
    {"Picture1", ControlKind::PictureBox, Role::Picture},
    {"txtYear", ControlKind::TextBox, Role::YearBox},
    {"txtDate", ControlKind::TextBox, Role::DateBox},
    {"cmdPrevious", ControlKind::CommandButton, Role::PreviousButton},
    {"cmdNext", ControlKind::CommandButton, Role::NextButton},
};
constexpr std::string_view kDayCellArrayName = "l";

}  // namespace

bool IsDayCellArrayName(std::string_view name) { return name == kDayCellArrayName; }

Role ResolveRole(const ControlDesign& c) {
  if (c.name == kDayCellArrayName && c.index != kNotInArray) return Role::DayCell;
  for (const NamedRole& named : kNamedRoles)
    if (c.name == named.name && c.kind == named.kind) return named.role;
  switch (c.kind) {
    case ControlKind::Label:
      return Role::Heading;
    case ControlKind::Frame:
    case ControlKind::PictureBox:
      return Role::Container;
    default:
      return Role::Other;
  }
}

Role FaceRoles::RoleOf(const ControlDesign& c) const {
  const Role role = ResolveRole(c);
  const ControlDesign* holder = nullptr;
  switch (role) {
    case Role::Frame: holder = frame; break;
    case Role::Picture: holder = picture; break;
    case Role::YearBox: holder = year_box; break;
    case Role::DateBox: holder = date_box; break;
    case Role::PreviousButton: holder = previous_button; break;
    case Role::NextButton: holder = next_button; break;
    default: return role;
  }
  // A second control of a single role's name is an ordinary control.
  if (holder == &c) return role;
  return c.kind == ControlKind::Frame || c.kind == ControlKind::PictureBox ? Role::Container : Role::Other;
}

std::string_view FaceRoles::NameOf(Role role) const {
  for (const NamedRole& named : kNamedRoles)
    if (named.role == role) return named.name;
  return role == Role::DayCell ? kDayCellArrayName : std::string_view();
}

HRESULT ResolveRoles(const FaceLayout& layout, FaceRoles* out) {
  if (out == nullptr) return E_POINTER;
  FaceRoles roles;
  JV_TRY(CheckLayout(layout, &roles.cells));
  roles.day_cells.resize(static_cast<std::size_t>(roles.cells.count));
  for (const ControlDesign& c : layout.controls) {
    const Role role = ResolveRole(c);
    const ControlDesign** single = nullptr;
    switch (role) {
      case Role::Frame: single = &roles.frame; break;
      case Role::Picture: single = &roles.picture; break;
      case Role::YearBox: single = &roles.year_box; break;
      case Role::DateBox: single = &roles.date_box; break;
      case Role::PreviousButton: single = &roles.previous_button; break;
      case Role::NextButton: single = &roles.next_button; break;
      case Role::DayCell:
        roles.day_cells[static_cast<std::size_t>(c.index - roles.cells.lbound)] = &c;
        break;
      case Role::Heading: roles.headings.push_back(&c); break;
      default: break;
    }
    // The first control of a role holds it; a second of the same name is an
    // ordinary control.
    if (single != nullptr && *single == nullptr) *single = &c;
  }
  *out = std::move(roles);
  return S_OK;
}

}  // namespace jv::platform
