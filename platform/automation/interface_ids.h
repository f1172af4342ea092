// The interface ids each C++ interface type answers to in QueryInterface: its own
// and those of the interfaces it derives from, IUnknown apart. RefCounted answers
// QueryInterface from its list of interfaces through this trait, so an object names
// the interfaces it serves once, in its base list; an interface without its ids
// does not build. Each interface's ids are declared beside it.
#pragma once

#include "platform/automation/unknown.h"

namespace jv {

// An interface id and the interface's name, for traces.
struct NamedIid {
  const IID* iid;
  const char* name;
};

template <class Interface>
struct InterfaceIds;  // static const char* Match(REFIID riid): the name, or null

// The first of Interfaces whose ids hold riid: `self` as that interface, and its
// name in *name; null when none does. For objects that serve their interfaces
// without RefCounted (parts of another object's identity).
template <class... Interfaces, class Object>
void* FindInterfaceOf(Object* self, REFIID riid, const char** name) {
  void* found = nullptr;
  ((found == nullptr && (*name = InterfaceIds<Interfaces>::Match(riid)) != nullptr
        ? (found = static_cast<Interfaces*>(self))
        : found),
   ...);
  return found;
}

// The whole QueryInterface of an object that serves Interfaces (the first is its
// identity, which IUnknown also gets): `self` as the first of them whose ids hold
// riid, with a new reference; E_NOINTERFACE and null for any other.
template <class First, class... Rest, class Object>
HRESULT QueryInterfaceOf(Object* self, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  const char* name = nullptr;
  void* found =
      riid == IID_IUnknown ? static_cast<First*>(self) : FindInterfaceOf<First, Rest...>(self, riid, &name);
  if (found == nullptr) return E_NOINTERFACE;
  self->AddRef();
  *object = found;
  return S_OK;
}

}  // namespace jv

// An IID by its interface's name: JV_IID(IPersist) is IID_IPersist, named "IPersist".
#define JV_IID(Name) \
  jv::NamedIid { &IID_##Name, #Name }

// Declares the ids of `Interface`, as JV_IIDs or NamedIids (Windows' ids are
// link-time constants). Used at global scope, beside the interface's declaration.
#define JV_INTERFACE_IDS(Interface, ...)           \
  template <>                                      \
  struct jv::InterfaceIds<Interface> {             \
    static const char* Match(REFIID riid) {        \
      for (const jv::NamedIid& id : {__VA_ARGS__}) \
        if (*id.iid == riid) return id.name;       \
      return nullptr;                              \
    }                                              \
  }

JV_INTERFACE_IDS(IUnknown, JV_IID(IUnknown));
