#include "housing/ole_control.h"

#include <climits>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "housing/jornavista_typelib.h"
#include "housing/ole_trace.h"
#include "platform/win32/screen_units.h"

namespace jv::housing {

namespace {

constexpr int kHimetricPerInch = 2540;

}  // namespace

OleControl::OleControl(IUnknown& outer, win32::Win32Face& face) : outer_(outer), face_(face) {
  face_.SetObserver(this);
}

OleControl::~OleControl() {
  face_.SetObserver(nullptr);
  face_.Hide();
}

bool OleControl::FindInterface(REFIID riid, void** object) {
  const char* name = nullptr;
  void* found = FindInterfaceOf<IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject, IViewObject2,
                                IOleControl, ISpecifyPropertyPages, IPersistStreamInit, IPersistStorage>(
      this, riid, &name);
  if (found == nullptr) found = FindInterfaceOf<IQuickActivate>(&quick_, riid, &name);
  if (found == nullptr) found = FindInterfaceOf<IDataObject>(&data_, riid, &name);
  if (found == nullptr) return false;
  Trace((std::string("QueryInterface ") + name).c_str());
  AddRef();
  *object = found;
  return true;
}

HRESULT OleControl::QueryInterface(REFIID riid, void** object) { return outer_.QueryInterface(riid, object); }

void OleControl::OnChanged() {
  dirty_ = true;
  ViewChanged();
}

HRESULT OleControl::GetAmbientFont(IFont** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  // A quick-activating container's font stands before the site's.
  if (ambient_.font() != nullptr)
    return ambient_.font()->QueryInterface(IID_IFont, reinterpret_cast<void**>(out));
  ComPtr<IDispatch> ambient;
  if (!client_site_ ||
      FAILED(client_site_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(ambient.put()))) ||
      !ambient)
    return E_NOTIMPL;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT result;
  VariantInit(&result);
  if (FAILED(ambient->Invoke(DISPID_AMBIENT_FONT, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                             &result, nullptr, nullptr)))
    return E_NOTIMPL;
  HRESULT hr = E_NOTIMPL;
  if ((result.vt == VT_DISPATCH || result.vt == VT_UNKNOWN) && result.punkVal != nullptr)
    hr = result.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(out));
  VariantClear(&result);
  return SUCCEEDED(hr) ? S_OK : E_NOTIMPL;
}

// --- IOleObject

HRESULT OleControl::SetClientSite(IOleClientSite* site) {
  Trace("IOleObject::SetClientSite");
  // Everything that came from the old site goes with it: its window (the old site
  // is told of the deactivation), its in-place site, frame and document.
  if (site != client_site_.get()) {
    (void)InPlaceDeactivate();
    in_place_site_.reset();
    frame_.reset();
    document_.reset();
  }
  client_site_ = ComPtr<IOleClientSite>(site);
  ReadAmbient();
  return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = client_site_.get();
  if (*site != nullptr) (*site)->AddRef();
  return S_OK;
}

HRESULT OleControl::SetHostNames(LPCOLESTR, LPCOLESTR) {
  Trace("IOleObject::SetHostNames");
  return S_OK;
}

HRESULT OleControl::Close(DWORD save_option) {
  Trace("IOleObject::Close");
  if (dirty_ && client_site_ && (save_option == OLECLOSE_SAVEIFDIRTY || save_option == OLECLOSE_PROMPTSAVE))
    (void)client_site_->SaveObject();
  (void)InPlaceDeactivate();
  if (advise_holder_) advise_holder_->SendOnClose();
  return S_OK;
}

HRESULT OleControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
HRESULT OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}
HRESULT OleControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
HRESULT OleControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data != nullptr) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT OleControl::DoVerb(LONG verb, LPMSG, IOleClientSite* active_site, LONG, HWND, LPCRECT) {
  Trace(("IOleObject::DoVerb " + std::to_string(verb)).c_str());
  if (!client_site_ && active_site != nullptr) client_site_ = ComPtr<IOleClientSite>(active_site);
  switch (verb) {
    case OLEIVERB_PRIMARY:
    case OLEIVERB_SHOW:
    case OLEIVERB_UIACTIVATE:
      return ActivateInPlace(true);
    case OLEIVERB_INPLACEACTIVATE:
      return ActivateInPlace(false);
    case OLEIVERB_HIDE:
      (void)UIDeactivate();
      if (HWND window = face_.window()) ShowWindow(window, SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default: {
      // No window of its own to open. A positive verb it does not know is the
      // primary verb, as OLE asks, reported as unknown once it ran.
      if (verb < 0) return E_NOTIMPL;
      JV_TRY(ActivateInPlace(true));
      return OLEOBJ_S_INVALIDVERB;
    }
  }
}

HRESULT OleControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs != nullptr) *verbs = nullptr;
  return OLE_S_USEREG;
}
HRESULT OleControl::Update() { return S_OK; }
HRESULT OleControl::IsUpToDate() { return S_OK; }

