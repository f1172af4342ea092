#include "platform/component/class_factory.h"

#include <new>

#include "platform/automation/ref_counted.h"
#include "platform/component/module.h"

namespace jv::component {

namespace {

class ClassFactory final : public RefCounted<IClassFactorySite> {
 public:
  explicit ClassFactory(CreateInstanceFunction create) : create_(create) {}

  HRESULT JV_STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(nullptr, riid, object);
  }
  HRESULT JV_STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      ModuleLock::Lock();
    else
      ModuleLock::Unlock();
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE CreateInstanceOnSite(IControlSite* site, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return create_(site, riid, object);
  }

 private:
  ~ClassFactory() = default;

  CountedByModule counted_;
  CreateInstanceFunction create_;
};

}  // namespace

HRESULT CreateClassFactory(CreateInstanceFunction create, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  auto* factory = new (std::nothrow) ClassFactory(create);
  if (factory == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}

}  // namespace jv::component
