#include "apps/document/document_property_bag.h"

#include "platform/automation/variant_conversions.h"

namespace jv::document {

namespace {

TextView Key(LPCOLESTR name) { return TextView(reinterpret_cast<const char16_t*>(name)); }

}  // namespace

HRESULT DocumentPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (name == nullptr || value == nullptr) return E_POINTER;
  if (bag_ == nullptr) return E_UNEXPECTED;
  const TextView key = Key(name);
  Variant stored;
  JV_TRY(bag_->ReadProperty(key, Variant::Empty().raw(), stored.put()));
  if (bag_->Find(key) == nullptr) return E_INVALIDARG;
  // A caller that names a type gets the value in it; an empty variant asks for
  // the value as stored.
  if (value->vt != VT_EMPTY) {
    Variant converted;
    JV_TRY(ChangeType(stored.raw(), value->vt, converted.put()));
    stored = std::move(converted);
  }
  VariantClear(value);
  *value = stored.Detach();
  return S_OK;
}

HRESULT DocumentPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
  if (name == nullptr || value == nullptr) return E_POINTER;
  if (bag_ == nullptr) return E_UNEXPECTED;
  // Without a default the value is always kept: an error value equals nothing stored.
  return bag_->WriteProperty(Key(name), *value, Variant::Error(DISP_E_PARAMNOTFOUND).raw());
}

HRESULT DocumentPropertyBag::WriteWithDefault(LPCOLESTR name, VARIANT* value, VARIANT* default_value) {
  if (name == nullptr || value == nullptr || default_value == nullptr) return E_POINTER;
  if (bag_ == nullptr) return E_UNEXPECTED;
  return bag_->WriteProperty(Key(name), *value, *default_value);
}

}  // namespace jv::document
