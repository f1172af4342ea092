#include "platform/component/type_library.h"

#include <new>

#include "platform/component/type_library_objects.h"

namespace jv::component {

namespace type_objects {

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

}  // namespace type_objects

namespace {

using type_objects::Graph;

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
