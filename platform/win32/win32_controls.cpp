#include "platform/win32/win32_controls.h"

#include "platform/win32/shown_windows.h"
#include "platform/win32/win32_face.h"

namespace jv::win32 {

HRESULT DayCell::get_Caption(Text* out) { return platform::WriteOut(out, caption); }

HRESULT DayCell::Repaint() const {
  if (ShownWindows* w = face->shown_windows_or_null()) w->InvalidateCell(index);
  return S_OK;
}

namespace {

// A cell's caption or back colour written: the cell keeps it, the grid's model
// notes it and the cell shows it.
template <class Field, class Value>
HRESULT Written(DayCell& cell, Field& field, Value value, void (platform::DayGridModel::*note)(std::int16_t, Value)) {
  field = value;
  if (platform::DayGridModel* model = cell.face->model()) (model->*note)(cell.index, value);
  return cell.Repaint();
}

}  // namespace

HRESULT DayCell::put_Caption(TextView text) {
  return Written(*this, caption, text, &platform::DayGridModel::CaptionWritten);
}

HRESULT DayCell::put_ForeColor(OLE_COLOR color) {
  fore = color;
  return Repaint();
}

HRESULT DayCell::put_BackColor(OLE_COLOR color) {
  return Written(*this, back, color, &platform::DayGridModel::BackColorWritten);
}

HRESULT EditBox::put_Text(TextView value) {
  text = value;
  if (this == &face->year_) face->model()->YearBoxWritten(value);
  if (face->shown_windows_or_null() != nullptr && window != nullptr) {
    const std::wstring shown(value.begin(), value.end());
    SetWindowTextW(window, shown.c_str());
  }
  return S_OK;
}

HRESULT GridBox::SetFocus() {
  // Without windows the focus has nowhere to go, and nothing to show.
  ShownWindows* w = face->shown_windows_or_null();
  if (w != nullptr && GetFocus() != w->picture) ::SetFocus(w->picture);
  return S_OK;
}

WindowSurface::WindowSurface(Win32Face& face, platform::Container& container)
    : SurfaceBase(face, container), win32_face_(face) {}

void WindowSurface::ApplySize(std::int32_t width, std::int32_t height) {
  StoreSize(width, height);
  win32_face_.SyncSize();
}

}  // namespace jv::win32
