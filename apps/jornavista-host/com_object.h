// What the host's own COM objects (its sites and sinks) share: reference counting
// and the one-interface QueryInterface, and how the host writes a status or a
// dispatch id.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/automation/unknown.h"

namespace jv::host {

// A host object that answers one interface besides IUnknown. Created with one
// reference, deleted by the last Release.
template <class Interface>
class Counted : public Interface {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~Counted() = default;
  HRESULT Answer(REFIID riid, const IID& own, void** object) {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == own) {
      *object = static_cast<Interface*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

 private:
  ULONG refs_ = 1;
};

// A status code or a dispatch id as the host prints it: "0x80020003".
inline std::string Hex32(std::uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(value));
  return buf;
}

}  // namespace jv::host
