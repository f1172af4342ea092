// An instance's creation: the runtime it runs on (its site's, or one of its own),
// the ambient font it is given, and the interfaces its one identity answers.
#include <new>

#include "housing/jornavista_instance.h"
#include "housing/jornavista_object.h"
#include "platform/automation/std_font.h"

namespace jv::housing {

HRESULT JornavistaObject::GetAmbientFont(IFont** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (site_) {
    const HRESULT hr = site_->GetAmbientFont(out);
    if (hr != E_NOTIMPL) return hr;
  }
#ifdef _WIN32
  if (ole_ && SUCCEEDED(ole_->GetAmbientFont(out)) && *out != nullptr) return S_OK;
#endif
  // Without a container that has one, a standard font of the instance's own.
  if (!default_font_) JV_TRY(CreateStdFont(FontDescription{}, default_font_.put()));
  *out = default_font_.get();
  (*out)->AddRef();
  return S_OK;
}

HRESULT JornavistaObject::Start() {
  platform::ControlRuntime* runtime = nullptr;
  if (site_) {
    const HRESULT hr = site_->GetControlRuntime(&runtime);
    if (hr == E_NOTIMPL)
      runtime = nullptr;
    else
      JV_TRY(hr);
  }
  if (runtime == nullptr) {
    own_runtime_.reset(new (std::nothrow) OwnRuntime());
    if (!own_runtime_) return E_OUTOFMEMORY;
    runtime = own_runtime_.get();
  }
  keep_alive_runtime_.reset(new (std::nothrow)
                                KeepAliveRuntime(*runtime, *static_cast<_ctrJornavista*>(this)));
  if (!keep_alive_runtime_) return E_OUTOFMEMORY;
  JV_TRY(control::ctrJornavista::Create(*keep_alive_runtime_, *this, &control_));
#ifdef _WIN32
  if (own_runtime_ && own_runtime_->face() != nullptr) {
    ole_.reset(new (std::nothrow) OleControl(*static_cast<_ctrJornavista*>(this), *own_runtime_->face()));
    if (!ole_) return E_OUTOFMEMORY;
  }
#endif
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::QueryInterface(REFIID riid, void** object) {
  // The interfaces of the base list, then those of the OLE part.
  const HRESULT hr = RefCounted::QueryInterface(riid, object);
  if (hr != E_NOINTERFACE) return hr;
#ifdef _WIN32
  if (ole_ && ole_->FindInterface(riid, object)) return S_OK;
#endif
  return E_NOINTERFACE;
}

HRESULT CreatectrJornavista(IControlSite* site, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  auto* instance = new (std::nothrow) JornavistaObject(site);
  if (instance == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = instance->Start();
  if (SUCCEEDED(hr)) hr = instance->QueryInterface(riid, object);
  instance->Release();
  return hr;
}

}  // namespace jv::housing
