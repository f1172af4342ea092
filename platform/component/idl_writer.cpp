#include "platform/component/idl_writer.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"
#include "platform/component/type_flag_names.h"

namespace jv::component {

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
  if (with_version) a.push_back("version(" + VersionText(lib.major, lib.minor) + ")");
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
  out += "// " + std::string(lib.name) + " " + VersionText(lib.major, lib.minor) +
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
                                 "version(" + VersionText(lib.major, lib.minor) + ")"};
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
