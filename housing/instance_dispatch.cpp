// The instance's IDispatch, by the published member table; its class information
// and its copy of the state record.
#include "housing/dispatch_table.h"
#include "housing/jornavista_instance.h"
#include "platform/component/type_library.h"

namespace jv::housing {

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return component::CreateTypeInfo(kTypeLibrary, "_ctrJornavista", info);
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                                             DISPID* ids) {
  if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  return component::IdsOfNames(kMembers, names, count, ids);
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                                      DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                                      UINT* arg_err) {
  if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const Hold hold(this);
  return InvokeMember(*control_, buffers_, id, flags, params, result, arg_err);
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::get_SDate(BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  return buffers_.WithText([&](Text& text) {
    const HRESULT hr = control_->get_SDate(&text);
    // A failed get still hands back its (empty) string.
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
    if (*out == nullptr) return FAILED(hr) ? hr : E_OUTOFMEMORY;
    return hr;
  });
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetClassInfo(ITypeInfo** info) {
  return component::CreateTypeInfo(kTypeLibrary, "ctrJornavista", info);
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::GetState(control::State* out) {
  if (out == nullptr) return E_POINTER;
  *out = control_->state();
  return S_OK;
}

}  // namespace jv::housing
