// The reference counting that the apps' own COM objects (sites, sinks, property
// bags) share, so that none of them writes AddRef and Release again.
#pragma once

#include "platform/automation/unknown.h"

namespace jv::apps {

// An object that implements one or more interfaces, each derived from IUnknown.
// Created with one reference, deleted by the last Release. Its identity is the
// first interface.
template <class First, class... Rest>
class Counted : public First, public Rest... {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~Counted() = default;

  // QueryInterface for an object with one interface besides IUnknown.
  HRESULT Answer(REFIID riid, const IID& own, void** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!(riid == IID_IUnknown || riid == own)) return E_NOINTERFACE;
    return Hand<First>(object);
  }
  // Hands out the object as Interface, with a new reference.
  template <class Interface>
  HRESULT Hand(void** object) {
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }

 private:
  ULONG refs_ = 1;
};

}  // namespace jv::apps
