#include "platform/automation/variant_value.h"

namespace jv::conversion {

namespace {

// A reference to another VT_VARIANT reference is refused, so a cycle cannot loop.
HRESULT Read(const VARIANT& v, Value* out, bool nested) {
  if (!IsValidVariantType(v.vt)) return DISP_E_BADVARTYPE;
  const bool by_ref = (v.vt & VT_BYREF) != 0;
  if (by_ref && v.byref == nullptr) return E_POINTER;
  Value r;
  r.vt = static_cast<VARTYPE>(v.vt & ~VT_BYREF);
  switch (r.vt) {
    case VT_EMPTY:
      r.kind = Kind::kEmpty;
      break;
    case VT_NULL:
      r.kind = Kind::kNull;
      break;
    case VT_I2:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.piVal : v.iVal;
      break;
    case VT_I4:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.plVal : v.lVal;
      break;
    case VT_UI1:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.pbVal : v.bVal;
      break;
    case VT_BOOL:
      r.kind = Kind::kBool;
      r.i = (by_ref ? *v.pboolVal : v.boolVal) != 0 ? -1 : 0;
      break;
    case VT_R4:
      r.kind = Kind::kReal;
      r.d = by_ref ? *v.pfltVal : v.fltVal;
      r.single = true;
      break;
    case VT_R8:
      r.kind = Kind::kReal;
      r.d = by_ref ? *v.pdblVal : v.dblVal;
      break;
    case VT_DATE:
      r.kind = Kind::kDate;
      r.d = by_ref ? *v.pdate : v.date;
      break;
    case VT_CY:
      r.kind = Kind::kCy;
      r.i = (by_ref ? *v.pcyVal : v.cyVal).int64;
      break;
    case VT_BSTR: {
      const BSTR b = by_ref ? *v.pbstrVal : v.bstrVal;
      r.kind = Kind::kText;
      r.text = TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
      break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
      r.kind = Kind::kObject;
      r.object = by_ref ? *v.ppunkVal : v.punkVal;
      break;
    case VT_ERROR:
      r.kind = Kind::kError;
      r.i = by_ref ? *v.pscode : v.scode;
      break;
    case VT_VARIANT:
      if (nested) return DISP_E_BADVARTYPE;
      return Read(*v.pvarVal, out, true);
    default:
      return DISP_E_BADVARTYPE;
  }
  *out = r;
  return S_OK;
}

}  // namespace

HRESULT ReadValue(const VARIANT& v, Value* out) { return Read(v, out, false); }

}  // namespace jv::conversion
