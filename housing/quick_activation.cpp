#include "housing/quick_activation.h"

#include <cstddef>

#include "housing/jornavista_ids.h"
#include "housing/jornavista_typelib.h"
#include "housing/ole_control.h"
#include "housing/ole_trace.h"

namespace jv::housing {

namespace {

// What the control draws: every pixel of its rectangle, on a solid background.
constexpr DWORD kViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;

// The smallest QACONTAINER and QACONTROL a container may pass: up to the fields
// this control reads or writes. Older containers pass shorter structures.
constexpr ULONG kContainerNeeds = offsetof(QACONTAINER, pFont) + sizeof(IFont*);
constexpr ULONG kControlNeeds = offsetof(QACONTROL, dwPropNotifyCookie) + sizeof(DWORD);

HRESULT Connect(IUnknown& outer, REFIID riid, IUnknown* sink, DWORD* cookie) {
  *cookie = 0;
  if (sink == nullptr) return S_OK;
  ComPtr<IConnectionPointContainer> points;
  JV_TRY(outer.QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(points.put())));
  ComPtr<IConnectionPoint> point;
  JV_TRY(points->FindConnectionPoint(riid, point.put()));
  return point->Advise(sink, cookie);
}

}  // namespace

HRESULT QuickActivation::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  TraceCall("IQuickActivate::QuickActivate");
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < kContainerNeeds || control->cbSize < kControlNeeds) return E_INVALIDARG;
  const ULONG control_size = control->cbSize;
  ZeroMemory(control, control_size < sizeof(QACONTROL) ? control_size : sizeof(QACONTROL));
  control->cbSize = control_size < sizeof(QACONTROL) ? control_size : sizeof(QACONTROL);

  ComPtr<IOleObject> object;
  JV_TRY(outer_.QueryInterface(IID_IOleObject, reinterpret_cast<void**>(object.put())));
  JV_TRY(object->SetClientSite(container->pClientSite));
  // The flags stand over what the site's IDispatch said: they are the container's
  // word at this moment, and OnAmbientPropertyChange asks the site again later.
  ole_.TakeQuickActivateAmbient(container->dwAmbientFlags, container->pFont);

  if (container->pAdviseSink != nullptr) {
    ComPtr<IViewObject> view;
    JV_TRY(outer_.QueryInterface(IID_IViewObject, reinterpret_cast<void**>(view.put())));
    JV_TRY(view->SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink));
  }
  JV_TRY(
      Connect(outer_, IID_IPropertyNotifySink, container->pPropertyNotifySink, &control->dwPropNotifyCookie));
  JV_TRY(
      Connect(outer_, jornavista::DIID___ctrJornavista, container->pUnkEventSink, &control->dwEventCookie));
  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = kViewStatus;
  if (control->cbSize >= sizeof(QACONTROL)) control->dwPointerActivationPolicy = 0;
  return S_OK;
}

HRESULT QuickActivation::SetContentExtent(LPSIZEL size) {
  TraceCall("IQuickActivate::SetContentExtent");
  if (size == nullptr) return E_POINTER;
  return ole_.SetExtent(DVASPECT_CONTENT, size);
}

HRESULT QuickActivation::GetContentExtent(LPSIZEL size) {
  TraceCall("IQuickActivate::GetContentExtent");
  if (size == nullptr) return E_POINTER;
  return ole_.GetExtent(DVASPECT_CONTENT, static_cast<SIZEL*>(size));
}

}  // namespace jv::housing
