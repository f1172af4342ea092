#include "platform/win32/win32_face.h"

#include <utility>

#include "platform/face/stored_controls.h"
#include "platform/win32/shown_windows.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/window_print.h"

namespace jv::win32 {

Win32Face::Win32Face(platform::Container& container, platform::DateFunctions& dates,
                     const platform::FaceLayout& layout)
    : layout_(layout.controls.begin(), layout.controls.end()), dpi_(ScreenDpi()), surface_(*this, container) {
  HoldControls({&cells_, &year_, &date_, &grid_, &frame_, &surface_});
  // The layout passed the check in the runtime; the roles point into the face's own copy.
  (void)platform::ResolveRoles({layout.design_width, layout.design_height, layout_}, &roles_);
  SetUpModel(roles_, dates);
  cells_.Allocate(roles_.cells);
  for (DayCell& cell : cells_.cells()) {
    cell.face = this;
    cell.index = static_cast<std::int16_t>(roles_.cells.lbound + (&cell - cells_.cells().data()));
  }
  year_.face = date_.face = grid_.face = this;
  surface_.StoreSize(layout.design_width, layout.design_height);
  platform::FillStoredControls(roles_, year_, date_, frame_, cells_,
                               [](DayCell& cell, const platform::ControlDesign& c) {
                                 cell.caption = c.caption;
                                 cell.fore = c.fore_color.value_or(kSysWindowText);
                                 cell.back = c.back_color.value_or(kSysWindow);
                               });
}

Win32Face::~Win32Face() { Hide(); }

ShownWindows* Win32Face::shown_windows_or_null() const {
  return windows_ && windows_->surface != nullptr ? windows_.get() : nullptr;
}

HRESULT Win32Face::Show(HWND parent, POINT origin) {
  if (parent == nullptr) return E_INVALIDARG;
  // Gone with the container's window.
  if (windows_ && shown_windows_or_null() == nullptr) windows_.reset();
  if (!windows_)
    return ShownWindows::Create(*this, parent, origin, ShownWindows::Unseen::AfterFirstPaint, &windows_);
  if (GetParent(windows_->surface) != parent) SetParent(windows_->surface, parent);
  SetWindowPos(windows_->surface, nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return S_OK;
}

void Win32Face::Hide() {
  windows_.reset();
  year_.window = date_.window = nullptr;
}

HWND Win32Face::window() const { return shown_windows_or_null() ? windows_->surface : nullptr; }
HWND Win32Face::grid_window() const { return shown_windows_or_null() ? windows_->picture : nullptr; }

bool Win32Face::IsOwnWindow(HWND window) const {
  return shown_windows_or_null() != nullptr && window != nullptr &&
         (window == windows_->surface || IsChild(windows_->surface, window));
}

HRESULT Win32Face::RequestSize(int width, int height) {
  // The request and the resize rule it raises may size the surface three times
  // (the size asked for, then the frame's width, then its height): the window
  // takes only the size the surface ends with, in one move or none.
  const bool outer = !std::exchange(deferring_size_, true);
  const HRESULT hr = surface_.Request(ToTwips(width, dpi_), ToTwips(height, dpi_));
  if (outer) {
    deferring_size_ = false;
    SyncSize();
  }
  return hr;
}

void Win32Face::PlaceAt(POINT origin) {
  ShownWindows* w = shown_windows_or_null();
  if (w == nullptr) return;
  const SIZE size = pixel_size();
  RECT now{};
  GetWindowRect(w->surface, &now);
  MapWindowPoints(HWND_DESKTOP, GetParent(w->surface), reinterpret_cast<POINT*>(&now), 2);
  if (now.left == origin.x && now.top == origin.y && now.right - now.left == size.cx &&
      now.bottom - now.top == size.cy)
    return;  // a move to where it is would still cost the window server a round trip
  SetWindowPos(w->surface, nullptr, origin.x, origin.y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Win32Face::pixel_size() const { return {ToPixels(surface_.width(), dpi_), ToPixels(surface_.height(), dpi_)}; }

void Win32Face::SyncSize() {
  ShownWindows* w = shown_windows_or_null();
  if (w == nullptr || deferring_size_) return;
  const SIZE size = pixel_size();
  RECT now{};
  GetWindowRect(w->surface, &now);
  if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
  SetWindowPos(w->surface, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT Win32Face::Print(HDC dc, const RECT& bounds) {
  if (dc == nullptr) return E_INVALIDARG;
  if (ShownWindows* w = shown_windows_or_null()) return PrintWindowTree(w->surface, dc, bounds);
  // A hidden top-level window holds a hidden set of windows for the one drawing.
  HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (holder == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  std::unique_ptr<ShownWindows> hidden;
  HRESULT hr = ShownWindows::Create(*this, holder, {0, 0}, ShownWindows::Unseen::AtOnce, &hidden);
  if (SUCCEEDED(hr)) hr = PrintWindowTree(hidden->surface, dc, bounds);
  hidden.reset();
  year_.window = date_.window = nullptr;
  DestroyWindow(holder);
  return hr;
}

}  // namespace jv::win32
