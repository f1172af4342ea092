// The published members of JornavistaControl 1.0: every member of _ctrJornavista
// and __ctrJornavista with its name, kind, type and dispatch id, and the look-ups
// a client makes by name or by id. Header only, so that a host that reaches the
// control through its library links none of the housing.
#pragma once

#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

#include "housing/jornavista_ids.h"
#include "platform/component/type_description.h"

namespace jv::housing {

using component::MemberDesc;
using component::MemberKind;
using component::ParamDesc;
using component::ValueType;

// _ctrJornavista, in interface order.
inline constexpr MemberDesc kMembers[] = {
    {"BackColor", MemberKind::kProperty, ValueType::kOleColor, jornavista::DISPID_BackColor, "New_BackColor",
     "Returns/sets the background color used to display text and graphics in an object."},
    {"ForeColor", MemberKind::kProperty, ValueType::kOleColor, jornavista::DISPID_ForeColor, "New_ForeColor",
     "Returns/sets the foreground color used to display text and graphics in an object."},
    {"Enabled", MemberKind::kProperty, ValueType::kBool, jornavista::DISPID_Enabled, "New_Enabled",
     "Returns/sets a value that determines whether an object can respond to user-generated events."},
    {"Font", MemberKind::kPropertyByRef, ValueType::kFont, jornavista::DISPID_Font, "New_Font",
     "Returns a Font object."},
    {"BackStyle", MemberKind::kProperty, ValueType::kI2, jornavista::DISPID_BackStyle, "New_BackStyle",
     "Indicates whether a Label or the background of a Shape is transparent or opaque."},
    {"BorderStyle", MemberKind::kProperty, ValueType::kI2, jornavista::DISPID_BorderStyle, "New_BorderStyle",
     "Returns/sets the border style for an object."},
    {"Refresh", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_Refresh, "",
     "Forces a complete repaint of a object."},
    {"SDate", MemberKind::kProperty, ValueType::kBstr, jornavista::DISPID_SDate, "New_SDate",
     "Returns/sets the text contained in the control."},
};

// The C++ type a value type has in the vtable.
template <ValueType>
struct VtableType;
template <>
struct VtableType<ValueType::kOleColor> {
  using type = OLE_COLOR;
};
template <>
struct VtableType<ValueType::kBool> {
  using type = VARIANT_BOOL;
};
template <>
struct VtableType<ValueType::kI2> {
  using type = std::int16_t;
};
template <>
struct VtableType<ValueType::kBstr> {
  using type = BSTR;
};
template <>
struct VtableType<ValueType::kFont> {
  using type = IFont*;
};

// The vtable's members (jornavista_ids.h) as the table describes them: name,
// kind, value type (and whether the vtable's C++ type is that value type's) and
// dispatch id, one row a member, in vtable order.
struct VtableMember {
  std::string_view name;
  MemberKind kind;
  ValueType type;
  bool typed;
  DISPID id;
};
#define JV_MEMBER_ROW(Name, kind, value_type, typed) \
  {#Name, MemberKind::kind, ValueType::value_type, typed, jornavista::DISPID_##Name},
#define JV_VTABLE_PROPERTY(Name, Type, value_type) \
  JV_MEMBER_ROW(Name, kProperty, value_type, (std::is_same_v<VtableType<ValueType::value_type>::type, Type>))
#define JV_VTABLE_PROPERTY_BYREF(Name, Type, value_type) \
  JV_MEMBER_ROW(Name, kPropertyByRef, value_type,        \
                (std::is_same_v<VtableType<ValueType::value_type>::type, Type>))
#define JV_VTABLE_METHOD(Name) JV_MEMBER_ROW(Name, kMethod, kVoid, true)
inline constexpr VtableMember kVtableMembers[] = {
    JV_CTRJORNAVISTA_MEMBERS(JV_VTABLE_PROPERTY, JV_VTABLE_PROPERTY_BYREF, JV_VTABLE_METHOD)};
#undef JV_MEMBER_ROW
#undef JV_VTABLE_PROPERTY
#undef JV_VTABLE_PROPERTY_BYREF
#undef JV_VTABLE_METHOD

constexpr bool VtableFollowsMembers() {
  if (std::size(kVtableMembers) != std::size(kMembers)) return false;
  for (std::size_t i = 0; i < std::size(kMembers); ++i) {
    const VtableMember& v = kVtableMembers[i];
    if (v.name != kMembers[i].name || v.kind != kMembers[i].kind || v.type != kMembers[i].type || !v.typed ||
        v.id != kMembers[i].id)
      return false;
  }
  return true;
}
static_assert(
    VtableFollowsMembers(),
    "the vtable of _ctrJornavista has the member table's members, in its order, kinds, types and ids");

inline constexpr ParamDesc kKeyParams[] = {{"KeyCode", ValueType::kI2, true},
                                           {"Shift", ValueType::kI2, true}};
inline constexpr ParamDesc kKeyPressParams[] = {{"KeyAscii", ValueType::kI2, true}};
inline constexpr ParamDesc kMouseParams[] = {{"Button", ValueType::kI2, true},
                                             {"Shift", ValueType::kI2, true},
                                             {"X", ValueType::kR4, true},
                                             {"Y", ValueType::kR4, true}};

// __ctrJornavista, in interface order.
inline constexpr MemberDesc kEvents[] = {
    {"Click", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_Click, "",
     "Occurs when the user presses and then releases a mouse button over an object."},
    {"DblClick", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_DblClick, "",
     "Occurs when the user presses and releases a mouse button and then presses and releases it again "
     "over an object."},
    {"KeyDown", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyDown, "",
     "Occurs when the user presses a key while an object has the focus.", kKeyParams},
    {"KeyPress", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyPress, "",
     "Occurs when the user presses and releases an ANSI key.", kKeyPressParams},
    {"KeyUp", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyUp, "",
     "Occurs when the user releases a key while an object has the focus.", kKeyParams},
    {"MouseDown", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseDown, "",
     "Occurs when the user presses the mouse button while an object has the focus.", kMouseParams},
    {"MouseMove", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseMove, "",
     "Occurs when the user moves the mouse.", kMouseParams},
    {"MouseUp", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseUp, "",
     "Occurs when the user releases the mouse button while an object has the focus.", kMouseParams},
};

// The member of _ctrJornavista with this dispatch id, or null.
constexpr const MemberDesc* MemberWithId(DISPID id) {
  for (const MemberDesc& m : kMembers)
    if (m.id == id) return &m;
  return nullptr;
}

// The member of _ctrJornavista spelled exactly `name`, or null. Works for UTF-8
// and UTF-16 names alike, as every published name is ASCII.
template <class Char>
constexpr const MemberDesc* MemberNamed(std::basic_string_view<Char> name) {
  for (const MemberDesc& m : kMembers) {
    if (m.name.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i)
      same = static_cast<char32_t>(m.name[i]) == static_cast<char32_t>(name[i]);
    if (same) return &m;
  }
  return nullptr;
}

// A property's member (a get and a put, or a put by reference), else null.
constexpr const MemberDesc* PropertyNamed(std::string_view name) {
  const MemberDesc* m = MemberNamed(name);
  return m != nullptr && m->kind != MemberKind::kMethod ? m : nullptr;
}

// The property names, as a usage line lists them: "BackColor, ForeColor, ...".
inline std::string PropertyNameList() {
  std::string list;
  for (const MemberDesc& m : kMembers) {
    if (m.kind == MemberKind::kMethod) continue;
    if (!list.empty()) list += ", ";
    list += m.name;
  }
  return list;
}

}  // namespace jv::housing
