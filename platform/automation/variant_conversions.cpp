#include "platform/automation/variant_conversions.h"

#include "platform/automation/value_coercion.h"
#include "platform/automation/variant_value.h"

namespace jv {

using conversion::kI2;
using conversion::kI4;
using conversion::Kind;
using conversion::ReadValue;
using conversion::Value;

namespace {
template <class Integer>
HRESULT ToIntegerIn(const VARIANT& in, const conversion::IntRange& range, Integer* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(ReadValue(in, &v));
  return conversion::ToIntegerOf(v, range, out);
}
}  // namespace

HRESULT ToInt32(const VARIANT& in, std::int32_t* out) { return ToIntegerIn(in, kI4, out); }

HRESULT ToInt16(const VARIANT& in, std::int16_t* out) { return ToIntegerIn(in, kI2, out); }

HRESULT ToBool(const VARIANT& in, VARIANT_BOOL* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(ReadValue(in, &v));
  bool b = false;
  JV_TRY(conversion::ToTruth(v, &b));
  *out = b ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ToText(const VARIANT& in, Text* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(ReadValue(in, &v));
  return conversion::ValueText(v, out);
}

HRESULT ToDouble(const VARIANT& in, double* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(ReadValue(in, &v));
  return conversion::ToReal(v, out);
}

HRESULT ToFont(const VARIANT& in, FontRef* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(ReadValue(in, &v));
  if (v.kind != Kind::kObject) return DISP_E_TYPEMISMATCH;
  if (v.object == nullptr) {
    *out = nullptr;
    return S_OK;
  }
  IFont* font = nullptr;
  const HRESULT hr = v.object->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
  if (hr == E_NOINTERFACE) return DISP_E_TYPEMISMATCH;
  JV_TRY(hr);
  if (font == nullptr) return DISP_E_TYPEMISMATCH;
  *out = FontRef::Adopt(font);
  return S_OK;
}

}  // namespace jv
