#include "platform/component/server.h"

#include "platform/component/module.h"

namespace jv::component {

HRESULT GetClassObject(const ComponentDesc& component, REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const ClassDesc& k : component.classes)
    if (k.clsid == clsid) return CreateClassFactory(k.create, riid, object);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() { return ModuleLock::CanUnload() ? S_OK : S_FALSE; }

}  // namespace jv::component
