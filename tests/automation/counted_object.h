// A plain object with only IUnknown, for tests: it counts its references and says
// when it has ended, so that leaks and early releases show.
#pragma once

#include "platform/automation/unknown.h"

namespace jv::testing {

class CountedObject final : public IUnknown {
 public:
  // *ended becomes true when the last reference goes.
  static CountedObject* Create(bool* ended) { return new CountedObject(ended); }

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!(riid == IID_IUnknown)) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) {
      *ended_ = true;
      delete this;
    }
    return left;
  }
  ULONG refs() const { return refs_; }

 private:
  explicit CountedObject(bool* ended) : ended_(ended) { *ended_ = false; }
  ~CountedObject() = default;

  ULONG refs_ = 1;
  bool* ended_;
};

}  // namespace jv::testing
