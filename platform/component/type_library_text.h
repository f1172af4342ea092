// A type library as text: JSON read back through ITypeLib and ITypeInfo alone (so
// it shows what any client sees), and the IDL written from the description table.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "platform/automation/typeinfo.h"
#include "platform/component/type_description.h"

namespace jv::component {

// The library, its imports, and each type with its kind, identifier, flags, help,
// implemented interfaces and members (kind, dispatch id, type, parameters with
// their flags, member flags, help). Fails with the first failing call.
[[nodiscard]] HRESULT TypeLibraryJson(ITypeLib* library, nlohmann::ordered_json* out);

// The interface-definition text of the library, in the form an IDL compiler takes.
std::string WriteIdl(const TypeLibraryDesc& library);

}  // namespace jv::component
