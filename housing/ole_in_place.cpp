// The control's in-place activation: IOleInPlaceObject and IOleInPlaceActiveObject,
// the window placed in the container's and the UI activation it asks for.
#include <climits>
#include <string>

#include "housing/ole_control.h"
#include "housing/ole_trace.h"

namespace jv::housing {

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
  face_.PlaceAt({position_.left, position_.top});
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
  Trace(("IOleInPlaceObject::SetObjectRects " + std::to_string(LONGLONG{position->right} - position->left) +
         "x" + std::to_string(LONGLONG{position->bottom} - position->top))
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

}  // namespace jv::housing
