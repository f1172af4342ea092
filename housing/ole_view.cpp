// The control's drawing for its container: IViewObject2, and the advice of a
// changed view.
#include "housing/ole_control.h"
#include "housing/ole_trace.h"

namespace jv::housing {

HRESULT OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
  Trace("IViewObject::Draw");
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
  return face_.Print(dc, {bounds->left, bounds->top, bounds->right, bounds->bottom});
}

HRESULT OleControl::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** colors) {
  if (colors != nullptr) *colors = nullptr;
  return S_FALSE;  // the system's colours, no palette of its own
}

HRESULT OleControl::Freeze(DWORD, LONG, void*, DWORD* freeze) {
  if (freeze != nullptr) *freeze = 0;
  return E_NOTIMPL;
}
HRESULT OleControl::Unfreeze(DWORD) { return OLE_E_NOCONNECTION; }

HRESULT OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
  Trace("IViewObject::SetAdvise");
  view_aspects_ = aspects;
  view_flags_ = flags;
  view_sink_ = ComPtr<IAdviseSink>(sink);
  if (sink != nullptr && (flags & ADVF_PRIMEFIRST) != 0) ViewChanged();
  return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
  if (aspects != nullptr) *aspects = view_aspects_;
  if (flags != nullptr) *flags = view_flags_;
  if (sink != nullptr) {
    *sink = view_sink_.get();
    if (*sink != nullptr) (*sink)->AddRef();
  }
  return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
  return GetExtent(aspect, static_cast<SIZEL*>(size));
}

void OleControl::ViewChanged() {
  data_.SendOnDataChange();
  if (!view_sink_ || (view_aspects_ & DVASPECT_CONTENT) == 0) return;
  ComPtr<IAdviseSink> sink = view_sink_;
  if ((view_flags_ & ADVF_ONLYONCE) != 0) view_sink_.reset();
  sink->OnViewChange(DVASPECT_CONTENT, -1);
}

}  // namespace jv::housing
