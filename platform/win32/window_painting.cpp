// How the face's windows paint: the surface, the frame with its band and
// headings, and the picture box with its day cells.
#include <optional>

#include "platform/win32/screen_units.h"
#include "platform/win32/shown_windows.h"

namespace jv::win32 {

namespace {

// The default back colour of a label: the button face, as a form's own.
constexpr OLE_COLOR kButtonFace = 0x8000000F;

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A label's caption on one line at the top of its rectangle, clipped to it, left
// or centred as DrawText places it (x = (left + right - width) / 2), drawn
// directly: DrawText would ask the font's metrics again for every label. With
// `opaque` the text's own call fills the rectangle in the background colour.
void DrawCaption(HDC dc, const RECT& rect, TextView caption, platform::TextAlignment alignment, bool opaque) {
  const auto* text = reinterpret_cast<LPCWSTR>(caption.data());
  const int length = static_cast<int>(caption.size());
  int x = rect.left;
  if (alignment == platform::TextAlignment::Center) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    x = (rect.left + rect.right - extent.cx) / 2;
  }
  ExtTextOutW(dc, x, rect.top, ETO_CLIPPED | (opaque ? ETO_OPAQUE : 0), &rect, text, static_cast<UINT>(length),
              nullptr);
}

// `ground` is what the rectangle holds already: the fill is left out when it
// would paint the same colour again.
void DrawLabel(HDC dc, const RECT& rect, TextView caption, COLORREF fore, COLORREF back,
               platform::TextAlignment alignment, std::optional<COLORREF> ground = std::nullopt) {
  const bool fill = back != ground;
  if (caption.empty()) {
    if (fill) FillColor(dc, rect, back);
    return;
  }
  SetTextColor(dc, fore);
  SetBkMode(dc, TRANSPARENT);
  if (fill) SetBkColor(dc, back);
  DrawCaption(dc, rect, caption, alignment, fill);
}

}  // namespace

void ShownWindows::PaintSurface(HDC dc) {
  RECT rc;
  GetClientRect(surface, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
}

void ShownWindows::PaintFrame(HDC dc) {
  RECT rc;
  GetClientRect(frame, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  const HGDIOBJ old_font = SelectObject(dc, default_font);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  // A group box: an etched line through the middle of its caption's height.
  RECT box = {0, tm.tmHeight / 2, rc.right, rc.bottom};
  DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
  wchar_t caption[64] = {};
  const int length = GetWindowTextW(frame, caption, 64);
  if (length > 0) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, caption, length, &extent);
    const RECT gap = {6, 0, 10 + extent.cx + 2, tm.tmHeight};
    FillRect(dc, &gap, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TextOutW(dc, 9, 0, caption, length);
  }
  for (const PaintedLabel& label : frame_labels) {
    const platform::ControlDesign& d = *label.design;
    DrawLabel(dc, label.rect, d.caption, Resolve(d.fore_color.value_or(0x80000012)),
              Resolve(d.back_color.value_or(kButtonFace)), d.alignment);
  }
  SelectObject(dc, old_font);
}

void ShownWindows::PaintPicture(HDC dc) {
  grid_invalid = false;
  RECT rc;
  GetClientRect(picture, &rc);
  const platform::TextAlignment alignment = cell_alignment;
  const COLORREF ground = Resolve(grid_back);
  FillColor(dc, rc, ground);
  const HGDIOBJ old_font = SelectObject(dc, default_font);
  // What the cells show and where comes from the day-grid model; the colours are
  // the ones the control wrote.
  const platform::DayGridModel& model = *face.model();
  for (int child = 0; child < model.count(); ++child) {
    const std::int16_t index = model.IndexOfChild(child);
    const DayCell* cell = face.cell(index);
    if (cell != nullptr)
      DrawLabel(dc, CellRect(index), model.CaptionOf(index), Resolve(cell->fore), Resolve(cell->back),
                alignment, ground);
  }
  SelectObject(dc, old_font);
}

}  // namespace jv::win32
