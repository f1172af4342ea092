#include "platform/component/type_library_objects.h"

namespace jv::component::type_objects {

ULONG JV_STDMETHODCALLTYPE TypeInfo::AddRef() { return graph_.AddRef(); }
ULONG JV_STDMETHODCALLTYPE TypeInfo::Release() { return graph_.Release(); }

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
  t.vt = FactsOf(type).vt;
  if (type == ValueType::kOleColor) {
    t.hreftype = kImportedRef + kOleColorType;
  } else if (type == ValueType::kFont) {
    TYPEDESC& font = pointees_.emplace_back();
    font.vt = VT_USERDEFINED;
    font.hreftype = kImportedRef + kFontType;
    t.lptdesc = &font;
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

}  // namespace jv::component::type_objects
