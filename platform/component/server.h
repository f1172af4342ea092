// The runtime's services behind a component library's four entry points. Each
// entry point is a stub that hands the component's description to one of these
// and returns its result unchanged.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/component/class_factory.h"
#include "platform/component/type_description.h"
#ifndef _WIN32
#include "platform/component/registry_store.h"
#endif

namespace jv::component {

// A creatable class and its registration record.
struct ClassDesc {
  std::string_view name;
  CLSID clsid;
  std::string_view prog_id;
  std::string_view threading;  // "Apartment"
  bool control;
  IID events;                    // its default source interface, GUID_NULL for none
  std::uint32_t misc_status;     // OLEMISC_* flags
  std::uint32_t toolbox_bitmap;  // its BITMAP resource, 0 for none
  std::span<const std::string_view> property_pages;
  std::span<const GUID> categories;  // the component categories it implements (Windows)
  CreateInstanceFunction create;
};

struct ComponentDesc {
  const TypeLibraryDesc& types;
  std::span<const ClassDesc> classes;
};

// Writes the type library (with its interfaces) and every class to the default
// registry store, naming the library file that holds `address_in_library` as the
// server. Fails with the store's status: REGDB_E_INVALIDVALUE for a damaged store
// (left as it was), REGDB_E_WRITEREGDB when it cannot be written. On Windows the
// store is the system registry (registration_win.cpp).
[[nodiscard]] HRESULT RegisterServer(const ComponentDesc& component, const void* address_in_library);
// Removes exactly what RegisterServer wrote; what is not there is not an error.
[[nodiscard]] HRESULT UnregisterServer(const ComponentDesc& component);
// The class object of `clsid`; CLASS_E_CLASSNOTAVAILABLE for any class not listed.
[[nodiscard]] HRESULT GetClassObject(const ComponentDesc& component, REFCLSID clsid, REFIID riid,
                                     void** object);
// S_OK while no object of the library lives (its fonts and their dispatch views
// included) and no server lock is held, else S_FALSE.
[[nodiscard]] HRESULT CanUnloadNow();

#ifndef _WIN32
// The same registration, into a given store and with a given server path.
[[nodiscard]] HRESULT RegisterInStore(const ComponentDesc& component, const std::string& server_path,
                                      RegistryStore& store, std::string* error);
[[nodiscard]] HRESULT UnregisterFromStore(const ComponentDesc& component, RegistryStore& store,
                                          std::string* error);
#endif

// The absolute path of the loaded file that holds `address`; empty if none.
std::string LibraryPathOf(const void* address);

}  // namespace jv::component
