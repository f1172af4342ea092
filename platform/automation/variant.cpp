#include "platform/automation/variant.h"

#include <cstring>
#include <limits>

namespace jv {

bool IsValidVariantType(VARTYPE vt) {
  const bool by_ref = (vt & VT_BYREF) != 0;
  switch (static_cast<VARTYPE>(vt & ~VT_BYREF)) {
    case VT_EMPTY:
    case VT_NULL:
      return !by_ref;
    case VT_VARIANT:
      return by_ref;
    case VT_I2:
    case VT_I4:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_UNKNOWN:
    case VT_UI1:
      return true;
    default:
      return false;
  }
}

}  // namespace jv

#ifndef _WIN32
void VariantInit(VARIANT* v) {
  if (v != nullptr) std::memset(v, 0, sizeof *v);
}

HRESULT VariantClear(VARIANT* v) {
  if (v == nullptr) return E_POINTER;
  // A string and an empty variant, what callers clear most, need no look at the table.
  if (v->vt != VT_BSTR && v->vt != VT_EMPTY && !jv::IsValidVariantType(v->vt)) return DISP_E_BADVARTYPE;
  const VARIANT old = *v;
  // Empty first: a Release may run code that looks at this variant again.
  std::memset(v, 0, sizeof *v);
  if (old.vt == VT_BSTR) {
    SysFreeString(old.bstrVal);
  } else if ((old.vt == VT_UNKNOWN || old.vt == VT_DISPATCH) && old.punkVal != nullptr) {
    old.punkVal->Release();
  }
  return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
  if (dest == nullptr || src == nullptr) return E_POINTER;
  if (dest == src) return S_OK;
  if (!jv::IsValidVariantType(src->vt)) return DISP_E_BADVARTYPE;
  if (!jv::IsValidVariantType(dest->vt)) return DISP_E_BADVARTYPE;
  VARIANT copy = *src;
  if (src->vt == VT_BSTR && src->bstrVal != nullptr) {
    copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
    if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
  } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal != nullptr) {
    src->punkVal->AddRef();
  }
  VariantClear(dest);
  *dest = copy;
  return S_OK;
}
#endif

namespace jv {

namespace {
Variant OutOfMemory() { return Variant::Error(E_OUTOFMEMORY); }

// A variant of a value held in place: its type, and `fill` sets the one member
// that holds the value.
template <class Fill>
Variant HeldInPlace(VARTYPE vt, Fill fill) {
  VARIANT raw;
  VariantInit(&raw);
  raw.vt = vt;
  fill(raw);
  return Variant::Attach(raw);
}

// MinGW's oleauto.h declares the source without const; VariantCopy only reads it.
HRESULT CopyVariant(VARIANT* dest, const VARIANT* src) {
  return VariantCopy(dest, const_cast<VARIANT*>(src));
}
}  // namespace

Variant::Variant(const Variant& other) {
  VariantInit(&v_);
  if (FAILED(CopyVariant(&v_, &other.v_))) *this = OutOfMemory();
}

HRESULT Variant::Copy(const VARIANT& source, Variant* out) {
  if (out == nullptr) return E_POINTER;
  Variant copy;
  JV_TRY(CopyVariant(&copy.v_, &source));
  *out = std::move(copy);
  return S_OK;
}

Variant Variant::Null() { return HeldInPlace(VT_NULL, [](VARIANT&) {}); }

Variant Variant::I2(std::int16_t value) {
  return HeldInPlace(VT_I2, [&](VARIANT& r) { r.iVal = value; });
}

Variant Variant::I4(std::int32_t value) {
  return HeldInPlace(VT_I4, [&](VARIANT& r) { r.lVal = value; });
}

Variant Variant::R8(double value) {
  return HeldInPlace(VT_R8, [&](VARIANT& r) { r.dblVal = value; });
}

Variant Variant::Date(DATE value) {
  return HeldInPlace(VT_DATE, [&](VARIANT& r) { r.date = value; });
}

Variant Variant::Bool(bool value) {
  return HeldInPlace(VT_BOOL, [&](VARIANT& r) { r.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE; });
}

Variant Variant::Str(TextView text) {
  // The length prefix is 32 bits of bytes; a longer text cannot be a BSTR.
  if (text.size() > std::numeric_limits<std::uint32_t>::max() / sizeof(OLECHAR)) return OutOfMemory();
  BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
  if (b == nullptr) return OutOfMemory();
  return HeldInPlace(VT_BSTR, [&](VARIANT& r) { r.bstrVal = b; });
}

Variant Variant::Object(IUnknown* object) {
  if (object != nullptr) object->AddRef();
  return HeldInPlace(VT_UNKNOWN, [&](VARIANT& r) { r.punkVal = object; });
}

Variant Variant::Error(SCODE code) {
  return HeldInPlace(VT_ERROR, [&](VARIANT& r) { r.scode = code; });
}

}  // namespace jv
