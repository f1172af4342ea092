// Registration into the registry store, and the path of a loaded library, on
// POSIX systems (dladdr).
#include <dlfcn.h>
#include <stdlib.h>

#include <cstdio>

#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"
#include "platform/component/server.h"

namespace jv::component {

namespace {

using nlohmann::json;

json ClassEntry(const ComponentDesc& c, const ClassDesc& k, const std::string& server) {
  json e = json::object();
  e["name"] = k.name;
  e["progid"] = k.prog_id;
  e["server"] = server;
  e["threading"] = k.threading;
  e["control"] = k.control;
  if (!(k.events == GUID_NULL)) e["events"] = GuidToString(k.events);
  char misc[16];
  std::snprintf(misc, sizeof misc, "0x%X", k.misc_status);
  e["misc_status"] = misc;
  if (k.toolbox_bitmap != 0) e["toolbox_bitmap"] = {{"file", server}, {"resource", k.toolbox_bitmap}};
  e["property_pages"] = json::array();
  for (std::string_view page : k.property_pages) e["property_pages"].push_back(page);
  e["typelib"] = GuidToString(c.types.guid);
  e["version"] = VersionText(c.types.major, c.types.minor);
  return e;
}

}  // namespace

std::string LibraryPathOf(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  char* resolved = realpath(info.dli_fname, nullptr);
  if (resolved == nullptr) return info.dli_fname;
  std::string path(resolved);
  free(resolved);
  return path;
}

HRESULT RegisterInStore(const ComponentDesc& c, const std::string& server, RegistryStore& store,
                        std::string* error) {
  return store.Update(
      [&](json& doc) -> HRESULT {
        const json before = doc;
        const std::string libid = GuidToString(c.types.guid);
        const std::string version = VersionText(c.types.major, c.types.minor);
        json lib = json::object();
        lib["name"] = c.types.name;
        lib["help"] = c.types.help;
        char lcid[16];
        std::snprintf(lcid, sizeof lcid, "0x%04X", c.types.lcid);
        lib["lcid"] = lcid;
        lib["path"] = server;
        lib["flags"] = c.types.flags;
        doc["typelibs"][libid][version] = lib;
        for (const TypeDesc& t : c.types.types) {
          if (t.kind != TKIND_DISPATCH) continue;
          doc["interfaces"][GuidToString(t.guid)] = {
              {"name", t.name},
              {"kind", (t.flags & TYPEFLAG_FDUAL) != 0 ? "dual" : "dispatch"},
              {"typelib", libid},
              {"version", version}};
        }
        for (const ClassDesc& k : c.classes) {
          const std::string clsid = GuidToString(k.clsid);
          doc["classes"][clsid] = ClassEntry(c, k, server);
          if (!k.prog_id.empty())
            doc["progids"][std::string(k.prog_id)] = {{"clsid", clsid}, {"name", k.name}};
        }
        return doc == before ? S_FALSE : S_OK;
      },
      error);
}

HRESULT UnregisterFromStore(const ComponentDesc& c, RegistryStore& store, std::string* error) {
  return store.Update(
      [&](json& doc) -> HRESULT {
        const json before = doc;
        const std::string libid = GuidToString(c.types.guid);
        for (const ClassDesc& k : c.classes) {
          const std::string clsid = GuidToString(k.clsid);
          doc["classes"].erase(clsid);
          json& progids = doc["progids"];
          const auto p = progids.find(std::string(k.prog_id));
          if (p != progids.end() && p->value("clsid", "") == clsid) progids.erase(p);
        }
        for (const TypeDesc& t : c.types.types) {
          json& interfaces = doc["interfaces"];
          const auto i = interfaces.find(GuidToString(t.guid));
          if (i != interfaces.end() && i->value("typelib", "") == libid) interfaces.erase(i);
        }
        json& libs = doc["typelibs"];
        if (const auto l = libs.find(libid); l != libs.end()) {
          l->erase(VersionText(c.types.major, c.types.minor));
          if (l->empty()) libs.erase(l);
        }
        return doc == before ? S_FALSE : S_OK;
      },
      error);
}

HRESULT RegisterServer(const ComponentDesc& component, const void* address_in_library) {
  const std::string server = LibraryPathOf(address_in_library);
  if (server.empty()) return SELFREG_E_CLASS;
  RegistryStore store(DefaultRegistryPath());
  std::string error;
  const HRESULT hr = RegisterInStore(component, server, store, &error);
  return hr == S_FALSE ? S_OK : hr;
}

HRESULT UnregisterServer(const ComponentDesc& component) {
  RegistryStore store(DefaultRegistryPath());
  std::string error;
  const HRESULT hr = UnregisterFromStore(component, store, &error);
  return hr == S_FALSE ? S_OK : hr;
}

}  // namespace jv::component
