#include "housing/ole_control.h"

#include <climits>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "housing/jornavista_typelib.h"
#include "housing/trace_switch.h"
#include "platform/win32/screen_units.h"

namespace jv::housing {

namespace {

constexpr int kHimetricPerInch = 2540;

// An interface the OLE side serves, and where in the object it lives.
struct Served {
  const IID* iid;
  const char* name;
  void* face;
};

}  // namespace

void Trace(const char* call) {
  if (!TraceSwitchedOn()) return;
  std::string line = "Jornavista: ";
  line += call;
  line += '\n';
  OutputDebugStringA(line.c_str());
}

OleControl::OleControl(IUnknown& outer, win32::Win32Face& face) : outer_(outer), face_(face) {
  face_.SetObserver(this);
}

OleControl::~OleControl() {
  face_.SetObserver(nullptr);
  face_.Hide();
}

bool OleControl::Answer(REFIID riid, void** object) {
  const Served served[] = {
      {&IID_IOleObject, "IOleObject", static_cast<IOleObject*>(this)},
      {&IID_IOleWindow, "IOleWindow", static_cast<IOleInPlaceObject*>(this)},
      {&IID_IOleInPlaceObject, "IOleInPlaceObject", static_cast<IOleInPlaceObject*>(this)},
      {&IID_IOleInPlaceActiveObject, "IOleInPlaceActiveObject", static_cast<IOleInPlaceActiveObject*>(this)},
      {&IID_IViewObject, "IViewObject", static_cast<IViewObject2*>(this)},
      {&IID_IViewObject2, "IViewObject2", static_cast<IViewObject2*>(this)},
      {&IID_IOleControl, "IOleControl", static_cast<IOleControl*>(this)},
      {&IID_ISpecifyPropertyPages, "ISpecifyPropertyPages", static_cast<ISpecifyPropertyPages*>(this)},
      {&IID_IPersistStreamInit, "IPersistStreamInit", static_cast<IPersistStreamInit*>(this)},
      {&IID_IPersistStorage, "IPersistStorage", static_cast<IPersistStorage*>(this)},
      {&IID_IQuickActivate, "IQuickActivate", static_cast<IQuickActivate*>(&quick_)},
      {&IID_IDataObject, "IDataObject", static_cast<IDataObject*>(&data_)},
  };
  for (const Served& s : served) {
    if (!(*s.iid == riid)) continue;
    Trace((std::string("QueryInterface ") + s.name).c_str());
    AddRef();
    *object = s.face;
    return true;
  }
  return false;
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

// --- in-place activation

HRESULT OleControl::ActivateInPlace(bool ui_activate) {
  if (!client_site_) return E_UNEXPECTED;
  if (!in_place_site_ && FAILED(client_site_->QueryInterface(IID_IOleInPlaceSite,
                                                             reinterpret_cast<void**>(in_place_site_.put()))))
    return E_NOINTERFACE;
  if (!in_place_active_) {
    if (in_place_site_->CanInPlaceActivate() != S_OK) return E_FAIL;
    JV_TRY(in_place_site_->OnInPlaceActivate());
    in_place_active_ = true;
  }
  HWND parent = nullptr;
  JV_TRY(in_place_site_->GetWindow(&parent));
  RECT position{}, clip{};
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  frame_.reset();
  document_.reset();
  JV_TRY(in_place_site_->GetWindowContext(frame_.put(), document_.put(), &position, &clip, &info));
  JV_TRY(face_.Show(parent, {position.left, position.top}));
  JV_TRY(PlaceAt(position));
  ShowWindow(face_.window(), SW_SHOWNA);
  if (ui_activate) JV_TRY(ActivateUI());
  ViewChanged();
  return S_OK;
}

HRESULT OleControl::ActivateUI() {
  if (!in_place_active_) return ActivateInPlace(true);
  if (ui_active_) return S_OK;
  ui_active_ = true;
  (void)in_place_site_->OnUIActivate();
  if (frame_) (void)frame_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"Jornavista");
  if (document_) (void)document_->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), L"Jornavista");
  if (frame_) (void)frame_->SetBorderSpace(nullptr);
  HWND grid = face_.grid_window();
  if (grid != nullptr && !face_.IsOwnWindow(GetFocus())) SetFocus(grid);
  return S_OK;
}

