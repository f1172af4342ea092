// The objects behind CreateTypeLibrary, shared by the files that implement them:
// a type (TypeInfo, type_info_object.cpp), a library of types (Library) and the
// graph that owns the local library, the standard library's imported types and
// every type, with one count for all of them (type_library.cpp).
#pragma once

#include <deque>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/automation/font_disp.h"
#include "platform/component/module.h"
#include "platform/component/type_library.h"

namespace jv::component::type_objects {


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
inline const ImportedType kStdOleTypes[] = {
    {"IDispatch", TKIND_INTERFACE, IID_IDispatch, VT_EMPTY},
    {"Font", TKIND_DISPATCH, IID_IFontDisp, VT_EMPTY},
    {"OLE_COLOR", TKIND_ALIAS, kOleColorTypeId, VT_UI4},
};
constexpr UINT kIDispatchType = 0;
constexpr UINT kFontType = 1;
constexpr UINT kOleColorType = 2;
// References at or above this number name an imported type; below, a local one.
constexpr HREFTYPE kImportedRef = 0x10000;

inline HRESULT PutText(std::string_view text, BSTR* out) {
  if (out == nullptr) return S_OK;
  const Text wide = FromAscii(text);
  *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                           static_cast<std::uint32_t>(wide.size()));
  return *out == nullptr && !wide.empty() ? E_OUTOFMEMORY : S_OK;
}

inline std::u16string_view View(const OLECHAR* text) {
  if (text == nullptr) return {};
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return {reinterpret_cast<const char16_t*>(text), n};
}

// What a type and a library answer alike: their attribute record, which lives as
// long as they do (its Release is empty), and no ITypeComp.
template <class Attributes>
HRESULT HandOutAttributes(Attributes& attributes, Attributes** out) {
  if (out == nullptr) return E_POINTER;
  *out = &attributes;
  return S_OK;
}
inline HRESULT NoTypeComp(ITypeComp** comp) {
  if (comp != nullptr) *comp = nullptr;
  return E_NOTIMPL;
}

class Graph;
class Library;

class TypeInfo final : public ITypeInfo {
 public:
  TypeInfo(Graph& graph, Library& library, UINT index, const TypeDesc* desc, const ImportedType* imported,
           const TypeLibraryDesc& lib_desc);

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return QueryInterfaceOf<ITypeInfo>(this, riid, object);
  }
  ULONG JV_STDMETHODCALLTYPE AddRef() override;
  ULONG JV_STDMETHODCALLTYPE Release() override;

  HRESULT JV_STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attr) override { return HandOutAttributes(attr_, attr); }
  HRESULT JV_STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override { return NoTypeComp(comp); }
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
    return QueryInterfaceOf<ITypeLib>(this, riid, object);
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
  HRESULT JV_STDMETHODCALLTYPE GetLibAttr(TLIBATTR** attr) override { return HandOutAttributes(attr_, attr); }
  HRESULT JV_STDMETHODCALLTYPE GetTypeComp(ITypeComp** comp) override { return NoTypeComp(comp); }
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

}  // namespace jv::component::type_objects
