// A stored property's value apart from any VARIANT, and the one rule for which
// variants a stored property takes. Two stores share them: the control's record,
// which keeps a font by its attributes, and a host document's bag, which keeps the
// font object itself (so that equal-to-default compares COM identity and a copied
// bag refers to the same objects).
#pragma once

#include <cstdint>
#include <utility>
#include <variant>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"
#include "platform/automation/variant_value.h"

namespace jv {

// No font: a Font property that refers to no object.
struct NoFont {
  friend bool operator==(const NoFont&, const NoFont&) = default;
};

// A Boolean, apart from the 16-bit integer that VARIANT_BOOL also is.
struct BooleanValue {
  bool value = false;
  friend bool operator==(const BooleanValue&, const BooleanValue&) = default;
};

// The kinds a stored property takes: 16- and 32-bit integers, a Boolean, text, a
// font (held as Font: its description, or a reference to the object) and Nothing.
template <class Font>
using StoredValue = std::variant<std::int16_t, std::int32_t, BooleanValue, Text, Font, NoFont>;

// Whether a store takes values through a reference (VT_BYREF, and one
// VT_BYREF | VT_VARIANT) or only by value.
enum class StoredForm { kByValue, kByValueOrReference };

// The value a variant holds, for a store: VT_I2, VT_I4, VT_BOOL, VT_BSTR, and a
// font object or Nothing by VT_UNKNOWN or VT_DISPATCH. Any other type (a reference
// too, when the store takes only values) fails DISP_E_BADVARTYPE; a reference to
// nothing E_POINTER. `font_of(IUnknown* object, Font* out)` makes the font of a
// non-null object, failing DISP_E_TYPEMISMATCH for an object that is no font.
// *out is written only on success.
template <class Font, class FontOf>
[[nodiscard]] HRESULT ReadStoredValue(const VARIANT& v, StoredForm form, FontOf font_of, StoredValue<Font>* out) {
  if (form == StoredForm::kByValue && (v.vt & VT_BYREF) != 0) return DISP_E_BADVARTYPE;
  conversion::Value value;
  JV_TRY(conversion::ReadValue(v, &value));
  switch (value.vt) {
    case VT_I2:
      *out = static_cast<std::int16_t>(value.i);
      return S_OK;
    case VT_I4:
      *out = static_cast<std::int32_t>(value.i);
      return S_OK;
    case VT_BOOL:
      *out = BooleanValue{value.i != 0};
      return S_OK;
    case VT_BSTR:
      *out = Text(value.text);
      return S_OK;
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      if (value.object == nullptr) {
        *out = NoFont{};
        return S_OK;
      }
      Font font{};
      JV_TRY(font_of(value.object, &font));
      *out = std::move(font);
      return S_OK;
    }
    default:
      return DISP_E_BADVARTYPE;
  }
}

}  // namespace jv
