#include "platform/win32/shown_windows.h"

#include <algorithm>
#include <string>

#include "platform/win32/screen_units.h"
#include "platform/win32/window_classes.h"

namespace jv::win32 {

HRESULT ShownWindows::Create(Win32Face& face, HWND parent, POINT origin,
                                   std::unique_ptr<ShownWindows>* out) {
  auto w = std::make_unique<ShownWindows>(face);
  JV_TRY(RegisterClasses());
  const HINSTANCE module = ThisModule();
  const int dpi = face.dpi();
  w->default_font = CreateDefaultFont(dpi);

  const SIZE size = face.pixel_size();
  w->surface =
      CreateWindowExW(WS_EX_CONTROLPARENT, kSurfaceClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      origin.x, origin.y, size.cx, size.cy, parent, nullptr, module, w.get());
  if (w->surface == nullptr) return HRESULT_FROM_WIN32(GetLastError());

  const platform::FaceRoles& roles = face.roles();
  if (roles.picture->back_color) w->grid_back = *roles.picture->back_color;
  if (!roles.day_cells.empty()) w->cell_alignment = roles.day_cells.back()->alignment;

  struct Placed {
    std::string_view name;
    HWND window;
  };
  std::vector<Placed> placed = {{platform::kSurfaceName, w->surface}};
  auto window_of = [&](std::string_view name) -> HWND {
    for (const Placed& p : placed)
      if (p.name == name) return p.window;
    return nullptr;
  };
  // Children go to the bottom of their siblings as they are made, and the Tab key
  // follows that order: the frame and the picture box first (they hold the
  // others), then the rest by their tab indexes.
  std::vector<const platform::ControlDesign*> order;
  for (const platform::ControlDesign& c : face.layout()) order.push_back(&c);
  auto rank = [](const platform::ControlDesign* c) {
    const bool holder =
        c->kind == platform::ControlKind::Frame || c->kind == platform::ControlKind::PictureBox;
    return std::pair(holder ? 0 : 1, holder ? 0 : static_cast<int>(c->tab_index));
  };
  std::stable_sort(order.begin(), order.end(), [&](auto* a, auto* b) { return rank(a) < rank(b); });
  for (const platform::ControlDesign* design : order) {
    const platform::ControlDesign& c = *design;
    const RECT r = ToPixels(c, dpi);
    const int x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
    HWND parent_window = window_of(c.parent);
    if (parent_window == nullptr) return E_INVALIDARG;
    const std::wstring caption = Wide(c.caption);
    HWND made = nullptr;
    switch (c.kind) {
      case platform::ControlKind::Frame:
        made = w->frame = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, caption.c_str(),
                                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, cx,
                                          cy, parent_window, nullptr, module, w.get());
        break;
      case platform::ControlKind::PictureBox:
        made = w->picture = CreateWindowExW(WS_EX_CLIENTEDGE, kPictureClass, L"",
                                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, x, y, cx,
                                            cy, parent_window, nullptr, module, w.get());
        break;
      case platform::ControlKind::CommandButton: {
        const int id = roles.RoleOf(c) == platform::Role::NextButton ? kNextId : kPreviousId;
        made = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, x, y, cx,
                               cy, parent_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module,
                               nullptr);
        (id == kNextId ? w->next : w->previous) = made;
        break;
      }
      case platform::ControlKind::TextBox: {
        const bool is_year = roles.RoleOf(c) == platform::Role::YearBox;
        const Text& text = is_year ? face.year_text() : face.date_text();
        const DWORD align = c.alignment == platform::TextAlignment::Center ? ES_CENTER : ES_LEFT;
        made = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Wide(text).c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_READONLY | ES_AUTOHSCROLL | align,
                               x, y, cx, cy, parent_window, nullptr, module, nullptr);
        (is_year ? w->year : w->date) = made;
        (is_year ? face.year_ : face.date_).window = made;
        if (made != nullptr && c.font != nullptr) {
          w->year_font = CreateDesignFont(*c.font, dpi);
          SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(w->year_font), FALSE);
        } else if (made != nullptr && w->default_font != nullptr) {
          SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(w->default_font), FALSE);
        }
        // The design's width is the text's: no margins inside the box. A font set
        // on an edit box gives it the font's own margins again, so this comes last.
        if (made != nullptr) SendMessageW(made, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
        break;
      }
      case platform::ControlKind::Label:
        continue;  // windowless: below
    }
    if (made == nullptr) return HRESULT_FROM_WIN32(GetLastError());
    if (c.kind != platform::ControlKind::TextBox && c.font == nullptr && w->default_font != nullptr)
      SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(w->default_font), FALSE);
    placed.push_back({c.name, made});
  }
  // The labels paint in the table's order: the band before the headings on it.
  for (const platform::ControlDesign& c : face.layout()) {
    if (c.kind != platform::ControlKind::Label) continue;
    if (roles.RoleOf(c) != platform::Role::DayCell) w->frame_labels.push_back({&c, ToPixels(c, dpi)});
  }
  w->accessibility = std::make_unique<AccessibilityBridge>(*w);
  for (HWND child : {w->previous, w->next, w->year}) AnswerAccessibility(child, w.get());
  ShowWindow(w->surface, SW_SHOWNA);
  *out = std::move(w);
  return S_OK;
}

ShownWindows::~ShownWindows() {
  accessibility.reset();
  if (surface != nullptr) {
    for (HWND window : {surface, frame, picture})
      if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(surface);
  }
  if (default_font != nullptr) DeleteObject(default_font);
  if (year_font != nullptr) DeleteObject(year_font);
}

void ShownWindows::InvalidateCell(std::int16_t index) {
  if (picture == nullptr || !face.model()->Has(index)) return;
  // A redraw writes every cell two or three times: the first write marks the whole
  // grid for the next paint, and the rest need not ask the system again.
  if (grid_invalid) return;
  InvalidateRect(picture, nullptr, FALSE);
  grid_invalid = true;
}

RECT ShownWindows::CellRect(std::int16_t index) const { return ToPixels(face.model()->RectOf(index), face.dpi()); }

std::int16_t ShownWindows::CellAt(POINT point) const {
  const platform::DayGridModel& model = *face.model();
  for (int child = 0; child < model.count(); ++child) {
    const std::int16_t index = model.IndexOfChild(child);
    const RECT rect = CellRect(index);
    if (PtInRect(&rect, point)) return index;
  }
  return 0;
}

}  // namespace jv::win32
