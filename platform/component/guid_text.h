// GUIDs as text in the registry form "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <string>
#include <string_view>

#include "platform/automation/unknown.h"

namespace jv::component {

std::string GuidToString(const GUID& guid);
// Accepts the registry form, with or without the braces, hex digits of either
// case; anything else is refused and *out is left untouched.
[[nodiscard]] bool ParseGuid(std::string_view text, GUID* out);

}  // namespace jv::component
