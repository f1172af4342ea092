// A registered type library as JSON, read back through ITypeLib and ITypeInfo
// alone, so that it shows what any client of the library sees.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/automation/typeinfo.h"

namespace jv::component {

// The library, its imports, and each type with its kind, identifier, flags, help,
// implemented interfaces and members (kind, dispatch id, type, parameters with
// their flags, member flags, help). Fails with the first failing call.
[[nodiscard]] HRESULT TypeLibraryJson(ITypeLib* library, nlohmann::ordered_json* out);

}  // namespace jv::component
