#include "platform/component/component_library.h"

#include <dlfcn.h>

#include "platform/automation/ocidl.h"
#include "platform/component/guid_text.h"
#include "platform/component/library_file_check.h"

namespace jv::component {

HRESULT ComponentLibrary::Load(const std::string& path, std::unique_ptr<ComponentLibrary>* out,
                               std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  // A bare name would make dlopen search the library path; a host means the file.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  if (auto reason = CheckLibraryFile(file)) {
    *error = "cannot load " + path + ": " + *reason;
    return E_INVALIDARG;
  }
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    *error = "cannot load " + path + ": " + (why != nullptr ? why : "unknown reason");
    return E_INVALIDARG;
  }
  std::unique_ptr<ComponentLibrary> lib(new ComponentLibrary());
  lib->path_ = path;
  lib->handle_ = handle;
  struct Entry {
    const char* name;
    void** slot;
  };
  const Entry entries[] = {
      {"DllRegisterServer", reinterpret_cast<void**>(&lib->register_)},
      {"DllUnregisterServer", reinterpret_cast<void**>(&lib->unregister_)},
      {"DllGetClassObject", reinterpret_cast<void**>(&lib->get_class_object_)},
      {"DllCanUnloadNow", reinterpret_cast<void**>(&lib->can_unload_now_)},
  };
  for (const Entry& e : entries) {
    *e.slot = dlsym(handle, e.name);
    if (*e.slot == nullptr) {
      *error = path + " is no component library: it does not export " + e.name;
      return E_INVALIDARG;  // the destructor unloads it: nothing of it was used
    }
  }
  *out = std::move(lib);
  return S_OK;
}

ComponentLibrary::~ComponentLibrary() {
  if (handle_ == nullptr) return;
  if (can_unload_now_ == nullptr || can_unload_now_() == S_OK) dlclose(handle_);
}

HRESULT ComponentLibrary::Unload() {
  if (handle_ == nullptr) return S_OK;
  if (can_unload_now_() != S_OK) return S_FALSE;
  dlclose(handle_);
  handle_ = nullptr;
  return S_OK;
}

HRESULT ComponentLibrary::CreateInstance(REFCLSID clsid, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (handle_ == nullptr) return E_UNEXPECTED;
  IClassFactory* factory = nullptr;
  JV_TRY(GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
  const HRESULT hr = factory->CreateInstance(nullptr, riid, object);
  factory->Release();
  return hr;
}

namespace {

HRESULT FindIn(nlohmann::json& doc, const RegistryStore& store, std::string_view key, RegisteredClass* out,
               std::string* error) {
  std::string clsid_text;
  GUID clsid{};
  if (ParseGuid(key, &clsid)) {
    clsid_text = GuidToString(clsid);
  } else {
    const nlohmann::json& progids = doc["progids"];
    const auto p = progids.find(std::string(key));
    if (p == progids.end()) {
      *error = "no class is registered as " + std::string(key) + " in " + store.path();
      return REGDB_E_CLASSNOTREG;
    }
    clsid_text = p->value("clsid", "");
    if (!ParseGuid(clsid_text, &clsid)) {
      *error = std::string(key) + " names no valid class identifier in " + store.path();
      return REGDB_E_INVALIDVALUE;
    }
    clsid_text = GuidToString(clsid);
  }
  const nlohmann::json& classes = doc["classes"];
  const auto c = classes.find(clsid_text);
  if (c == classes.end()) {
    *error = "class " + clsid_text + " is not registered in " + store.path();
    return REGDB_E_CLASSNOTREG;
  }
  const auto server = c->find("server");
  if (server == c->end() || !server->is_string() || server->get<std::string>().empty()) {
    *error = "class " + clsid_text + " has no server library in " + store.path();
    return REGDB_E_INVALIDVALUE;
  }
  out->clsid = clsid;
  out->server = server->get<std::string>();
  out->name = c->value("name", "");
  out->prog_id = c->value("progid", "");
  return S_OK;
}

}  // namespace

HRESULT FindRegisteredClass(const RegistryStore& store, std::string_view key, RegisteredClass* out,
                            std::string* error) {
  if (out == nullptr || error == nullptr) return E_POINTER;
  nlohmann::json doc;
  JV_TRY(store.Read(&doc, error));
  try {
    return FindIn(doc, store, key, out, error);
  } catch (const std::exception& e) {
    // An entry of the right name whose fields have the wrong types.
    *error = store.path() + " holds a malformed entry for " + std::string(key) + ": " + e.what();
    return REGDB_E_INVALIDVALUE;
  }
}

}  // namespace jv::component
