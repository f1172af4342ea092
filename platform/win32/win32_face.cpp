#include "platform/win32/win32_face.h"

#include <algorithm>

#include "platform/win32/face_windows.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/window_print.h"

namespace jv::win32 {

// The face's controls as the control sees them: each passes to the headless face,
// which keeps the value (and the runtime's faults and journal), and then shows the
// change in the windows when there are any.
struct Win32Face::Parts {
  Win32Face& face;

  Windows* windows() { return face.windows_.get(); }

  struct Cell final : platform::Label {
    Parts* parts = nullptr;
    platform::Label* inner = nullptr;
    std::int16_t index = 0;

    HRESULT get_Caption(Text* out) override { return inner->get_Caption(out); }
    HRESULT put_Caption(TextView caption) override { return Shown(inner->put_Caption(caption)); }
    HRESULT put_ForeColor(OLE_COLOR color) override { return Shown(inner->put_ForeColor(color)); }
    HRESULT put_BackColor(OLE_COLOR color) override { return Shown(inner->put_BackColor(color)); }
    HRESULT Shown(HRESULT hr) {
      if (SUCCEEDED(hr) && parts->windows() != nullptr) parts->windows()->InvalidateCell(index);
      return hr;
    }
  };

  struct Cells final : platform::LabelArray {
    Parts* parts = nullptr;
    std::int16_t lbound = 1;
    std::vector<Cell> cells;
    platform::LabelArray& inner() { return parts->face.model_->l(); }

    HRESULT get_Count(std::int16_t* out) override { return inner().get_Count(out); }
    HRESULT get_LBound(std::int16_t* out) override { return inner().get_LBound(out); }
    HRESULT get_UBound(std::int16_t* out) override { return inner().get_UBound(out); }
    HRESULT Item(std::int16_t index, platform::Label** out) override {
      platform::Label* label = nullptr;
      JV_TRY(inner().Item(index, &label));
      Cell& cell = cells[static_cast<std::size_t>(index - lbound)];
      cell.inner = label;
      *out = &cell;
      return S_OK;
    }
  };

  struct Box final : platform::TextBox {
    Parts* parts = nullptr;
    platform::TextBox* inner = nullptr;
    HWND Windows::*window = nullptr;

    HRESULT get_Text(Text* out) override { return inner->get_Text(out); }
    HRESULT put_Text(TextView text) override {
      JV_TRY(inner->put_Text(text));
      if (Windows* w = parts->windows()) w->SetText(w->*window, text);
      return S_OK;
    }
  };

  struct Picture final : platform::PictureBox {
    Parts* parts = nullptr;
    HRESULT SetFocus() override {
      JV_TRY(parts->face.model_->Picture1().SetFocus());
      if (Windows* w = parts->windows(); w != nullptr && GetFocus() != w->picture) ::SetFocus(w->picture);
      return S_OK;
    }
  };

  struct SurfaceProxy final : platform::Surface {
    Parts* parts = nullptr;
    platform::Surface& inner() { return parts->face.model_->UserControl(); }

    HRESULT get_Width(std::int32_t* out) override { return inner().get_Width(out); }
    HRESULT get_Height(std::int32_t* out) override { return inner().get_Height(out); }
    HRESULT put_Width(std::int32_t twips) override {
      const HRESULT hr = inner().put_Width(twips);
      parts->face.SyncSize();
      return hr;
    }
    HRESULT put_Height(std::int32_t twips) override {
      const HRESULT hr = inner().put_Height(twips);
      parts->face.SyncSize();
      return hr;
    }
    HRESULT PropertyChanged(TextView name) override { return inner().PropertyChanged(name); }
    HRESULT get_AmbientFont(IFont** out) override { return inner().get_AmbientFont(out); }
  };

