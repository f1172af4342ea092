#include "housing/property_value.h"

#include "platform/automation/ocidl.h"

namespace jv::housing {

namespace {

// The attributes of an object that is a font; any object that does not answer
// IFont is no font.
HRESULT DescribedFont(IUnknown* object, FontDescription* out) {
  FontRef font;
  if (FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) || !font)
    return DISP_E_TYPEMISMATCH;
  return DescribeFont(font.get(), out);
}

}  // namespace

HRESULT PropertyValueFromVariant(const VARIANT& v, PropertyValue* out) {
  return ReadStoredValue(v, StoredForm::kByValue, DescribedFont, out);
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
