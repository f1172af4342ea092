#include "platform/automation/variant_value.h"

namespace jv::conversion {

namespace {

// The value a variant holds, read through its reference when it is VT_BYREF: every
// member of the value union starts at the same address, so the payload is at
// &v.lVal by value and at v.byref by reference.
template <class T>
T Payload(const void* at) {
  return *static_cast<const T*>(at);
}

Value Number(VARTYPE vt, Kind kind, std::int64_t i) {
  Value r;
  r.vt = vt;
  r.kind = kind;
  r.i = i;
  return r;
}

Value Real(VARTYPE vt, Kind kind, double d) {
  Value r;
  r.vt = vt;
  r.kind = kind;
  r.d = d;
  r.single = vt == VT_R4;
  return r;
}

// A reference to another VT_VARIANT reference is refused, so a cycle cannot loop.
HRESULT Read(const VARIANT& v, Value* out, bool nested) {
  if (!IsValidVariantType(v.vt)) return DISP_E_BADVARTYPE;
  const bool by_ref = (v.vt & VT_BYREF) != 0;
  if (by_ref && v.byref == nullptr) return E_POINTER;
  const void* at = by_ref ? v.byref : static_cast<const void*>(&v.lVal);
  const auto vt = static_cast<VARTYPE>(v.vt & ~VT_BYREF);
  Value r;
  r.vt = vt;
  switch (vt) {
    case VT_EMPTY:
      r.kind = Kind::kEmpty;
      break;
    case VT_NULL:
      r.kind = Kind::kNull;
      break;
    case VT_I2:
      r = Number(vt, Kind::kInt, Payload<std::int16_t>(at));
      break;
    case VT_I4:
      r = Number(vt, Kind::kInt, Payload<std::int32_t>(at));
      break;
    case VT_UI1:
      r = Number(vt, Kind::kInt, Payload<std::uint8_t>(at));
      break;
    case VT_BOOL:
      r = Number(vt, Kind::kBool, Payload<VARIANT_BOOL>(at) != 0 ? -1 : 0);
      break;
    case VT_CY:
      r = Number(vt, Kind::kCy, Payload<CY>(at).int64);
      break;
    case VT_ERROR:
      r = Number(vt, Kind::kError, Payload<SCODE>(at));
      break;
    case VT_R4:
      r = Real(vt, Kind::kReal, Payload<float>(at));
      break;
    case VT_R8:
      r = Real(vt, Kind::kReal, Payload<double>(at));
      break;
    case VT_DATE:
      r = Real(vt, Kind::kDate, Payload<DATE>(at));
      break;
    case VT_BSTR: {
      const BSTR b = Payload<BSTR>(at);
      r.kind = Kind::kText;
      r.text = TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
      break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
      r.kind = Kind::kObject;
      r.object = Payload<IUnknown*>(at);
      break;
    case VT_VARIANT:
      if (nested) return DISP_E_BADVARTYPE;
      return Read(*static_cast<const VARIANT*>(at), out, true);
    default:
      return DISP_E_BADVARTYPE;
  }
  *out = r;
  return S_OK;
}

}  // namespace

HRESULT ReadValue(const VARIANT& v, Value* out) { return Read(v, out, false); }

}  // namespace jv::conversion
