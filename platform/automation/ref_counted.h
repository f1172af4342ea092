// The lifetime half of IUnknown written once: a reference count that ends the
// object on its last Release, and the QueryInterface answers of an object that
// serves one or several interfaces.
#pragma once

#include <initializer_list>

#include "platform/automation/unknown.h"

namespace jv {

// An object implementing First and each of Rest (all derived from IUnknown).
// Its identity, the IUnknown that QueryInterface hands out, is First. Created
// with one reference; the last Release deletes it. Used from one apartment
// (thread) only, as every object of this system is, so the count is plain.
template <class First, class... Rest>
class RefCounted : public First, public Rest... {
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

  // The whole QueryInterface of an object that answers IUnknown and each of
  // `own` through First: a new reference for those, E_NOINTERFACE and null
  // otherwise.
  HRESULT Answer(REFIID riid, void** object, std::initializer_list<IID> own) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    bool known = riid == IID_IUnknown;
    for (const IID& id : own) known = known || riid == id;
    if (!known) return E_NOINTERFACE;
    return Hand<First>(object);
  }

  // Hands out the object as Interface, with a new reference: the step of a
  // QueryInterface that serves interfaces through different bases.
  template <class Interface>
  HRESULT Hand(void** object) {
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }

  // The count as it stands, for objects that report it (test doubles).
  ULONG refs() const { return refs_; }

 private:
  ULONG refs_ = 1;
};

}  // namespace jv
