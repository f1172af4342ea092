#include "platform/component/type_library.h"

#include <deque>
#include <memory>
#include <new>
#include <vector>

#include "platform/automation/font_disp.h"
#include "platform/component/module.h"

namespace jv::component {

namespace {

// The types of the standard automation library that the tables refer to.
struct ImportedType {
  std::string_view name;
  TYPEKIND kind;
  GUID guid;
  VARTYPE alias;  // for TKIND_ALIAS
};

inline constexpr GUID kOleColorTypeId = {
    0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
// Not constexpr: Windows' interface identifiers are link-time constants.
const ImportedType kStdOleTypes[] = {
    {"IDispatch", TKIND_INTERFACE, IID_IDispatch, VT_EMPTY},
    {"Font", TKIND_DISPATCH, IID_IFontDisp, VT_EMPTY},
    {"OLE_COLOR", TKIND_ALIAS, kOleColorTypeId, VT_UI4},
};
constexpr UINT kIDispatchType = 0;
constexpr UINT kFontType = 1;
constexpr UINT kOleColorType = 2;
// References at or above this number name an imported type; below, a local one.
constexpr HREFTYPE kImportedRef = 0x10000;

HRESULT PutText(std::string_view text, BSTR* out) {
  if (out == nullptr) return S_OK;
  const Text wide = FromAscii(text);
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                           static_cast<std::uint32_t>(wide.size()));
  return *out == nullptr && !wide.empty() ? E_OUTOFMEMORY : S_OK;
}

std::u16string_view View(const OLECHAR* text) {
  if (text == nullptr) return {};
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return {reinterpret_cast<const char16_t*>(text), n};
}

class Graph;
class Library;

class TypeInfo final : public ITypeInfo {
 public:
  TypeInfo(Graph& graph, Library& library, UINT index, const TypeDesc* desc, const ImportedType* imported,
           const TypeLibraryDesc& lib_desc);

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ITypeInfo) {
      *object = static_cast<ITypeInfo*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG JV_STDMETHODCALLTYPE AddRef() override;
  ULONG JV_STDMETHODCALLTYPE Release() override;

  HRESULT JV_STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override {
    if (attr == nullptr) return E_POINTER;
    *attr = &attr_;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override {
    if (comp != nullptr) *comp = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetFuncDesc(UINT index, FUNCDESC** desc) override {
    if (desc == nullptr) return E_POINTER;
    if (index >= funcs_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *desc = &funcs_[index];
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC** desc) override {
    if (desc == nullptr) return E_POINTER;
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT JV_STDMETHODCALLTYPE GetNames(MEMBERID memid, BSTR* names, UINT max, UINT* count) override;
  HRESULT JV_STDMETHODCALLTYPE GetRefTypeOfImplType(UINT index, HREFTYPE* ref) override;
  HRESULT JV_STDMETHODCALLTYPE GetImplTypeFlags(UINT index, INT* flags) override;
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR* names, UINT count, MEMBERID* ids) override {
    if (desc_ == nullptr) return DISP_E_UNKNOWNNAME;
    return IdsOfNames(desc_->members, names, count, ids);
  }
  HRESULT JV_STDMETHODCALLTYPE Invoke(void*, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetDocumentation(MEMBERID memid, BSTR* name, BSTR* doc, DWORD* context,
                                                BSTR* file) override;
  HRESULT JV_STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override {
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) override;
  HRESULT JV_STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, void** address) override {
    if (address != nullptr) *address = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetMops(MEMBERID, BSTR* mops) override {
    if (mops != nullptr) *mops = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib** lib, UINT* index) override;
  void JV_STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR*) override {}
  void JV_STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void JV_STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

  std::string_view name() const { return desc_ != nullptr ? desc_->name : imported_->name; }
  const TYPEATTR& attr() const { return attr_; }
  const TypeDesc* desc() const { return desc_; }

 private:
  ELEMDESC Elem(ValueType type, bool by_ref, USHORT flags);
  void AddFunction(const MemberDesc& m, INVOKEKIND kind, std::span<const ELEMDESC> params, ELEMDESC result);

  Graph& graph_;
  Library& library_;
  UINT index_;
  const TypeDesc* desc_;          // a local type, or
  const ImportedType* imported_;  // one of the standard library's
  const TypeLibraryDesc& lib_desc_;
  TYPEATTR attr_{};
  std::vector<FUNCDESC> funcs_;
  std::deque<TYPEDESC> pointees_;             // what VT_PTR descriptors point to
  std::deque<std::vector<ELEMDESC>> params_;  // each function's parameters
  SHORT next_vtable_slot_ = 7;                // after IUnknown's three and IDispatch's four
};

class Library final : public ITypeLib {
 public:
  Library(Graph& graph, const ImportDesc& import) : graph_(graph), import_(&import) {}
  Library(Graph& graph, const TypeLibraryDesc& desc) : graph_(graph), desc_(&desc) {}

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_ITypeLib) {
      *object = static_cast<ITypeLib*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG JV_STDMETHODCALLTYPE AddRef() override;
  ULONG JV_STDMETHODCALLTYPE Release() override;

  UINT JV_STDMETHODCALLTYPE GetTypeInfoCount() override { return static_cast<UINT>(infos_.size()); }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT index, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *info = infos_[index].get();
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoType(UINT index, TYPEKIND* kind) override {
    if (kind == nullptr) return E_POINTER;
    if (index >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
    *kind = infos_[index]->attr().typekind;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    for (UINT i = 0; i < infos_.size(); ++i)
      if (infos_[i]->attr().guid == guid) return GetTypeInfo(i, info);
    return TYPE_E_ELEMENTNOTFOUND;
  }
  HRESULT JV_STDMETHODCALLTYPE GetLibAttr(TLIBATTR** attr) override {
    if (attr == nullptr) return E_POINTER;
    *attr = &attr_;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override {
    if (comp != nullptr) *comp = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetDocumentation(INT index, BSTR* name, BSTR* doc, DWORD* context,
                                                BSTR* file) override {
    if (name != nullptr) *name = nullptr;
    if (doc != nullptr) *doc = nullptr;
    if (file != nullptr) *file = nullptr;
    if (context != nullptr) *context = 0;
    if (index == -1) {
      const std::string_view lib_name = desc_ != nullptr ? desc_->name : import_->name;
      const std::string_view help = desc_ != nullptr ? desc_->help : std::string_view();
      return PutDocumentation(lib_name, help, name, doc);
    }
    if (index < 0 || static_cast<std::size_t>(index) >= infos_.size()) return TYPE_E_ELEMENTNOTFOUND;
    return infos_[static_cast<std::size_t>(index)]->GetDocumentation(MEMBERID_NIL, name, doc, context, file);
  }
  HRESULT JV_STDMETHODCALLTYPE IsName(LPOLESTR name, ULONG, BOOL* found) override {
    if (name == nullptr || found == nullptr) return E_POINTER;
    *found = 0;
    const std::u16string_view wanted = View(name);
    for (const auto& info : infos_) {
      if (SameNameIgnoringCase(info->name(), wanted)) *found = 1;
      if (info->desc() != nullptr && FindMemberByName(info->desc()->members, wanted) != nullptr) *found = 1;
    }
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE FindName(LPOLESTR name, ULONG, ITypeInfo** infos, MEMBERID* ids,
                                        USHORT* count) override {
    if (name == nullptr || infos == nullptr || ids == nullptr || count == nullptr) return E_POINTER;
    const std::u16string_view wanted = View(name);
    USHORT found = 0;
    for (const auto& info : infos_) {
      if (found >= *count) break;
      MEMBERID id = DISPID_UNKNOWN;
      bool match = SameNameIgnoringCase(info->name(), wanted);
      if (match) id = MEMBERID_NIL;
      if (!match && info->desc() != nullptr) {
        if (const MemberDesc* m = FindMemberByName(info->desc()->members, wanted)) {
          match = true;
          id = m->id;
        }
      }
      if (!match) continue;
      infos[found] = info.get();
      infos[found]->AddRef();
      ids[found] = id;
      ++found;
    }
    *count = found;
    return S_OK;
  }
  void JV_STDMETHODCALLTYPE ReleaseTLibAttr(TLIBATTR*) override {}

  static HRESULT PutDocumentation(std::string_view name_text, std::string_view help, BSTR* name, BSTR* doc) {
    JV_TRY(PutText(name_text, name));
    if (HRESULT hr = PutText(help, doc); FAILED(hr)) {
      if (name != nullptr) SysFreeString(*name);
      return hr;
    }
    return S_OK;
  }

  void Build(Graph& graph, const TypeLibraryDesc& lib_desc);
  TypeInfo& info(UINT index) { return *infos_[index]; }
  UINT size() const { return static_cast<UINT>(infos_.size()); }

 private:
  Graph& graph_;
  const ImportDesc* import_ = nullptr;
  const TypeLibraryDesc* desc_ = nullptr;
  TLIBATTR attr_{};
  std::vector<std::unique_ptr<TypeInfo>> infos_;
};

// Owns the two libraries and every type; one count for all of them.
class Graph {
 public:
  explicit Graph(const TypeLibraryDesc& desc) : local(*this, desc), stdole(*this, kStdOle) {
    local.Build(*this, desc);
    stdole.Build(*this, desc);
  }
  ULONG AddRef() { return ++refs_; }
  ULONG Release() {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  CountedByModule counted;
  Library local;
  Library stdole;

 private:
  ULONG refs_ = 0;
};

ULONG JV_STDMETHODCALLTYPE TypeInfo::AddRef() { return graph_.AddRef(); }
ULONG JV_STDMETHODCALLTYPE TypeInfo::Release() { return graph_.Release(); }
ULONG JV_STDMETHODCALLTYPE Library::AddRef() { return graph_.AddRef(); }
ULONG JV_STDMETHODCALLTYPE Library::Release() { return graph_.Release(); }

void Library::Build(Graph& graph, const TypeLibraryDesc& lib_desc) {
  if (desc_ != nullptr) {
    attr_ = {desc_->guid,  desc_->lcid,  sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32,
             desc_->major, desc_->minor, desc_->flags};
    for (UINT i = 0; i < desc_->types.size(); ++i)
      infos_.push_back(std::make_unique<TypeInfo>(graph, *this, i, &desc_->types[i], nullptr, lib_desc));
    return;
  }
  attr_ = {import_->guid, 0, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, import_->major, import_->minor, 0};
  for (UINT i = 0; i < std::size(kStdOleTypes); ++i)
    infos_.push_back(std::make_unique<TypeInfo>(graph, *this, i, nullptr, &kStdOleTypes[i], lib_desc));
}

TypeInfo::TypeInfo(Graph& graph, Library& library, UINT index, const TypeDesc* desc,
                   const ImportedType* imported, const TypeLibraryDesc& lib_desc)
    : graph_(graph), library_(library), index_(index), desc_(desc), imported_(imported), lib_desc_(lib_desc) {
  attr_.memidConstructor = MEMBERID_NIL;
  attr_.memidDestructor = MEMBERID_NIL;
  attr_.cbAlignment = sizeof(void*);
  attr_.tdescAlias.vt = VT_EMPTY;
  if (imported_ != nullptr) {
    attr_.guid = imported_->guid;
    attr_.typekind = imported_->kind;
    attr_.lcid = 0;
    attr_.wMajorVerNum = kStdOle.major;
    attr_.wMinorVerNum = kStdOle.minor;
    attr_.tdescAlias.vt = imported_->alias;
    attr_.cbSizeVft = imported_->kind == TKIND_ALIAS ? 0 : static_cast<WORD>(7 * sizeof(void*));
    return;
  }
  attr_.guid = desc_->guid;
  attr_.typekind = desc_->kind;
  attr_.lcid = lib_desc_.lcid;
  attr_.wTypeFlags = desc_->flags;
  attr_.wMajorVerNum = lib_desc_.major;
  attr_.wMinorVerNum = lib_desc_.minor;
  if (desc_->kind == TKIND_COCLASS) {
    attr_.cImplTypes = static_cast<WORD>(desc_->impls.size());
    return;
  }
  attr_.cImplTypes = 1;  // IDispatch
  attr_.cbSizeVft = static_cast<WORD>(7 * sizeof(void*));
  const ELEMDESC none = Elem(ValueType::kVoid, false, PARAMFLAG_NONE);
  for (const MemberDesc& m : desc_->members) {
    if (m.kind == MemberKind::kMethod) {
      std::vector<ELEMDESC> params;
      for (const ParamDesc& p : m.params)
        params.push_back(Elem(p.type, p.by_ref, p.by_ref ? PARAMFLAG_FIN | PARAMFLAG_FOUT : PARAMFLAG_FIN));
      AddFunction(m, INVOKE_FUNC, params, Elem(m.type, false, PARAMFLAG_NONE));
      continue;
    }
    AddFunction(m, INVOKE_PROPERTYGET, {}, Elem(m.type, false, PARAMFLAG_NONE));
    const ELEMDESC value = Elem(m.type, false, PARAMFLAG_FIN);
    AddFunction(m, m.kind == MemberKind::kPropertyByRef ? INVOKE_PROPERTYPUTREF : INVOKE_PROPERTYPUT,
                std::span<const ELEMDESC>(&value, 1), none);
  }
}

ELEMDESC TypeInfo::Elem(ValueType type, bool by_ref, USHORT flags) {
  TYPEDESC t{};
  switch (type) {
    case ValueType::kVoid:
      t.vt = VT_VOID;
      break;
    case ValueType::kBool:
      t.vt = VT_BOOL;
      break;
    case ValueType::kI2:
      t.vt = VT_I2;
      break;
    case ValueType::kI4:
      t.vt = VT_I4;
      break;
    case ValueType::kR4:
      t.vt = VT_R4;
      break;
    case ValueType::kBstr:
      t.vt = VT_BSTR;
      break;
    case ValueType::kOleColor:
      t.vt = VT_USERDEFINED;
      t.hreftype = kImportedRef + kOleColorType;
      break;
    case ValueType::kFont: {
      TYPEDESC& font = pointees_.emplace_back();
      font.vt = VT_USERDEFINED;
      font.hreftype = kImportedRef + kFontType;
      t.vt = VT_PTR;
      t.lptdesc = &font;
      break;
    }
  }
  if (by_ref) {
    pointees_.push_back(t);
    t = TYPEDESC{};
    t.vt = VT_PTR;
    t.lptdesc = &pointees_.back();
  }
  ELEMDESC e{};
  e.tdesc = t;
  e.paramdesc.pparamdescex = nullptr;
  e.paramdesc.wParamFlags = flags;
  return e;
}

void TypeInfo::AddFunction(const MemberDesc& m, INVOKEKIND kind, std::span<const ELEMDESC> params,
                           ELEMDESC result) {
  std::vector<ELEMDESC>& stored = params_.emplace_back(params.begin(), params.end());
  FUNCDESC f{};
  f.memid = m.id;
  f.lprgscode = nullptr;
  f.lprgelemdescParam = stored.empty() ? nullptr : stored.data();
  f.funckind = FUNC_DISPATCH;
  f.invkind = kind;
  f.callconv = CC_STDCALL;
  f.cParams = static_cast<SHORT>(stored.size());
  f.cParamsOpt = 0;
  // A dual interface's members also have vtable slots, in the order of the table.
  const bool dual = (desc_->flags & TYPEFLAG_FDUAL) != 0;
  f.oVft = dual ? static_cast<SHORT>(next_vtable_slot_++ * sizeof(void*)) : 0;
  f.cScodes = 0;
  f.elemdescFunc = result;
  f.wFuncFlags = m.func_flags;
  funcs_.push_back(f);
  attr_.cFuncs = static_cast<WORD>(funcs_.size());
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetNames(MEMBERID memid, BSTR* names, UINT max, UINT* count) {
  if (names == nullptr || count == nullptr) return E_POINTER;
  *count = 0;
  const MemberDesc* m = desc_ != nullptr ? FindMember(desc_->members, memid) : nullptr;
  if (m == nullptr) return TYPE_E_ELEMENTNOTFOUND;
  std::vector<std::string_view> all{m->name};
  if (m->kind == MemberKind::kMethod) {
    for (const ParamDesc& p : m->params) all.push_back(p.name);
  } else {
    all.push_back(m->put_param);
  }
  UINT n = 0;
  for (; n < all.size() && n < max; ++n) {
    if (HRESULT hr = PutText(all[n], &names[n]); FAILED(hr)) {
      for (UINT i = 0; i < n; ++i) SysFreeString(names[i]);
      return hr;
    }
  }
  *count = n;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetRefTypeOfImplType(UINT index, HREFTYPE* ref) {
  if (ref == nullptr) return E_POINTER;
  if (desc_ == nullptr || index >= attr_.cImplTypes) return TYPE_E_ELEMENTNOTFOUND;
  if (desc_->kind != TKIND_COCLASS) {
    *ref = kImportedRef + kIDispatchType;
    return S_OK;
  }
  for (UINT i = 0; i < lib_desc_.types.size(); ++i) {
    if (lib_desc_.types[i].name == desc_->impls[index].type_name) {
      *ref = i;
      return S_OK;
    }
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetImplTypeFlags(UINT index, INT* flags) {
  if (flags == nullptr) return E_POINTER;
  if (desc_ == nullptr || index >= attr_.cImplTypes) return TYPE_E_ELEMENTNOTFOUND;
  *flags = desc_->kind == TKIND_COCLASS ? desc_->impls[index].flags : 0;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetDocumentation(MEMBERID memid, BSTR* name, BSTR* doc, DWORD* context,
                                                        BSTR* file) {
  if (name != nullptr) *name = nullptr;
  if (doc != nullptr) *doc = nullptr;
  if (file != nullptr) *file = nullptr;
  if (context != nullptr) *context = 0;
  if (memid == MEMBERID_NIL)
    return Library::PutDocumentation(this->name(), desc_ != nullptr ? desc_->help : std::string_view(), name,
                                     doc);
  const MemberDesc* m = desc_ != nullptr ? FindMember(desc_->members, memid) : nullptr;
  if (m == nullptr) return TYPE_E_ELEMENTNOTFOUND;
  return Library::PutDocumentation(m->name, m->help, name, doc);
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetRefTypeInfo(HREFTYPE ref, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  Library& target = ref >= kImportedRef ? graph_.stdole : graph_.local;
  const UINT index = ref >= kImportedRef ? ref - kImportedRef : ref;
  if (index >= target.size()) return TYPE_E_ELEMENTNOTFOUND;
  *info = &target.info(index);
  (*info)->AddRef();
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE TypeInfo::GetContainingTypeLib(ITypeLib** lib, UINT* index) {
  if (lib == nullptr) return E_POINTER;
  *lib = &library_;
  library_.AddRef();
  if (index != nullptr) *index = index_;
  return S_OK;
}

bool Consistent(const TypeLibraryDesc& d) {
  for (const TypeDesc& t : d.types) {
    if (t.kind != TKIND_DISPATCH && t.kind != TKIND_COCLASS) return false;
    for (const ImplTypeDesc& i : t.impls)
      if (FindType(d, i.type_name) == nullptr) return false;
  }
  return true;
}

}  // namespace

HRESULT CreateTypeLibrary(const TypeLibraryDesc& description, ITypeLib** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!Consistent(description)) return E_INVALIDARG;
  auto* graph = new (std::nothrow) Graph(description);
  if (graph == nullptr) return E_OUTOFMEMORY;
  *out = &graph->local;
  graph->AddRef();
  return S_OK;
}

HRESULT CreateTypeInfo(const TypeLibraryDesc& description, std::string_view type_name, ITypeInfo** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ComPtr<ITypeLib> lib;
  JV_TRY(CreateTypeLibrary(description, lib.put()));
  for (UINT i = 0; i < description.types.size(); ++i)
    if (description.types[i].name == type_name) return lib->GetTypeInfo(i, out);
  return TYPE_E_ELEMENTNOTFOUND;
}

}  // namespace jv::component
