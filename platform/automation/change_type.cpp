#include <limits>

#include "platform/automation/value_coercion.h"
#include "platform/automation/variant_conversions.h"
#include "platform/automation/variant_value.h"

namespace jv {

using conversion::kI2;
using conversion::kI4;
using conversion::kUI1;
using conversion::Kind;
using conversion::ReadValue;
using conversion::ToCy;
using conversion::ToDateValue;
using conversion::ToIntegerOf;
using conversion::ToReal;
using conversion::ToSingle;
using conversion::ToTruth;
using conversion::Value;
using conversion::ValueText;

HRESULT ChangeType(const VARIANT& in, VARTYPE to, VARIANT* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidVariantType(out->vt)) return DISP_E_BADVARTYPE;
  Value v;
  JV_TRY(ReadValue(in, &v));

  // Built aside, so that a failure leaves *out as it was and in may be *out.
  VARIANT result;
  VariantInit(&result);
  result.vt = to;
  HRESULT hr = S_OK;
  switch (to) {
    case VT_EMPTY:
      break;
    case VT_NULL:
      if (v.kind != Kind::kEmpty && v.kind != Kind::kNull) hr = DISP_E_TYPEMISMATCH;
      break;
    case VT_I2:
      hr = ToIntegerOf(v, kI2, &result.iVal);
      break;
    case VT_I4:
      hr = ToIntegerOf(v, kI4, &result.lVal);
      break;
    case VT_UI1:
      hr = ToIntegerOf(v, kUI1, &result.bVal);
      break;
    case VT_R4:
      hr = ToSingle(v, &result.fltVal);
      break;
    case VT_R8:
      hr = ToReal(v, &result.dblVal);
      break;
    case VT_CY:
      hr = ToCy(v, &result.cyVal.int64);
      break;
    case VT_DATE:
      hr = ToDateValue(v, &result.date);
      break;
    case VT_BOOL: {
      bool b = false;
      hr = ToTruth(v, &b);
      result.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    }
    case VT_BSTR: {
      Text text;
      hr = ValueText(v, &text);
      if (SUCCEEDED(hr)) {
        if (text.size() > std::numeric_limits<std::uint32_t>::max() / sizeof(OLECHAR)) return E_OUTOFMEMORY;
        result.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                           static_cast<std::uint32_t>(text.size()));
        if (result.bstrVal == nullptr) return E_OUTOFMEMORY;
      }
      break;
    }
    case VT_UNKNOWN:
      if (v.kind != Kind::kObject) {
        hr = DISP_E_TYPEMISMATCH;
      } else {
        result.punkVal = v.object;
        if (v.object != nullptr) v.object->AddRef();
      }
      break;
    case VT_DISPATCH:
      // An IUnknown becomes an IDispatch only through QueryInterface for it, which
      // objects of this system do not answer yet; Nothing stays Nothing.
      if (v.kind == Kind::kObject && (v.vt == VT_DISPATCH || v.object == nullptr)) {
        result.punkVal = v.object;
        if (v.object != nullptr) v.object->AddRef();
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      break;
    case VT_ERROR:
      if (v.kind == Kind::kError) {
        result.scode = static_cast<SCODE>(v.i);
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      break;
    default:
      hr = DISP_E_BADVARTYPE;
  }
  JV_TRY(hr);
  VariantClear(out);
  *out = result;
  return S_OK;
}

}  // namespace jv