HRESULT OleControl::PlaceAt(const RECT& position) {
  // A refused rectangle moves nothing and tells no one: an inverted one, one wider
  // than a size request takes, and one where the frame's size would run past
  // LONG_MAX, whose rectangle could not be told.
  const LONGLONG width = LONGLONG{position.right} - position.left;
  const LONGLONG height = LONGLONG{position.bottom} - position.top;
  SIZE frame{};
  JV_TRY(FramePixels(&frame));
  if (width < 0 || height < 0 || width > INT_MAX || height > INT_MAX || position.left > LONG_MAX - frame.cx ||
      position.top > LONG_MAX - frame.cy)
    return E_INVALIDARG;
  if (placing_) return S_OK;
  placing_ = true;
  const HRESULT hr = face_.RequestSize(static_cast<int>(width), static_cast<int>(height));
  const SIZE size = face_.pixel_size();
  if (hr == E_INVALIDARG || position.left > LONG_MAX - size.cx || position.top > LONG_MAX - size.cy) {
    placing_ = false;  // the surface took no size, or one that cannot be placed there
    return E_INVALIDARG;
  }
  position_ = {position.left, position.top, position.left + size.cx, position.top + size.cy};
  if (HWND window = face_.window())
    SetWindowPos(window, nullptr, position_.left, position_.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (in_place_site_ && !EqualRect(&position, &position_)) (void)in_place_site_->OnPosRectChange(&position_);
  placing_ = false;
  return SUCCEEDED(hr) ? S_OK : hr;
}

HRESULT OleControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = face_.window();
  return *window != nullptr ? S_OK : E_FAIL;
}

HRESULT OleControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT OleControl::InPlaceDeactivate() {
  Trace("IOleInPlaceObject::InPlaceDeactivate");
  if (!in_place_active_) return S_OK;
  (void)UIDeactivate();
  in_place_active_ = false;
  face_.Hide();
  frame_.reset();
  document_.reset();
  if (in_place_site_) (void)in_place_site_->OnInPlaceDeactivate();
  return S_OK;
}

HRESULT OleControl::UIDeactivate() {
  Trace("IOleInPlaceObject::UIDeactivate");
  if (!ui_active_) return S_OK;
  ui_active_ = false;
  if (document_) (void)document_->SetActiveObject(nullptr, nullptr);
  if (frame_) (void)frame_->SetActiveObject(nullptr, nullptr);
  if (in_place_site_) (void)in_place_site_->OnUIDeactivate(FALSE);
  return S_OK;
}

HRESULT OleControl::SetObjectRects(LPCRECT position, LPCRECT) {
  if (position == nullptr) return E_POINTER;
  Trace(("IOleInPlaceObject::SetObjectRects " + std::to_string(LONGLONG{position->right} - position->left) + "x" +
         std::to_string(LONGLONG{position->bottom} - position->top))
            .c_str());
  return PlaceAt(*position);
}

HRESULT OleControl::ReactivateAndUndo() { return INPLACE_E_NOTUNDOABLE; }

HRESULT OleControl::TranslateAccelerator(LPMSG msg) {
  if (msg == nullptr) return E_INVALIDARG;
  // The grid's keys: a container would otherwise move the focus with the arrows.
  HWND grid = face_.grid_window();
  const bool grid_key =
      msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT || (msg->wParam >= VK_LEFT && msg->wParam <= VK_DOWN);
  if (msg->message == WM_KEYDOWN && grid_key && grid != nullptr && msg->hwnd == grid) {
    SendMessageW(grid, WM_KEYDOWN, msg->wParam, msg->lParam);
    return S_OK;
  }
  return S_FALSE;
}

HRESULT OleControl::OnFrameWindowActivate(BOOL) { return S_OK; }
HRESULT OleControl::OnDocWindowActivate(BOOL) { return S_OK; }
HRESULT OleControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
HRESULT OleControl::EnableModeless(BOOL) { return S_OK; }

// --- IViewObject2

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