HRESULT OleControl::GetUserClassID(CLSID* clsid) { return GetClassID(clsid); }

HRESULT OleControl::GetUserType(DWORD, LPOLESTR* type) {
  if (type != nullptr) *type = nullptr;
  return OLE_S_USEREG;
}

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size) {
  Trace(("IOleObject::SetExtent " + std::to_string(size ? size->cx : 0) + "x" +
         std::to_string(size ? size->cy : 0))
            .c_str());
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  // A size request like any other: the resize rule keeps the frame's size. Some
  // containers pass other units than HIMETRIC here; the answer is the same.
  const int dpi = face_.dpi();
  const HRESULT hr =
      face_.RequestSize(MulDiv(size->cx, dpi, kHimetricPerInch), MulDiv(size->cy, dpi, kHimetricPerInch));
  if (in_place_active_) (void)PlaceAt(position_);
  ViewChanged();
  return SUCCEEDED(hr) ? S_OK : hr;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size) {
  Trace("IOleObject::GetExtent");
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  // The frame's size, before the first resize too, when the surface still has
  // the design size that it never shows.
  SIZE pixels{};
  JV_TRY(FramePixels(&pixels));
  const int dpi = face_.dpi();
  size->cx = MulDiv(pixels.cx, kHimetricPerInch, dpi);
  size->cy = MulDiv(pixels.cy, kHimetricPerInch, dpi);
  return S_OK;
}

HRESULT OleControl::FramePixels(SIZE* out) {
  std::int32_t width = 0, height = 0;
  JV_TRY(face_.Frame1().get_Width(&width));
  JV_TRY(face_.Frame1().get_Height(&height));
  *out = {win32::ToPixels(width, face_.dpi()), win32::ToPixels(height, face_.dpi())};
  return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink* sink, DWORD* cookie) {
  Trace("IOleObject::Advise");
  if (!advise_holder_) JV_TRY(CreateOleAdviseHolder(advise_holder_.put()));
  return advise_holder_->Advise(sink, cookie);
}

HRESULT OleControl::Unadvise(DWORD cookie) {
  if (!advise_holder_) return OLE_E_NOCONNECTION;
  return advise_holder_->Unadvise(cookie);
}

HRESULT OleControl::EnumAdvise(IEnumSTATDATA** advise) {
  if (advise == nullptr) return E_POINTER;
  *advise = nullptr;
  // Without an advise yet, the enumeration of no connections.
  if (!advise_holder_) JV_TRY(CreateOleAdviseHolder(advise_holder_.put()));
  const HRESULT hr = advise_holder_->EnumAdvise(advise);
  return SUCCEEDED(hr) && *advise == nullptr ? E_FAIL : hr;
}

HRESULT OleControl::GetMiscStatus(DWORD, DWORD* status) {
  Trace("IOleObject::GetMiscStatus");
  if (status == nullptr) return E_POINTER;
  *status = kMiscStatus;
  return S_OK;
}

HRESULT OleControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// --- IOleControl

HRESULT OleControl::GetControlInfo(CONTROLINFO* info) {
  Trace("IOleControl::GetControlInfo");
  if (info == nullptr) return E_POINTER;
  // No mnemonics; Enter and Esc are the container's.
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

HRESULT OleControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

HRESULT OleControl::OnAmbientPropertyChange(DISPID) {
  Trace("IOleControl::OnAmbientPropertyChange");
  ReadAmbient();  // the font is asked for whenever it is needed
  return S_OK;
}

HRESULT OleControl::FreezeEvents(BOOL) {
  Trace("IOleControl::FreezeEvents");
  return S_OK;  // the control raises no events
}

// --- the face's news

void OleControl::OnFocusChanged(bool has_focus) {
  if (has_focus && in_place_active_) (void)ActivateUI();
  ComPtr<IOleControlSite> control_site;
  if (client_site_ &&
      SUCCEEDED(
          client_site_->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(control_site.put()))) &&
      control_site)
    (void)control_site->OnFocus(has_focus);
}

void OleControl::OnInputHandled() { ViewChanged(); }

}  // namespace jv::housing
