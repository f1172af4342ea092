#include "platform/component/type_library_text.h"

#include <cstdio>
#include <set>

#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"

namespace jv::component {

namespace {

using nlohmann::ordered_json;

std::string Version(WORD major, WORD minor) { return std::to_string(major) + "." + std::to_string(minor); }

std::string Utf8(BSTR b) {
  const std::string s = ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b)));
  SysFreeString(b);
  return s;
}

struct FlagName {
  std::uint32_t bit;
  const char* name;
};

ordered_json FlagNames(std::uint32_t flags, std::span<const FlagName> names) {
  ordered_json list = ordered_json::array();
  for (const FlagName& f : names)
    if ((flags & f.bit) != 0) list.push_back(f.name);
  return list;
}

constexpr FlagName kTypeFlags[] = {
    {TYPEFLAG_FAPPOBJECT, "appobject"},
    {TYPEFLAG_FCANCREATE, "cancreate"},
    {TYPEFLAG_FLICENSED, "licensed"},
    {TYPEFLAG_FPREDECLID, "predeclid"},
    {TYPEFLAG_FHIDDEN, "hidden"},
    {TYPEFLAG_FCONTROL, "control"},
    {TYPEFLAG_FDUAL, "dual"},
    {TYPEFLAG_FNONEXTENSIBLE, "nonextensible"},
    {TYPEFLAG_FOLEAUTOMATION, "oleautomation"},
    {TYPEFLAG_FRESTRICTED, "restricted"},
    {TYPEFLAG_FAGGREGATABLE, "aggregatable"},
    {TYPEFLAG_FREPLACEABLE, "replaceable"},
    {TYPEFLAG_FDISPATCHABLE, "dispatchable"},
};
constexpr FlagName kFuncFlags[] = {
    {FUNCFLAG_FRESTRICTED, "restricted"},   {FUNCFLAG_FSOURCE, "source"},
    {FUNCFLAG_FBINDABLE, "bindable"},       {FUNCFLAG_FREQUESTEDIT, "requestedit"},
    {FUNCFLAG_FDISPLAYBIND, "displaybind"}, {FUNCFLAG_FDEFAULTBIND, "defaultbind"},
    {FUNCFLAG_FHIDDEN, "hidden"},
};
constexpr FlagName kImplFlags[] = {{IMPLTYPEFLAG_FDEFAULT, "default"},
                                   {IMPLTYPEFLAG_FSOURCE, "source"},
                                   {IMPLTYPEFLAG_FRESTRICTED, "restricted"}};
constexpr FlagName kParamFlags[] = {{PARAMFLAG_FIN, "in"},
                                    {PARAMFLAG_FOUT, "out"},
                                    {PARAMFLAG_FRETVAL, "retval"},
                                    {PARAMFLAG_FOPT, "optional"}};

const char* KindName(TYPEKIND kind) {
  switch (kind) {
    case TKIND_ENUM:
      return "enum";
    case TKIND_RECORD:
      return "record";
    case TKIND_MODULE:
      return "module";
    case TKIND_INTERFACE:
      return "interface";
    case TKIND_DISPATCH:
      return "dispinterface";
    case TKIND_COCLASS:
      return "coclass";
    case TKIND_ALIAS:
      return "alias";
    case TKIND_UNION:
      return "union";
    default:
      return "unknown";
  }
}

