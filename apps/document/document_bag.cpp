#include "apps/document/document_bag.h"

#include <optional>

#include "platform/automation/font.h"
#include "platform/automation/stored_value.h"

namespace jv::document {

namespace {

// The font object an object is, as the conversions find it: an object that does
// not answer IFont is no font; any other failure of the question is its own.
HRESULT FontObject(IUnknown* object, FontRef* out) {
  IFont* font = nullptr;
  const HRESULT hr = object->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
  if (hr == E_NOINTERFACE) return DISP_E_TYPEMISMATCH;
  JV_TRY(hr);
  if (font == nullptr) return DISP_E_TYPEMISMATCH;
  *out = FontRef::Adopt(font);
  return S_OK;
}

// The value as the bag keeps it: by value, Booleans as -1 or 0, objects as the
// font they are (VT_UNKNOWN).
HRESULT StorableCopy(const VARIANT& in, Variant* out) {
  StoredValue<FontRef> value;
  JV_TRY(ReadStoredValue(in, StoredForm::kByValueOrReference, FontObject, &value));
  Variant copy;
  if (const auto* v = std::get_if<std::int16_t>(&value)) {
    copy = Variant::I2(*v);
  } else if (const auto* v = std::get_if<std::int32_t>(&value)) {
    copy = Variant::I4(*v);
  } else if (const auto* v = std::get_if<BooleanValue>(&value)) {
    copy = Variant::Bool(v->value);
  } else if (const auto* v = std::get_if<Text>(&value)) {
    copy = Variant::Str(*v);
    if (copy.vt() != VT_BSTR) return E_OUTOFMEMORY;
  } else if (const auto* v = std::get_if<FontRef>(&value)) {
    copy = Variant::Object(v->get());
  } else {
    copy = Variant::Object(nullptr);
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
