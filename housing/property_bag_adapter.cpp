#include "housing/property_bag_adapter.h"

#include "platform/component/control_site.h"

namespace jv::housing {

namespace {

// The bag takes names as zero-terminated strings; a key with a zero inside would
// be cut short there, so it is refused instead.
HRESULT Name(TextView key, Text* out) {
  if (key.empty() || key.find(u'\0') != TextView::npos) return E_INVALIDARG;
  *out = Text(key);
  return S_OK;
}

}  // namespace

HRESULT PropertyBagAdapter::ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) {
  if (out == nullptr) return E_POINTER;
  Text name;
  JV_TRY(Name(key, &name));
  Variant value;
  const HRESULT hr = bag_.Read(reinterpret_cast<LPCOLESTR>(name.c_str()), value.put(), log_);
  if (hr == E_INVALIDARG) {
    Variant copy;
    JV_TRY(Variant::Copy(default_value, &copy));
    value = std::move(copy);
  } else if (FAILED(hr)) {
    return hr;
  }
  VariantClear(out);
  *out = value.Detach();
  return S_OK;
}

HRESULT PropertyBagAdapter::WriteProperty(TextView key, const VARIANT& value, const VARIANT& default_value) {
  Text name;
  JV_TRY(Name(key, &name));
  // The bag's Write takes a non-const variant, though it only reads it.
  Variant copy;
  JV_TRY(Variant::Copy(value, &copy));
  const auto* const oname = reinterpret_cast<LPCOLESTR>(name.c_str());
  // A bag that can take the default decides itself whether to keep the value.
  ComPtr<IPropertyBagDefaults> with_defaults;
  if (SUCCEEDED(
          bag_.QueryInterface(IID_IPropertyBagDefaults, reinterpret_cast<void**>(with_defaults.put()))) &&
      with_defaults) {
    Variant default_copy;
    JV_TRY(Variant::Copy(default_value, &default_copy));
    VARIANT raw = copy.Detach(), raw_default = default_copy.Detach();
    const HRESULT hr = with_defaults->WriteWithDefault(oname, &raw, &raw_default);
    VariantClear(&raw);
    VariantClear(&raw_default);
    return hr;
  }
  VARIANT raw = copy.Detach();
  const HRESULT hr = bag_.Write(oname, &raw);
  VariantClear(&raw);
  return hr;
}

}  // namespace jv::housing
