// The instance's outgoing interfaces, and the control's change notices passed to
// every connected property-notify sink.
#include "housing/jornavista_instance.h"

namespace jv::housing {

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
  IConnectionPoint* const points[] = {&property_notify_, &events_};
  return component::CreateConnectionPointEnumerator(points, out);
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IPropertyNotifySink)
    *out = &property_notify_;
  else if (riid == jornavista::DIID___ctrJornavista)
    *out = &events_;
  else
    return CONNECT_E_NOCONNECTION;
  (*out)->AddRef();
  return S_OK;
}

HRESULT JornavistaObject::OnPropertyChanged(TextView name) {
#ifdef _WIN32
  if (ole_) ole_->OnChanged();
#endif
  if (property_notify_.empty()) return S_OK;
  const MemberDesc* member = MemberNamed(name);
  const DISPID id = member != nullptr ? member->id : DISPID_UNKNOWN;
  for (const ComPtr<IUnknown>& sink : property_notify_.Sinks())
    (void)static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
  return S_OK;
}

}  // namespace jv::housing
