#include "platform/win32/win32_face.h"

#include "platform/win32/face_windows.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/window_print.h"

namespace jv::win32 {

Win32Face::Win32Face(platform::Container& container, platform::DateFunctions& dates,
                     const platform::FaceLayout& layout, platform::DayCellBounds cells)
    : dates_(dates),
      layout_(layout.controls.begin(), layout.controls.end()),
      dpi_(ScreenDpi()),
      surface_(*this, container) {
  cells_.Allocate(cells);
  for (DayCell& cell : cells_.cells()) {
    cell.face = this;
    cell.index = static_cast<std::int16_t>(cells.lbound + (&cell - cells_.cells().data()));
  }
  year_.face = date_.face = grid_.face = this;
  surface_.StoreSize(layout.design_width, layout.design_height);
  for (const platform::ControlDesign& c : layout_) {
    if (c.name == "l") {
      DayCell* cell = cells_.Find(c.index);
      cell->caption = c.caption;
      cell->fore = c.fore_color.value_or(kSysWindowText);
      cell->back = c.back_color.value_or(kSysWindow);
    } else if (c.name == "txtYear") {
      year_.text = c.caption;
    } else if (c.name == "txtDate") {
      date_.text = c.caption;
    } else if (c.name == "Frame1") {
      frame_.width = c.width;
      frame_.height = c.height;
    }
  }
}

Win32Face::~Win32Face() { Hide(); }

Win32Face::Windows* Win32Face::shown() const {
  return windows_ && windows_->surface != nullptr ? windows_.get() : nullptr;
}

HRESULT Win32Face::Show(HWND parent, POINT origin) {
  if (parent == nullptr) return E_INVALIDARG;
  if (windows_ && shown() == nullptr) windows_.reset();  // gone with the container's window
  if (!windows_) return Windows::Create(*this, parent, origin, &windows_);
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
  Windows* w = shown();
  if (w == nullptr) return;
  const SIZE size = pixel_size();
  RECT now{};
  GetWindowRect(w->surface, &now);
  if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
  SetWindowPos(w->surface, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT Win32Face::Print(HDC dc, const RECT& bounds) {
  if (dc == nullptr) return E_INVALIDARG;
  if (Windows* w = shown()) return PrintWindowTree(w->surface, dc, bounds);
  // A hidden top-level window holds a hidden set of windows for the one drawing.
  HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (holder == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  std::unique_ptr<Windows> hidden;
  HRESULT hr = Windows::Create(*this, holder, {0, 0}, &hidden);
  if (SUCCEEDED(hr)) hr = PrintWindowTree(hidden->surface, dc, bounds);
  hidden.reset();
  year_.window = date_.window = nullptr;
  DestroyWindow(holder);
  return hr;
}

}  // namespace jv::win32