  Cells l;
  Box year, date;
  Picture picture;
  SurfaceProxy surface;
};

Win32Face::Win32Face(headless::HeadlessRuntime& runtime, std::unique_ptr<headless::HeadlessFace> model,
                     const platform::FaceLayout& layout)
    : runtime_(runtime),
      model_(std::move(model)),
      layout_(layout.controls.begin(), layout.controls.end()),
      dpi_(ScreenDpi()),
      parts_(new Parts{*this, {}, {}, {}, {}, {}}) {
  Parts& p = *parts_;
  std::int16_t lowest = INT16_MAX, highest = INT16_MIN;
  for (const platform::ControlDesign& c : layout_)
    if (c.name == "l" && c.index != platform::kNotInArray) {
      lowest = std::min(lowest, c.index);
      highest = std::max(highest, c.index);
    }
  p.l.parts = &p;
  p.l.lbound = lowest;
  p.l.cells.resize(static_cast<std::size_t>(highest - lowest + 1));
  for (std::size_t i = 0; i < p.l.cells.size(); ++i) {
    p.l.cells[i].parts = &p;
    p.l.cells[i].index = static_cast<std::int16_t>(lowest + static_cast<std::int16_t>(i));
  }
  p.year.parts = p.date.parts = &p;
  p.year.inner = &model_->txtYear();
  p.year.window = &Windows::year;
  p.date.inner = &model_->txtDate();
  p.date.window = &Windows::date;
  p.picture.parts = &p;
  p.surface.parts = &p;
}

Win32Face::~Win32Face() { Hide(); }

platform::LabelArray& Win32Face::l() { return parts_->l; }
platform::TextBox& Win32Face::txtYear() { return parts_->year; }
platform::TextBox& Win32Face::txtDate() { return parts_->date; }
platform::PictureBox& Win32Face::Picture1() { return parts_->picture; }
platform::Frame& Win32Face::Frame1() { return model_->Frame1(); }
platform::Surface& Win32Face::UserControl() { return parts_->surface; }

HRESULT Win32Face::Show(HWND parent, POINT origin) {
  if (parent == nullptr) return E_INVALIDARG;
  if (windows_ && windows_->surface == nullptr) windows_.reset();  // gone with the container's window
  if (!windows_) return Windows::Create(*this, parent, origin, &windows_);
  if (GetParent(windows_->surface) != parent) SetParent(windows_->surface, parent);
  SetWindowPos(windows_->surface, nullptr, origin.x, origin.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  return S_OK;
}

void Win32Face::Hide() { windows_.reset(); }

HWND Win32Face::window() const { return windows_ ? windows_->surface : nullptr; }
HWND Win32Face::grid_window() const { return windows_ ? windows_->picture : nullptr; }

bool Win32Face::IsOwnWindow(HWND window) const {
  return windows_ && window != nullptr && (window == windows_->surface || IsChild(windows_->surface, window));
}

HRESULT Win32Face::RequestSize(int width, int height) {
  if (width < 0 || height < 0) return E_INVALIDARG;
  const HRESULT hr = model_->RequestSize(ToTwips(width, dpi_), ToTwips(height, dpi_));
  SyncSize();
  return hr;
}

SIZE Win32Face::pixel_size() const { return {ToPixels(model_->width(), dpi_), ToPixels(model_->height(), dpi_)}; }

void Win32Face::SyncSize() {
  if (!windows_) return;
  const SIZE size = pixel_size();
  RECT now{};
  GetWindowRect(windows_->surface, &now);
  if (now.right - now.left == size.cx && now.bottom - now.top == size.cy) return;
  SetWindowPos(windows_->surface, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT Win32Face::Print(HDC dc, const RECT& bounds) {
  if (dc == nullptr) return E_INVALIDARG;
  if (windows_ && windows_->surface != nullptr) return PrintWindowTree(windows_->surface, dc, bounds);
  // A hidden top-level window holds a hidden set of windows for the one drawing.
  HWND holder = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (holder == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  std::unique_ptr<Windows> hidden;
  HRESULT hr = Windows::Create(*this, holder, {0, 0}, &hidden);
  if (SUCCEEDED(hr)) hr = PrintWindowTree(hidden->surface, dc, bounds);
  hidden.reset();
  DestroyWindow(holder);
  return hr;
}

}  // namespace jv::win32
