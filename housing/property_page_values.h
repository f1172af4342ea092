// The fields of the control's property page as text, and the rules by which the
// page turns them into property values: a colour is an OLE colour that the system
// can resolve, a style a signed 16-bit number, SDate any text. Reading a field that
// does not hold a value of its kind gives the message the page shows instead.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include <array>
#include <string>

namespace jv::housing {

// The page's fields in the order they stand on it.
enum class PageField { SDate, BackColor, ForeColor, BackStyle, BorderStyle, Enabled, kCount };
inline constexpr std::size_t kPageFields = static_cast<std::size_t>(PageField::kCount);

struct PageFieldDesc {
  PageField field;
  DISPID id;
  const wchar_t* label;
  VARTYPE type;  // VT_BSTR, VT_I4 (a colour), VT_I2, VT_BOOL
};

extern const std::array<PageFieldDesc, kPageFields> kPageFieldDescs;

// A property's value as the page shows it: colours as &H........& hexadecimal,
// styles in decimal, truth values as "True"/"False" (the check box's state).
std::wstring ShowValue(const PageFieldDesc& desc, const VARIANT& value);

// The field's text as the value to put, or false with the message that says why
// the text is no value of the field's kind. `value` is left empty on failure.
bool ReadValue(const PageFieldDesc& desc, const std::wstring& text, VARIANT* value, std::wstring* message);

}  // namespace jv::housing
