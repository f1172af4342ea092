// A property's value as the control's record keeps it, apart from any VARIANT:
// its kinds, and the conversions from and to the variant a property bag passes.
#pragma once

#include <cstdint>
#include <variant>

#include "platform/automation/std_font.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"

namespace jv::housing {

// No font: a Font property that refers to no object.
struct NoFont {
  friend bool operator==(const NoFont&, const NoFont&) = default;
};

// A Boolean, apart from the 16-bit integer that VARIANT_BOOL also is.
struct BooleanValue {
  bool value = false;
  friend bool operator==(const BooleanValue&, const BooleanValue&) = default;
};

// The kinds a property takes: 16- and 32-bit integers, a Boolean, text, and a
// font by its attributes.
using PropertyValue = std::variant<std::int16_t, std::int32_t, BooleanValue, Text, FontDescription, NoFont>;

struct NamedProperty {
  Text name;
  PropertyValue value;
};

// The value a variant holds: VT_I2, VT_I4, VT_BOOL, VT_BSTR, and a font object or
// Nothing (VT_UNKNOWN or VT_DISPATCH) by its attributes. An object that is no font
// fails DISP_E_TYPEMISMATCH, any other type DISP_E_BADVARTYPE; *out is written only
// on success.
[[nodiscard]] HRESULT PropertyValueFromVariant(const VARIANT& v, PropertyValue* out);
// The variant of a value: a font as a new standard font (a font the standard font
// refuses, STG_E_DOCFILECORRUPT: only a damaged record holds one).
[[nodiscard]] HRESULT PropertyValueToVariant(const PropertyValue& value, Variant* out);

}  // namespace jv::housing
