// IUnknown written once: a reference count that ends the object on its last
// Release, and the QueryInterface of an object that serves one or several
// interfaces, answered from the list of interfaces it derives from.
#pragma once

#include "platform/automation/interface_ids.h"
#include "platform/automation/unknown.h"

namespace jv {

// An object implementing First and each of Rest (all derived from IUnknown).
// Its identity, the IUnknown that QueryInterface hands out, is First. Created
// with one reference; the last Release deletes it. Used from one apartment
// (thread) only, as every object of this system is, so the count is plain.
template <class First, class... Rest>
class RefCounted : public First, public Rest... {
 public:
  // IUnknown and the ids of First (as First, the identity) and of each of Rest (as
  // that base): a new reference; E_NOINTERFACE and null for any other. An object
  // that serves more (a tear-off, a part) answers those first, then calls this.
  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return QueryInterfaceOf<First, Rest...>(this, riid, object);
  }
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

  // The count as it stands, for objects that report it (test doubles).
  ULONG refs() const { return refs_; }

 private:
  ULONG refs_ = 1;
};

}  // namespace jv
