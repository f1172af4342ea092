#include "housing/property_record.h"

#include <new>

namespace jv::housing {

namespace {

TextView NameOf(LPCOLESTR name) { return TextView(reinterpret_cast<const char16_t*>(name)); }

}  // namespace

PropertyRecord* PropertyRecord::Create(std::vector<NamedProperty> properties) {
  return new (std::nothrow) PropertyRecord(std::move(properties));
}

HRESULT PropertyRecord::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
  if (name == nullptr || value == nullptr) return E_POINTER;
  for (const NamedProperty& p : properties_) {
    if (p.name != NameOf(name)) continue;
    Variant v;
    JV_TRY(PropertyValueToVariant(p.value, &v));
    VariantClear(value);
    *value = v.Detach();
    return S_OK;
  }
  return E_INVALIDARG;
}

HRESULT PropertyRecord::Write(LPCOLESTR name, VARIANT* value) {
  if (name == nullptr || value == nullptr) return E_POINTER;
  const TextView key = NameOf(name);
  if (key.empty()) return E_INVALIDARG;
  if (key.size() > UINT16_MAX) return kRecordTooLarge;
  PropertyValue converted;
  JV_TRY(PropertyValueFromVariant(*value, &converted));
  JV_TRY(CheckRecordValue(converted));
  for (NamedProperty& p : properties_)
    if (p.name == key) {
      p.value = std::move(converted);
      return S_OK;
    }
  properties_.push_back({Text(key), std::move(converted)});
  return S_OK;
}

}  // namespace jv::housing
