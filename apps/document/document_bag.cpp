#include "apps/document/document_bag.h"

#include <optional>

#include "platform/automation/variant_conversions.h"

namespace jv::document {

namespace {

// The value as the bag keeps it: by value, Booleans as -1 or 0, objects as the
// font they are (VT_UNKNOWN).
HRESULT StorableCopy(const VARIANT& in, Variant* out) {
  const VARIANT* v = &in;
  if (v->vt == (VT_BYREF | VT_VARIANT)) {
    if (v->pvarVal == nullptr) return E_POINTER;
    v = v->pvarVal;
  }
  const auto vt = static_cast<VARTYPE>(v->vt & ~VT_BYREF);
  Variant copy;
  switch (vt) {
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_BSTR:
      JV_TRY(ChangeType(*v, vt, copy.put()));
      break;
    case VT_UNKNOWN:
    case VT_DISPATCH: {
      FontRef font;
      JV_TRY(ToFont(*v, &font));
      copy = Variant::Object(font.get());
      break;
    }
    default:
      return DISP_E_BADVARTYPE;
  }
  *out = std::move(copy);
  return S_OK;
}

// COM identity: two interface pointers are the same object when their IUnknowns are.
bool SameObject(IUnknown* a, IUnknown* b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (a == b) return true;
  IUnknown* ua = nullptr;
  IUnknown* ub = nullptr;
  const bool same = SUCCEEDED(a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua))) &&
                    SUCCEEDED(b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub))) && ua == ub;
  if (ua != nullptr) ua->Release();
  if (ub != nullptr) ub->Release();
  return same;
}

std::optional<std::int32_t> Number(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2:
      return v.iVal;
    case VT_I4:
      return v.lVal;
    case VT_BOOL:
      return v.boolVal;
    default:
      return std::nullopt;
  }
}

// Both values as StorableCopy makes them.
bool Equal(const VARIANT& a, const VARIANT& b) {
  if (const auto na = Number(a), nb = Number(b); na && nb) return *na == *nb;
  if (a.vt == VT_BSTR && b.vt == VT_BSTR)
    return TextView(a.bstrVal, SysStringLen(a.bstrVal)) == TextView(b.bstrVal, SysStringLen(b.bstrVal));
  if (a.vt == VT_UNKNOWN && b.vt == VT_UNKNOWN) return SameObject(a.punkVal, b.punkVal);
  return false;
}

}  // namespace

const DocumentBag::Entry* DocumentBag::Find(TextView key) const {
  for (const Entry& e : entries_)
    if (e.key == key) return &e;
  return nullptr;
}

HRESULT DocumentBag::ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) {
  last_key_ = Text(key);
  if (out == nullptr) return E_POINTER;
  JV_TRY(Check(BagOperation::kRead));
  const Entry* stored = Find(key);
  return VariantCopy(out, stored != nullptr ? &stored->value.raw() : &default_value);
}

HRESULT DocumentBag::WriteProperty(TextView key, const VARIANT& value, const VARIANT& default_value) {
  last_key_ = Text(key);
  JV_TRY(Check(BagOperation::kWrite));
  Variant stored;
  JV_TRY(StorableCopy(value, &stored));
  // A default of a type the bag cannot hold equals nothing it holds.
  Variant default_stored;
  if (SUCCEEDED(StorableCopy(default_value, &default_stored)) && Equal(stored.raw(), default_stored.raw())) {
    // Also drops what an earlier write left, so that a read gives the default.
    std::erase_if(entries_, [key](const Entry& e) { return e.key == key; });
    return S_OK;
  }
  return Put(key, stored.raw());
}

HRESULT DocumentBag::Put(TextView key, const VARIANT& value) {
  Variant stored;
  JV_TRY(StorableCopy(value, &stored));
  for (Entry& e : entries_) {
    if (e.key == key) {
      e.value = std::move(stored);
      return S_OK;
    }
  }
  entries_.push_back(Entry{Text(key), std::move(stored)});
  return S_OK;
}

}  // namespace jv::document
