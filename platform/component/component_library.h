// A host's handle on a component library: loaded by path, its four entry points
// resolved, and the registry lookup that turns a programmatic identifier into a
// class identifier and the library that serves it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/automation/unknown.h"
#include "platform/component/registry_store.h"

namespace jv::component {

class ComponentLibrary {
 public:
  // Loads the file and resolves DllRegisterServer, DllUnregisterServer,
  // DllGetClassObject and DllCanUnloadNow. A file that cannot be loaded, or lacks
  // one of them, fails with E_INVALIDARG and a message.
  [[nodiscard]] static HRESULT Load(const std::string& path, std::unique_ptr<ComponentLibrary>* out,
                                    std::string* error);
  // Unloads the library when it says it may; while an object of it still lives,
  // the library stays loaded rather than pull its code from under that object.
  ~ComponentLibrary();
  ComponentLibrary(const ComponentLibrary&) = delete;
  ComponentLibrary& operator=(const ComponentLibrary&) = delete;

  [[nodiscard]] HRESULT RegisterServer() { return register_(); }
  [[nodiscard]] HRESULT UnregisterServer() { return unregister_(); }
  [[nodiscard]] HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return get_class_object_(clsid, riid, object);
  }
  [[nodiscard]] HRESULT CanUnloadNow() { return can_unload_now_(); }
  // The class object's CreateInstance, with the class object released afterwards.
  [[nodiscard]] HRESULT CreateInstance(REFCLSID clsid, REFIID riid, void** object);

  const std::string& path() const { return path_; }
  bool unloaded_at_end() const { return handle_ == nullptr; }
  // Unloads now if the library says it may; S_FALSE (and still loaded) if not.
  [[nodiscard]] HRESULT Unload();

 private:
  ComponentLibrary() = default;

  using Status = HRESULT (*)();
  using GetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);

  std::string path_;
  void* handle_ = nullptr;
  Status register_ = nullptr;
  Status unregister_ = nullptr;
  GetClassObjectFn get_class_object_ = nullptr;
  Status can_unload_now_ = nullptr;
};

struct RegisteredClass {
  CLSID clsid{};
  std::string name;
  std::string prog_id;
  std::string server;  // the library file
};

// Finds a class by its programmatic identifier or by its class identifier in
// registry form. REGDB_E_CLASSNOTREG when the store has no such class; the store's
// own failure when it cannot be read.
[[nodiscard]] HRESULT FindRegisteredClass(const RegistryStore& store, std::string_view prog_id_or_clsid,
                                          RegisteredClass* out, std::string* error);

}  // namespace jv::component
