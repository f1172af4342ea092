// The four exports of Jornavista.ocx. Each hands the component's description to
// the runtime's service of the same name and returns its result unchanged.
#include "housing/jornavista_typelib.h"
#include "platform/component/server.h"

#ifdef _WIN32
// Jornavista.def names the exports.
#define JV_EXPORT extern "C"
#else
#define JV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

JV_EXPORT HRESULT DllRegisterServer() {
  // Any address inside this library tells the service which file it is.
  return jv::component::RegisterServer(jv::housing::Component(),
                                       reinterpret_cast<const void*>(&DllRegisterServer));
}

JV_EXPORT HRESULT DllUnregisterServer() { return jv::component::UnregisterServer(jv::housing::Component()); }

JV_EXPORT HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return jv::component::GetClassObject(jv::housing::Component(), clsid, riid, object);
}

JV_EXPORT HRESULT DllCanUnloadNow() { return jv::component::CanUnloadNow(); }
