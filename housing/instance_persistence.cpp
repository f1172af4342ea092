// The instance's persistence through a container's property bag.
#include "housing/jornavista_instance.h"
#include "housing/property_bag_adapter.h"

namespace jv::housing {

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = jornavista::CLSID_ctrJornavista;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::InitNew() {
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  const Hold hold(this);
  JV_TRY(control_->InitProperties());
  initialized_ = true;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  if (initialized_) return CO_E_ALREADYINITIALIZED;
  const Hold hold(this);
  PropertyBagAdapter adapter(*bag, log);
  JV_TRY(control_->ReadProperties(adapter));
  initialized_ = true;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::Save(IPropertyBag* bag, BOOL, BOOL) {
  if (bag == nullptr) return E_POINTER;
  const Hold hold(this);
  PropertyBagAdapter adapter(*bag, nullptr);
  return control_->WriteProperties(adapter);
}

}  // namespace jv::housing
