#include "platform/component/type_library_json.h"

#include <cstdio>
#include <set>
#include <span>
#include <string>
#include <utility>

#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"
#include "platform/component/type_flag_names.h"

namespace jv::component {

namespace {

using nlohmann::ordered_json;

std::string Utf8(BSTR b) {
  const std::string s = ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b)));
  SysFreeString(b);
  return s;
}

ordered_json FlagNames(std::uint32_t flags, std::span<const FlagName> names) {
  ordered_json list = ordered_json::array();
  for (const FlagName& f : names)
    if ((flags & f.bit) != 0) list.push_back(f.name);
  return list;
}

// A value's name in a table of names, or `other` for a value the table lacks.
template <class Value, std::size_t N>
const char* NameIn(Value value, const std::pair<Value, const char*> (&names)[N], const char* other) {
  for (const auto& [known, name] : names)
    if (known == value) return name;
  return other;
}

const char* KindName(TYPEKIND kind) {
  static constexpr std::pair<TYPEKIND, const char*> kNames[] = {{TKIND_ENUM, "enum"},
                                                                {TKIND_RECORD, "record"},
                                                                {TKIND_MODULE, "module"},
                                                                {TKIND_INTERFACE, "interface"},
                                                                {TKIND_DISPATCH, "dispinterface"},
                                                                {TKIND_COCLASS, "coclass"},
                                                                {TKIND_ALIAS, "alias"},
                                                                {TKIND_UNION, "union"}};
  return NameIn(kind, kNames, "unknown");
}

const char* InvokeName(INVOKEKIND kind) {
  static constexpr std::pair<INVOKEKIND, const char*> kNames[] = {{INVOKE_PROPERTYGET, "propget"},
                                                                  {INVOKE_PROPERTYPUT, "propput"},
                                                                  {INVOKE_PROPERTYPUTREF, "propputref"}};
  return NameIn(kind, kNames, "method");
}