const char* InvokeName(INVOKEKIND kind) {
  switch (kind) {
    case INVOKE_PROPERTYGET:
      return "propget";
    case INVOKE_PROPERTYPUT:
      return "propput";
    case INVOKE_PROPERTYPUTREF:
      return "propputref";
    default:
      return "method";
  }
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
    j["version"] = Version(attr.wMajorVerNum, attr.wMinorVerNum);
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
  j["version"] = Version(attr.wMajorVerNum, attr.wMinorVerNum);
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

namespace {

std::string Uuid(const GUID& g) {
  const std::string braced = GuidToString(g);
  return braced.substr(1, braced.size() - 2);
}

void Attributes(std::string& out, std::string_view indent, const std::vector<std::string>& attrs) {
  out += indent;
  out += "[\n";
  for (std::size_t i = 0; i < attrs.size(); ++i) {
    out += indent;
    out += "  " + attrs[i] + (i + 1 < attrs.size() ? ",\n" : "\n");
  }
  out += indent;
  out += "]\n";
}

std::vector<std::string> TypeAttributes(const TypeDesc& t, bool with_version, const TypeLibraryDesc& lib) {
  std::vector<std::string> a{"uuid(" + Uuid(t.guid) + ")"};
  if (with_version) a.push_back("version(" + Version(lib.major, lib.minor) + ")");
  if (!t.help.empty()) a.push_back("helpstring(" + Quoted(t.help) + ")");
  if (t.kind == TKIND_COCLASS && (t.flags & TYPEFLAG_FCANCREATE) == 0) a.push_back("noncreatable");
  for (const FlagName& f : kTypeFlags) {
    if ((t.flags & f.bit) == 0 || f.bit == TYPEFLAG_FCANCREATE || f.bit == TYPEFLAG_FDISPATCHABLE) continue;
    a.push_back(f.name);
  }
  return a;
}

std::string MemberAttributes(const MemberDesc& m, const char* kind) {
  std::string a = "[id(" + Hex32(static_cast<std::uint32_t>(m.id), HexLetters::kLower) + ")";
  if (kind != nullptr) a += std::string(", ") + kind;
  for (const FlagName& f : kFuncFlags)
    if ((m.func_flags & f.bit) != 0) a += std::string(", ") + f.name;
  if (!m.help.empty()) a += ", helpstring(" + Quoted(m.help) + ")";
  return a + "]";
}

std::string Params(const MemberDesc& m) {
  std::string out;
  for (std::size_t i = 0; i < m.params.size(); ++i) {
    const ParamDesc& p = m.params[i];
    if (i > 0) out += ", ";
    out += p.by_ref ? "[in, out] " : "[in] ";
    out += std::string(IdlTypeName(p.type)) + (p.by_ref ? "* " : " ") + std::string(p.name);
  }
  return out;
}

void DualMembers(std::string& out, const TypeDesc& t) {
  for (const MemberDesc& m : t.members) {
    const std::string type(IdlTypeName(m.type));
    const std::string name(m.name);
    if (m.kind == MemberKind::kMethod) {
      out += "    " + MemberAttributes(m, nullptr) + "\n";
      out += "    HRESULT " + name + "(" + Params(m) + ");\n";
      continue;
    }
    out += "    " + MemberAttributes(m, "propget") + "\n";
    out += "    HRESULT " + name + "([out, retval] " + type + "* pVal);\n";
    const bool by_ref = m.kind == MemberKind::kPropertyByRef;
    out += "    " + MemberAttributes(m, by_ref ? "propputref" : "propput") + "\n";
    out += "    HRESULT " + name + "([in] " + type + " " + std::string(m.put_param) + ");\n";
  }
}

void DispatchMembers(std::string& out, const TypeDesc& t) {
  out += "    properties:\n    methods:\n";
  for (const MemberDesc& m : t.members) {
    out += "        " + MemberAttributes(m, nullptr) + "\n";
    out +=
        "        " + std::string(IdlTypeName(m.type)) + " " + std::string(m.name) + "(" + Params(m) + ");\n";
  }
}

bool Uses(const TypeLibraryDesc& lib, ValueType type) {
  for (const TypeDesc& t : lib.types)
    for (const MemberDesc& m : t.members) {
      if (m.type == type) return true;
      for (const ParamDesc& p : m.params)
        if (p.type == type) return true;
    }
  return false;
}

}  // namespace

std::string WriteIdl(const TypeLibraryDesc& lib) {
  std::string out;
  out += "// " + std::string(lib.name) + " " + Version(lib.major, lib.minor) +
         ": written from the type library table by jv_write_idl; edit the table, not this file.\n\n";
  // An IDL compiler knows IDispatch from the base file. The standard library's
  // Font and OLE_COLOR are only declared, so that the compiler refers to them in
  // the imported library instead of defining them here (or, for a typedef that
  // is not public, writing its base type in its place).
  out += "import \"oaidl.idl\";\n\n";
  if (Uses(lib, ValueType::kFont)) out += "dispinterface Font;\n";
  if (Uses(lib, ValueType::kOleColor)) out += "typedef [public] DWORD OLE_COLOR;\n";
  // Forward declarations let the class name interfaces defined after it. Made
  // inside the library they would also number those interfaces first, ahead of
  // the types defined before them.
  for (const TypeDesc& t : lib.types) {
    if (t.kind != TKIND_DISPATCH) continue;
    out += (t.flags & TYPEFLAG_FDUAL) != 0 ? "interface " : "dispinterface ";
    out += std::string(t.name) + ";\n";
  }
  out += "\n";
  std::vector<std::string> attrs{"uuid(" + Uuid(lib.guid) + ")",
                                 "version(" + Version(lib.major, lib.minor) + ")"};
  if (!lib.help.empty()) attrs.push_back("helpstring(" + Quoted(lib.help) + ")");
  char lcid[16];
  std::snprintf(lcid, sizeof lcid, "lcid(0x%04x)", static_cast<unsigned>(lib.lcid));
  attrs.push_back(lcid);
  for (const FlagName& f : {FlagName{LIBFLAG_FRESTRICTED, "restricted"},
                            FlagName{LIBFLAG_FCONTROL, "control"}, FlagName{LIBFLAG_FHIDDEN, "hidden"}})
    if ((lib.flags & f.bit) != 0) attrs.push_back(f.name);
  Attributes(out, "", attrs);
  out += "library " + std::string(lib.name) + "\n{\n";
  for (const ImportDesc& i : lib.imports) out += "  importlib(" + Quoted(i.file) + ");\n";
  for (const TypeDesc& t : lib.types) {
    out += "\n";
    if (t.kind == TKIND_COCLASS) {
      Attributes(out, "  ", TypeAttributes(t, false, lib));
      out += "  coclass " + std::string(t.name) + " {\n";
      for (const ImplTypeDesc& i : t.impls) {
        const TypeDesc* target = FindType(lib, i.type_name);
        std::vector<std::string> flags;
        for (const FlagName& f : kImplFlags)
          if ((i.flags & static_cast<INT>(f.bit)) != 0) flags.push_back(f.name);
        std::string joined;
        for (const std::string& f : flags) joined += (joined.empty() ? "" : ", ") + f;
        const bool dual = target != nullptr && (target->flags & TYPEFLAG_FDUAL) != 0;
        out += "    " + (joined.empty() ? "" : "[" + joined + "] ") +
               (dual ? "interface " : "dispinterface ") + std::string(i.type_name) + ";\n";
      }
      out += "  };\n";
      continue;
    }
    const bool dual = (t.flags & TYPEFLAG_FDUAL) != 0;
    Attributes(out, "  ", TypeAttributes(t, false, lib));
    if (dual) {
      out += "  interface " + std::string(t.name) + " : IDispatch {\n";
      DualMembers(out, t);
    } else {
      out += "  dispinterface " + std::string(t.name) + " {\n";
      DispatchMembers(out, t);
    }
    out += "  };\n";
  }
  out += "};\n";
  return out;
}

}  // namespace jv::component
