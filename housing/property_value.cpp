#include "housing/property_value.h"

#include "platform/automation/ocidl.h"

namespace jv::housing {

HRESULT PropertyValueFromVariant(const VARIANT& v, PropertyValue* out) {
  switch (v.vt) {
    case VT_I2:
      *out = static_cast<std::int16_t>(v.iVal);
      return S_OK;
    case VT_I4:
      *out = static_cast<std::int32_t>(v.lVal);
      return S_OK;
    case VT_BOOL:
      *out = BooleanValue{v.boolVal != VARIANT_FALSE};
      return S_OK;
    case VT_BSTR:
      *out = Text(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal));
      return S_OK;
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      IUnknown* object = v.vt == VT_UNKNOWN ? v.punkVal : v.pdispVal;
      if (object == nullptr) {
        *out = NoFont{};
        return S_OK;
      }
      FontRef font;
      if (FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) || !font)
        return DISP_E_TYPEMISMATCH;
      FontDescription description;
      JV_TRY(DescribeFont(font.get(), &description));
      *out = std::move(description);
      return S_OK;
    }
    default:
      return DISP_E_BADVARTYPE;
  }
}

HRESULT PropertyValueToVariant(const PropertyValue& value, Variant* out) {
  if (const auto* v = std::get_if<std::int16_t>(&value)) {
    *out = Variant::I2(*v);
  } else if (const auto* v = std::get_if<std::int32_t>(&value)) {
    *out = Variant::I4(*v);
  } else if (const auto* v = std::get_if<BooleanValue>(&value)) {
    *out = Variant::Bool(v->value);
  } else if (const auto* v = std::get_if<Text>(&value)) {
    Variant text = Variant::Str(*v);
    if (text.vt() != VT_BSTR) return E_OUTOFMEMORY;
    *out = std::move(text);
  } else if (const auto* v = std::get_if<FontDescription>(&value)) {
    FontRef font;
    const HRESULT hr = CreateStdFont(*v, font.put());
    // E_INVALIDARG would read as "no value here": a font refused is a damaged record.
    if (hr == E_INVALIDARG) return STG_E_DOCFILECORRUPT;
    JV_TRY(hr);
    *out = Variant::Object(font.get());
  } else {
    *out = Variant::Object(nullptr);
  }
  return S_OK;
}

}  // namespace jv::housing