// Walks one library; the libraries its references lead into are its imports.
class Walker {
 public:
  HRESULT TypeName(ITypeInfo* owner, const TYPEDESC& t, std::string* out) {
    switch (t.vt) {
      case VT_PTR: {
        std::string inner;
        JV_TRY(TypeName(owner, *t.lptdesc, &inner));
        *out = inner + "*";
        return S_OK;
      }
      case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        JV_TRY(owner->GetRefTypeInfo(t.hreftype, ref.put()));
        return NameOf(ref.get(), out);
      }
      case VT_VOID:
        *out = "void";
        return S_OK;
      case VT_BOOL:
        *out = "VARIANT_BOOL";
        return S_OK;
      case VT_I2:
        *out = "short";
        return S_OK;
      case VT_I4:
        *out = "long";
        return S_OK;
      case VT_R4:
        *out = "float";
        return S_OK;
      case VT_R8:
        *out = "double";
        return S_OK;
      case VT_BSTR:
        *out = "BSTR";
        return S_OK;
      case VT_UI1:
        *out = "unsigned char";
        return S_OK;
      case VT_UI4:
        *out = "unsigned long";
        return S_OK;
      case VT_CY:
        *out = "CURRENCY";
        return S_OK;
      case VT_DATE:
        *out = "DATE";
        return S_OK;
      case VT_VARIANT:
        *out = "VARIANT";
        return S_OK;
      case VT_DISPATCH:
        *out = "IDispatch*";
        return S_OK;
      case VT_UNKNOWN:
        *out = "IUnknown*";
        return S_OK;
      case VT_HRESULT:
        *out = "HRESULT";
        return S_OK;
      default:
        *out = "vt" + std::to_string(t.vt);
        return S_OK;
    }
  }

  // The type's name, noting the library it lives in when that is not ours.
  HRESULT NameOf(ITypeInfo* info, std::string* out) {
    BSTR name = nullptr;
    JV_TRY(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr));
    *out = Utf8(name);
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    if (SUCCEEDED(info->GetContainingTypeLib(lib.put(), &index))) {
      TLIBATTR* attr = nullptr;
      if (SUCCEEDED(lib->GetLibAttr(&attr))) {
        if (!(attr->guid == own_)) NoteImport(lib.get(), *attr);
        lib->ReleaseTLibAttr(attr);
      }
    }
    return S_OK;
  }

  void NoteImport(ITypeLib* lib, const TLIBATTR& attr) {
    const std::string id = GuidToString(attr.guid);
    if (!seen_.insert(id).second) return;
    BSTR name = nullptr;
    ordered_json j;
    j["name"] = SUCCEEDED(lib->GetDocumentation(-1, &name, nullptr, nullptr, nullptr)) ? Utf8(name) : "";
    j["guid"] = id;
    j["version"] = VersionText(attr.wMajorVerNum, attr.wMinorVerNum);
    imports_.push_back(std::move(j));
  }

  HRESULT Member(ITypeInfo* info, UINT index, ordered_json* out) {
    FUNCDESC* f = nullptr;
    JV_TRY(info->GetFuncDesc(index, &f));
    HRESULT hr = MemberOf(info, *f, out);
    info->ReleaseFuncDesc(f);
    return hr;
  }

  HRESULT MemberOf(ITypeInfo* info, const FUNCDESC& f, ordered_json* out) {
    BSTR names[32] = {};
    UINT count = 0;
    JV_TRY(info->GetNames(f.memid, names, 32, &count));
    std::vector<std::string> name_list;
    for (UINT i = 0; i < count; ++i) name_list.push_back(Utf8(names[i]));
    BSTR help = nullptr;
    JV_TRY(info->GetDocumentation(f.memid, nullptr, &help, nullptr, nullptr));
    ordered_json j;
    j["name"] = name_list.empty() ? "" : name_list[0];
    j["kind"] = InvokeName(f.invkind);
    j["dispid"] = f.memid;
    j["dispid_hex"] = Hex32(static_cast<std::uint32_t>(f.memid));
    std::string type;
    JV_TRY(TypeName(info, f.elemdescFunc.tdesc, &type));
    j["type"] = type;
    ordered_json params = ordered_json::array();
    for (SHORT p = 0; p < f.cParams; ++p) {
      const ELEMDESC& e = f.lprgelemdescParam[p];
      std::string ptype;
      JV_TRY(TypeName(info, e.tdesc, &ptype));
      // A put's parameter name follows the member's name, as do a method's.
      const std::size_t name_index = static_cast<std::size_t>(p) + 1;
      params.push_back({{"name", name_index < name_list.size() ? name_list[name_index] : ""},
                        {"type", ptype},
                        {"flags", FlagNames(e.paramdesc.wParamFlags, kParamFlags)}});
    }
    j["params"] = std::move(params);
    j["flags"] = f.wFuncFlags;
    j["flag_names"] = FlagNames(f.wFuncFlags, kFuncFlags);
    j["help"] = Utf8(help);
    *out = std::move(j);
    return S_OK;
  }

  HRESULT Type(ITypeInfo* info, ordered_json* out) {
    TYPEATTR* a = nullptr;
    JV_TRY(info->GetTypeAttr(&a));
    const TYPEATTR attr = *a;
    info->ReleaseTypeAttr(a);
    BSTR name = nullptr, help = nullptr;
    JV_TRY(info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr));
    ordered_json j;
    j["name"] = Utf8(name);
    j["kind"] = KindName(attr.typekind);
    j["guid"] = GuidToString(attr.guid);
    j["flags"] = attr.wTypeFlags;
    j["flag_names"] = FlagNames(attr.wTypeFlags, kTypeFlags);
    j["help"] = Utf8(help);
    ordered_json impls = ordered_json::array();
    for (UINT i = 0; i < attr.cImplTypes; ++i) {
      HREFTYPE ref = 0;
      INT flags = 0;
      ComPtr<ITypeInfo> impl;
      std::string impl_name;
      JV_TRY(info->GetRefTypeOfImplType(i, &ref));
      JV_TRY(info->GetImplTypeFlags(i, &flags));
      JV_TRY(info->GetRefTypeInfo(ref, impl.put()));
      JV_TRY(NameOf(impl.get(), &impl_name));
      impls.push_back(
          {{"name", impl_name}, {"flags", FlagNames(static_cast<std::uint32_t>(flags), kImplFlags)}});
    }
    j["implements"] = std::move(impls);
    ordered_json members = ordered_json::array();
    for (UINT i = 0; i < attr.cFuncs; ++i) {
      ordered_json m;
      JV_TRY(Member(info, i, &m));
      members.push_back(std::move(m));
    }
    j["members"] = std::move(members);
    *out = std::move(j);
    return S_OK;
  }

  GUID own_{};
  std::set<std::string> seen_;
  ordered_json imports_ = ordered_json::array();
};

}  // namespace

HRESULT TypeLibraryJson(ITypeLib* library, nlohmann::ordered_json* out) {
  if (library == nullptr || out == nullptr) return E_POINTER;
  TLIBATTR* a = nullptr;
  JV_TRY(library->GetLibAttr(&a));
  const TLIBATTR attr = *a;
  library->ReleaseTLibAttr(a);
  BSTR name = nullptr, help = nullptr;
  JV_TRY(library->GetDocumentation(-1, &name, &help, nullptr, nullptr));
  Walker walker;
  walker.own_ = attr.guid;
  ordered_json j;
  j["name"] = Utf8(name);
  j["help"] = Utf8(help);
  j["guid"] = GuidToString(attr.guid);
  j["version"] = VersionText(attr.wMajorVerNum, attr.wMinorVerNum);
  char lcid[16];
  std::snprintf(lcid, sizeof lcid, "0x%04X", static_cast<unsigned>(attr.lcid));
  j["lcid"] = lcid;
  j["flags"] = attr.wLibFlags;
  ordered_json types = ordered_json::array();
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    JV_TRY(library->GetTypeInfo(i, info.put()));
    ordered_json t;
    JV_TRY(walker.Type(info.get(), &t));
    types.push_back(std::move(t));
  }
  j["imports"] = walker.imports_;
  j["types"] = std::move(types);
  *out = std::move(j);
  return S_OK;
}

}  // namespace jv::component
