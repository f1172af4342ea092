// A property's value as the control's record keeps it, apart from any VARIANT:
// its kinds, and the conversions from and to the variant a property bag passes.
#pragma once

#include "platform/automation/std_font.h"
#include "platform/automation/stored_value.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"

namespace jv::housing {

// The kinds a property takes, a font by its attributes.
using PropertyValue = StoredValue<FontDescription>;

struct NamedProperty {
  Text name;
  PropertyValue value;
};

// The value a variant holds by value (ReadStoredValue), a font by its attributes.
// An object that is no font fails DISP_E_TYPEMISMATCH, any other type (a reference
// too) DISP_E_BADVARTYPE; *out is written only on success.
[[nodiscard]] HRESULT PropertyValueFromVariant(const VARIANT& v, PropertyValue* out);
// The variant of a value: a font as a new standard font (a font the standard font
// refuses, STG_E_DOCFILECORRUPT: only a damaged record holds one).
[[nodiscard]] HRESULT PropertyValueToVariant(const PropertyValue& value, Variant* out);

}  // namespace jv::housing
