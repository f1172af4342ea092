#include "housing/ambient_properties.h"

namespace jv::housing {

namespace {

// A Boolean ambient property; nothing when the site does not answer it as one.
bool AskBool(IDispatch& ambient, DISPID id, bool* out) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  if (FAILED(ambient.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result, nullptr,
                            nullptr)))
    return false;
  const bool ok = SUCCEEDED(VariantChangeType(&result, &result, 0, VT_BOOL));
  if (ok) *out = result.boolVal != VARIANT_FALSE;
  VariantClear(&result);
  return ok;
}

}  // namespace

void AmbientProperties::Read(IOleClientSite* site) {
  user_mode_ = true;
  ui_dead_ = false;
  ComPtr<IDispatch> ambient;
  if (site == nullptr ||
      FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ambient.put()))) || !ambient)
    return;
  (void)AskBool(*ambient.get(), DISPID_AMBIENT_USERMODE, &user_mode_);
  (void)AskBool(*ambient.get(), DISPID_AMBIENT_UIDEAD, &ui_dead_);
}

void AmbientProperties::Take(DWORD flags, IFont* font) {
  user_mode_ = (flags & QACONTAINER_USERMODE) != 0;
  ui_dead_ = (flags & QACONTAINER_UIDEAD) != 0;
  font_ = ComPtr<IFont>(font);
}

}  // namespace jv::housing
