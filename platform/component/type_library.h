// Type information built from a TypeLibraryDesc: the library, each type and each
// member as ITypeLib and ITypeInfo, read-only, with the standard automation
// library's IDispatch, Font and OLE_COLOR as imported types.
#pragma once

#include "platform/automation/typeinfo.h"
#include "platform/component/type_description.h"

namespace jv::component {

// The library and its types share one count, and are counted by the module while
// they live. `description` must outlive them (it is a static table). Dispatch
// interfaces are described in their dispatch view: FUNC_DISPATCH members, a get
// returning its value, a put taking it; the vtable view of a dual interface
// (GetRefTypeOfImplType(-1)) is not offered. Type flags, member flags and help
// strings come from the table as they stand.
[[nodiscard]] HRESULT CreateTypeLibrary(const TypeLibraryDesc& description, ITypeLib** out);

// The type information of one type of the library, by name.
[[nodiscard]] HRESULT CreateTypeInfo(const TypeLibraryDesc& description, std::string_view type_name,
                                     ITypeInfo** out);

}  // namespace jv::component
