// The interface ids each C++ interface type answers to in QueryInterface: its own
// and those of the interfaces it derives from, IUnknown apart. RefCounted answers
// QueryInterface from its list of interfaces through this trait, so an object names
// the interfaces it serves once, in its base list; an interface without its ids
// does not build.
#pragma once

#include "platform/automation/dispatch.h"
#include "platform/automation/font.h"
#include "platform/automation/ocidl.h"
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

}  // namespace jv

// An IID by its interface's name: JV_IID(IPersist) is IID_IPersist, named "IPersist".
#define JV_IID(Name) \
  jv::NamedIid { &IID_##Name, #Name }

// Declares the ids of `Interface`, as JV_IIDs or NamedIids (Windows' ids are
// link-time constants). Used at global scope, beside the interface's declaration.
#define JV_INTERFACE_IDS(Interface, ...)             \
  template <>                                        \
  struct jv::InterfaceIds<Interface> {               \
    static const char* Match(REFIID riid) {          \
      for (const jv::NamedIid& id : {__VA_ARGS__})   \
        if (*id.iid == riid) return id.name;         \
      return nullptr;                                \
    }                                                \
  }

JV_INTERFACE_IDS(IUnknown, JV_IID(IUnknown));
JV_INTERFACE_IDS(IDispatch, JV_IID(IDispatch));
JV_INTERFACE_IDS(IFont, JV_IID(IFont));
JV_INTERFACE_IDS(IClassFactory, JV_IID(IClassFactory));
JV_INTERFACE_IDS(IConnectionPoint, JV_IID(IConnectionPoint));
JV_INTERFACE_IDS(IConnectionPointContainer, JV_IID(IConnectionPointContainer));
JV_INTERFACE_IDS(IEnumConnections, JV_IID(IEnumConnections));
JV_INTERFACE_IDS(IEnumConnectionPoints, JV_IID(IEnumConnectionPoints));
JV_INTERFACE_IDS(IPropertyNotifySink, JV_IID(IPropertyNotifySink));
JV_INTERFACE_IDS(IPropertyBag, JV_IID(IPropertyBag));
JV_INTERFACE_IDS(IPersistPropertyBag, JV_IID(IPersist), JV_IID(IPersistPropertyBag));
JV_INTERFACE_IDS(IProvideClassInfo, JV_IID(IProvideClassInfo));
