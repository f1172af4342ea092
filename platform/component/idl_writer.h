// The interface-definition (IDL) text of a type library, written from its
// description table in the form an IDL compiler takes.
#pragma once

#include <string>

#include "platform/component/type_description.h"

namespace jv::component {

std::string WriteIdl(const TypeLibraryDesc& library);

}  // namespace jv::component
