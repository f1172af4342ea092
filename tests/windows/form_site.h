// The site of a form container of our own, as a quick-activating host (AxHost, a
// browser) gives one to a control: client site, in-place site on a window of ours,
// ambient properties through IDispatch (user mode, a dead interface), and the
// sinks it connects: view changes, data changes and property changes, counted.
#pragma once

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <map>

#include "tests/windows/client_site.h"

namespace jv::wincheck {

class FormSite final : public ClientSite,
                       public IDispatch,
                       public IAdviseSinkEx,
                       public IPropertyNotifySink {
 public:
  FormSite(HWND in, RECT position) : position_(position) { window = in; }

  bool user_mode = true;
  bool ui_dead = false;
  int view_changes = 0, data_changes = 0;
  std::map<DISPID, int> changed;  // OnChanged by dispatch id
  RECT reported{};                // the last OnPosRectChange

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
      *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow)
      *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IDispatch)
      *out = static_cast<IDispatch*>(this);
    else if (riid == IID_IAdviseSink || riid == IID_IAdviseSinkEx)
      *out = static_cast<IAdviseSinkEx*>(this);
    else if (riid == IID_IPropertyNotifySink)
      *out = static_cast<IPropertyNotifySink*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  // Lives on the stack of the checks, longer than any control it hosts.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // IOleInPlaceSite
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO) override {
    *frame = nullptr;
    *doc = nullptr;
    *pos = *clip = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT r) override {
    reported = *r;
    return S_OK;
  }

  // IDispatch: the ambient properties.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** t) override {
    *t = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    if ((flags & DISPATCH_PROPERTYGET) == 0 || result == nullptr) return DISP_E_MEMBERNOTFOUND;
    if (id != DISPID_AMBIENT_USERMODE && id != DISPID_AMBIENT_UIDEAD) return DISP_E_MEMBERNOTFOUND;
    VariantInit(result);
    result->vt = VT_BOOL;
    result->boolVal = (id == DISPID_AMBIENT_USERMODE ? user_mode : ui_dead) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

  // IAdviseSinkEx
  void STDMETHODCALLTYPE OnDataChange(FORMATETC*, STGMEDIUM*) override { ++data_changes; }
  void STDMETHODCALLTYPE OnViewChange(DWORD, LONG) override { ++view_changes; }
  void STDMETHODCALLTYPE OnRename(IMoniker*) override {}
  void STDMETHODCALLTYPE OnSave() override {}
  void STDMETHODCALLTYPE OnClose() override {}
  void STDMETHODCALLTYPE OnViewStatusChange(DWORD) override {}

  // IPropertyNotifySink
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    ++changed[id];
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }

 private:
  RECT position_;
};

}  // namespace jv::wincheck
