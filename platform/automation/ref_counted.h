// The lifetime half of IUnknown written once: a reference count that ends the
// object on its last Release, and the QueryInterface answer of an object that
// serves a fixed set of interfaces.
#pragma once

#include <initializer_list>

#include "platform/automation/unknown.h"

namespace jv {

// An object implementing Interface (and whatever the subclass adds). Created with
// one reference; the last Release deletes it. Used from one apartment (thread)
// only, as every object of this system is, so the count is plain.
template <class Interface>
class RefCounted : public Interface {
 public:
  ULONG JV_STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG JV_STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  RefCounted() = default;
  RefCounted(const RefCounted&) = delete;
  RefCounted& operator=(const RefCounted&) = delete;
  virtual ~RefCounted() = default;

  // QueryInterface for an object that is IUnknown and each of `own` through its
  // Interface face: a new reference for those, E_NOINTERFACE and null otherwise.
  HRESULT Answer(REFIID riid, void** object, std::initializer_list<IID> own) {
    if (object == nullptr) return E_POINTER;
    bool known = riid == IID_IUnknown;
    for (const IID& id : own) known = known || riid == id;
    if (!known) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
};

}  // namespace jv
