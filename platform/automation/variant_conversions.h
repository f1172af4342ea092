// The one place where a variant is coerced to another type: what a property bag
// hands back, an argument of any type, becomes the integer, truth value, text,
// number or font that the caller needs, by the automation coercion rules.
#pragma once

#include <cstdint>

#include "platform/automation/font.h"
#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"

namespace jv {

// The rules, shared by every function here:
// - A by-reference variant converts as the value it points to (E_POINTER when it
//   points nowhere). A type this system does not hold fails DISP_E_BADVARTYPE.
// - Empty converts to 0, False, "" (to number, truth value, text). Null, errors and
//   objects convert to nothing but themselves: DISP_E_TYPEMISMATCH.
// - Boolean True is -1 as a number. Any non-zero number is True.
// - A fraction rounds half to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). A result outside
//   the target's range fails DISP_E_OVERFLOW, and so does a double that is NaN or
//   infinite, whatever the target.
// - Text converts when it holds a number, independently of the locale: blanks
//   around it, an optional sign, digits with an optional '.' fraction and an
//   optional exponent ("1e2", "-3.5", "+4", " 255 "). No thousands separators.
//   "&H" and "&O" (either case) introduce hexadecimal and octal literals. Such a
//   literal is a bit pattern of the target's width, as in the automation languages:
//   "&HFFFF" is -1 as a 16-bit integer but 65535 as a 32-bit one, "&HFFFFFFFF" is
//   -1 as a 32-bit integer; a pattern wider than the target overflows. For the
//   floating targets, truth value and currency the width is 32 bits. Anything else
//   ("abc", "", "1 2", "12abc", "1,000", "inf") fails DISP_E_TYPEMISMATCH.
// - Text to truth value also takes "True" and "False", any case, blanks trimmed.
// - Number to text: integers in decimal; True and False as "True" and "False";
//   doubles in the shortest form that reads back to the same double, plainly for a
//   decimal exponent from -5 to 14 ("2.5", "0.00001", "123456789012345") and
//   otherwise as "1E+15", "1.5E-07", "-2.5E+300"; currency with up to four
//   decimals ("2.5"). A date becomes "M/d/yyyy" ("11/9/2003"), followed by
//   " H:mm:ss" when it has a time of day; a date outside 1 January 100 to
//   31 December 9999 overflows. Text is not read back as a date here: which order of
//   day and month a date text has depends on the regional settings, so the date
//   functions do that.
// Every function leaves *out untouched when it fails.
[[nodiscard]] HRESULT ToInt32(const VARIANT& in, std::int32_t* out);
[[nodiscard]] HRESULT ToInt16(const VARIANT& in, std::int16_t* out);
[[nodiscard]] HRESULT ToBool(const VARIANT& in, VARIANT_BOOL* out);
[[nodiscard]] HRESULT ToText(const VARIANT& in, Text* out);
[[nodiscard]] HRESULT ToDouble(const VARIANT& in, double* out);
// An object that has the font interface gives a new reference to it; a null object
// ("Nothing") gives a null font. Empty, any other value and an object without the
// font interface fail DISP_E_TYPEMISMATCH.
[[nodiscard]] HRESULT ToFont(const VARIANT& in, FontRef* out);

// Coerces in to the type to, by the rules above, into *out (cleared first; on
// failure left untouched). in and out may be the same variant. Targets: VT_EMPTY
// (always succeeds), VT_NULL (from Empty and Null), VT_I2, VT_I4, VT_UI1, VT_R4,
// VT_R8, VT_CY, VT_DATE (numbers and truth values within the date range), VT_BSTR,
// VT_BOOL, VT_UNKNOWN (from objects, Nothing stays Nothing), VT_DISPATCH and
// VT_ERROR (from themselves only). Any other target, a by-reference one included,
// fails DISP_E_BADVARTYPE.
[[nodiscard]] HRESULT ChangeType(const VARIANT& in, VARTYPE to, VARIANT* out);

[[nodiscard]] inline HRESULT ToInt32(const Variant& in, std::int32_t* out) { return ToInt32(in.raw(), out); }
[[nodiscard]] inline HRESULT ToInt16(const Variant& in, std::int16_t* out) { return ToInt16(in.raw(), out); }
[[nodiscard]] inline HRESULT ToBool(const Variant& in, VARIANT_BOOL* out) { return ToBool(in.raw(), out); }
[[nodiscard]] inline HRESULT ToText(const Variant& in, Text* out) { return ToText(in.raw(), out); }
[[nodiscard]] inline HRESULT ToDouble(const Variant& in, double* out) { return ToDouble(in.raw(), out); }
[[nodiscard]] inline HRESULT ToFont(const Variant& in, FontRef* out) { return ToFont(in.raw(), out); }

}  // namespace jv
