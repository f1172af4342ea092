// The type library that widl compiled into Jornavista.ocx, as oleaut32 reads it
// from the registration, against the type information of the Linux build (the
// JSON the Linux host's `typeinfo` prints). Where oleaut32 or widl legitimately
// answer otherwise than our own type information, the dump is normalised and
// the reason printed; anything else that differs fails.
#include <windows.h>

#include <oleauto.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "platform/component/type_library_json.h"
#include "tests/windows/check.h"

namespace jv::wincheck {

HRESULT TypeLibraryDump(nlohmann::ordered_json* out);

namespace {

using nlohmann::ordered_json;

// The dispatch ids oleaut32 numbers IUnknown's and IDispatch's methods with.
bool InheritedMember(const ordered_json& m) {
  const auto id = static_cast<std::uint32_t>(m["dispid"].get<std::int32_t>());
  return id >= 0x60000000u && id < 0x60020000u && (m["flags"].get<int>() & FUNCFLAG_FRESTRICTED) != 0;
}

// The type flags of the vtable view of a dual interface.
HRESULT VtableViewFlags(const GUID& iid, WORD* flags) {
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadRegTypeLib(jornavista::LIBID_JornavistaControl, 1, 0, 0x0409, &lib);
  if (FAILED(hr)) return hr;
  ITypeInfo* dispatch = nullptr;
  hr = lib->GetTypeInfoOfGuid(iid, &dispatch);
  lib->Release();
  if (FAILED(hr)) return hr;
  HREFTYPE ref = 0;
  ITypeInfo* vtable = nullptr;
  hr = dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
  if (SUCCEEDED(hr)) hr = dispatch->GetRefTypeInfo(ref, &vtable);
  dispatch->Release();
  if (FAILED(hr)) return hr;
  TYPEATTR* attr = nullptr;
  hr = vtable->GetTypeAttr(&attr);
  if (SUCCEEDED(hr)) {
    *flags = attr->wTypeFlags;
    vtable->ReleaseTypeAttr(attr);
  }
  vtable->Release();
  return hr;
}

void Differences(const ordered_json& got, const ordered_json& want, const std::string& path,
                 std::vector<std::string>* out) {
  if (out->size() >= 20) return;
  // A parsed number is unsigned where the walk wrote a signed one: compare values.
  if (got.is_number() && want.is_number()) {
    if (got != want) out->push_back(path + ": got " + got.dump() + ", want " + want.dump());
    return;
  }
  if (got.type() != want.type()) {
    out->push_back(path + ": got " + got.dump() + ", want " + want.dump());
    return;
  }
  if (got.is_object()) {
    for (const auto& [key, value] : want.items()) {
      if (!got.contains(key))
        out->push_back(path + "." + key + ": missing");
      else
        Differences(got[key], value, path + "." + key, out);
    }
    for (const auto& [key, value] : got.items())
      if (!want.contains(key)) out->push_back(path + "." + key + ": not expected: " + value.dump());
    return;
  }
  if (got.is_array()) {
    if (got.size() != want.size()) out->push_back(path + ": " + std::to_string(got.size()) + " items, want " +
                                                  std::to_string(want.size()));
    for (std::size_t i = 0; i < got.size() && i < want.size(); ++i)
      Differences(got[i], want[i], path + "[" + std::to_string(i) + "]", out);
    return;
  }
  if (got != want) out->push_back(path + ": got " + got.dump() + ", want " + want.dump());
}

}  // namespace

void TypeLibraryChecks(Report& report, const std::wstring& expected_path) {
  Case t(report, "the registered type library, read by oleaut32, is the Linux build's type information");
  std::ifstream in(expected_path.c_str());
  std::stringstream text;
  text << in.rdbuf();
  const ordered_json parsed = ordered_json::parse(text.str(), nullptr, false);
  if (!t.Expect(in.good() || in.eof(), "the expected JSON can be read") ||
      !t.Expect(!parsed.is_discarded(), "the expected file is JSON"))
    return;
  ordered_json want = parsed;
  ordered_json got;
  if (!t.Status(TypeLibraryDump(&got), S_OK, "LoadRegTypeLib and the walk through ITypeLib")) return;

  // Each normalisation is printed once, with its reason, when it changed something.
  auto note = [&report](bool applied, const std::string& why) {
    if (applied) report.Note("typelib: " + why);
  };
  const int disk_image = 0x8;  // LIBFLAG_FHASDISKIMAGE
  const bool lib_flag = (got["flags"].get<int>() & disk_image) != 0;
  got["flags"] = got["flags"].get<int>() & ~disk_image;
  note(lib_flag,
       "library flag FHASDISKIMAGE (0x8) dropped: oleaut32 sets it on every library it reads from a file");
  bool inherited = false, automation = false, put_names = false;
  for (ordered_json& type : got["types"]) {
    if (type["kind"] != "dispinterface" || (type["flags"].get<int>() & TYPEFLAG_FDUAL) == 0) continue;
    ordered_json own = ordered_json::array();
    for (ordered_json& m : type["members"]) {
      if (InheritedMember(m))
        inherited = true;
      else
        own.push_back(m);
    }
    type["members"] = own;
    GUID iid{};
    WORD vtable_flags = 0;
    const std::string guid = type["guid"];
    std::wstring wide(guid.begin(), guid.end());
    if ((type["flags"].get<int>() & TYPEFLAG_FOLEAUTOMATION) == 0 && SUCCEEDED(IIDFromString(wide.c_str(), &iid)) &&
        SUCCEEDED(VtableViewFlags(iid, &vtable_flags)) && (vtable_flags & TYPEFLAG_FOLEAUTOMATION) != 0) {
      automation = true;
      type["flags"] = type["flags"].get<int>() | TYPEFLAG_FOLEAUTOMATION;
      ordered_json names = ordered_json::array();
      bool placed = false;
      for (const auto& n : type["flag_names"]) {
        // The names run in the order of their bits: oleautomation (0x100) comes
        // before the first name of a higher bit.
        const bool higher = n == "restricted" || n == "aggregatable" || n == "replaceable" || n == "dispatchable";
        if (higher && !placed) {
          names.push_back("oleautomation");
          placed = true;
        }
        names.push_back(n);
      }
      if (!placed) names.push_back("oleautomation");
      type["flag_names"] = names;
    }
  }
  note(inherited,
       "the dual interface's dispatch view lists the 7 IUnknown and IDispatch methods it inherits (restricted, "
       "0x6000000x/0x6001000x); our type information lists the interface's own members only: dropped");
  note(automation,
       "widl puts the oleautomation flag on the vtable view of the dual interface, not on its dispatch view; "
       "taken from the vtable view");
  // In a compiled type library the right side of a property put is unnamed: widl,
  // like MIDL, writes no name for it (Jornavista.tlb holds no "New_" at all), and
  // GetNames returns none. The expectation keeps the rest of the parameter.
  for (ordered_json& type : want["types"])
    for (ordered_json& m : type["members"]) {
      if (m["kind"] != "propput" && m["kind"] != "propputref") continue;
      for (ordered_json& p : m["params"]) {
        if (p["name"] != "") put_names = true;
        p["name"] = "";
      }
    }
  note(put_names,
       "a property put's parameter name (New_BackColor, ...) is not compared: a compiled type library "
       "leaves the right side of a put unnamed (widl writes no name for it)");

  std::vector<std::string> differences;
  Differences(got, want, "typelib", &differences);
  for (const std::string& d : differences) t.Expect(false, d);
  if (differences.empty()) report.Note("typelib: no other difference from the Linux type information");
}

}  // namespace jv::wincheck
