// What assistive technologies call the parts of the face whose captions do not
// say what they do ("<<", ">>"), and the control as a whole; every bridge names
// them alike.
#pragma once

#include <string_view>

#include "platform/face/face_roles.h"

namespace jv::platform {

inline constexpr std::u16string_view kControlAccessibleName = u"Jornavista";

// "" for a role whose caption is its name.
constexpr std::u16string_view AccessibleNameOf(Role role) {
  switch (role) {
    case Role::PreviousButton: return u"Previous month";
    case Role::NextButton: return u"Next month";
    default: return {};
  }
}

}  // namespace jv::platform
