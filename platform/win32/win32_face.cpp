#include "platform/win32/win32_face.h"

#include "platform/face/stored_controls.h"
#include "platform/win32/shown_windows.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/window_print.h"

namespace jv::win32 {

Win32Face::Win32Face(platform::Container& container, platform::DateFunctions& dates,
                     const platform::FaceLayout& layout)
    : layout_(layout.controls.begin(), layout.controls.end()), dpi_(ScreenDpi()), surface_(*this, container) {
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

ShownWindows* Win32Face::shown() const {
  return windows_ && windows_->surface != nullptr ? windows_.get() : nullptr;
}

HRESULT Win32Face::Show(HWND parent, POINT origin) {
  if (parent == nullptr) return E_INVALIDARG;
  if (windows_ && shown() == nullptr) windows_.reset();  // gone with the container's window
  if (!windows_) return ShownWindows::Create(*this, parent, origin, &windows_);
  if (GetParent(windows_->surface) != parent) SetParent(windows_->surface, parent);
  SetWindowPos(windows_->surface, nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return S_OK;
}

void Win32Face::Hide() {
  windows_.reset();
  year_.window = date_.window = nullptr;
}

HWND Win32Face::window() const { return shown() ? windows_->surface : nullptr; }
HWND Win32Face::grid_window() const { return shown() ? windows_->picture : nullptr; }

bool Win32Face::IsOwnWindow(HWND window) const {
  return shown() && window != nullptr && (window == windows_->surface || IsChild(windows_->surface, window));
}

HRESULT Win32Face::RequestSize(int width, int height) {
  return surface_.Request(ToTwips(width, dpi_), ToTwips(height, dpi_));
}

SIZE Win32Face::pixel_size() const { return {ToPixels(surface_.width(), dpi_), ToPixels(surface_.height(), dpi_)}; }

void Win32Face::SyncSize() {
  ShownWindows* w = shown();
  if (w == nullptr) return;
  const SIZE size = pixel_size();
  RECT now{};
  GetWindowRect(w->surface, &now);
  if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
  SetWindowPos(w->surface, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT Win32Face::Print(HDC dc, const RECT& bounds) {
  if (dc == nullptr) return E_INVALIDARG;
  if (ShownWindows* w = shown()) return PrintWindowTree(w->surface, dc, bounds);
  // A hidden top-level window holds a hidden set of windows for the one drawing.
  HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (holder == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  std::unique_ptr<ShownWindows> hidden;
  HRESULT hr = ShownWindows::Create(*this, holder, {0, 0}, &hidden);
  if (SUCCEEDED(hr)) hr = PrintWindowTree(hidden->surface, dc, bounds);
  hidden.reset();
  year_.window = date_.window = nullptr;
  DestroyWindow(holder);
  return hr;
}

}  // namespace jv::win32
