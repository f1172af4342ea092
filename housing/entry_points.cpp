// The four exports of Jornavista.ocx. Each hands the component's description to
// the runtime's service of the same name and returns its result unchanged.
#include "housing/jornavista_typelib.h"
#include "platform/component/server.h"

#ifdef _WIN32
// The system's declarations (STDAPI): the COM calling convention, which on 32-bit
// Windows is __stdcall. Jornavista.def names the exports.
#define JV_EXPORT extern "C" HRESULT STDAPICALLTYPE
#else
#define JV_EXPORT extern "C" __attribute__((visibility("default"))) HRESULT
#endif

JV_EXPORT DllRegisterServer() {
  // Any address inside this library tells the service which file it is.
  return jv::component::RegisterServer(jv::housing::Component(),
                                       reinterpret_cast<const void*>(&DllRegisterServer));
}

JV_EXPORT DllUnregisterServer() { return jv::component::UnregisterServer(jv::housing::Component()); }

JV_EXPORT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return jv::component::GetClassObject(jv::housing::Component(), clsid, riid, object);
}

JV_EXPORT DllCanUnloadNow() { return jv::component::CanUnloadNow(); }
