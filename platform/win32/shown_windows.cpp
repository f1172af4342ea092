#include "platform/win32/shown_windows.h"

#include <algorithm>
#include <string>

#include "platform/win32/screen_units.h"
#include "platform/win32/shared_fonts.h"
#include "platform/win32/window_classes.h"

namespace jv::win32 {

HRESULT ShownWindows::Create(Win32Face& face, HWND parent, POINT origin, Unseen unseen,
                             std::unique_ptr<ShownWindows>* out) {
  auto w = std::make_unique<ShownWindows>(face);
  JV_TRY(RegisterClasses());
  w->default_font = SharedDefaultFont(face.dpi());

  const SIZE size = face.pixel_size();
  w->surface =
      CreateWindowExW(WS_EX_CONTROLPARENT, kSurfaceClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      origin.x, origin.y, size.cx, size.cy, parent, nullptr, ThisModule(), w.get());
  if (w->surface == nullptr) return HRESULT_FROM_WIN32(GetLastError());

  const platform::FaceRoles& roles = face.roles();
  if (roles.picture->back_color) w->grid_back = *roles.picture->back_color;
  if (!roles.day_cells.empty()) w->cell_alignment = roles.day_cells.back()->alignment;

  w->placed_.push_back({platform::kSurfaceName, w->surface});
  // Children go to the bottom of their siblings as they are made, and the Tab key
  // follows that order: the frame and the picture box first (they hold the
  // others), then the rest by their tab indexes.
  std::vector<const platform::ControlDesign*> order;
  for (const platform::ControlDesign& c : face.layout())
    if (c.kind != platform::ControlKind::Label) order.push_back(&c);
  auto rank = [](const platform::ControlDesign* c) {
    const bool holder =
        c->kind == platform::ControlKind::Frame || c->kind == platform::ControlKind::PictureBox;
    return std::pair(holder ? 0 : 1, holder ? 0 : static_cast<int>(c->tab_index));
  };
  std::stable_sort(order.begin(), order.end(), [&](auto* a, auto* b) { return rank(a) < rank(b); });
  // The windows at the end of that order that lie outside the surface (txtDate,
  // below the frame) never show: they are made once the control has painted, on
  // a timer's message, which a message loop receives only when no window is left
  // to paint, so that they cost its appearance nothing. Made last either way,
  // they take the same place among their siblings.
  if (unseen == Unseen::AfterFirstPaint) {
    while (!order.empty() && OutsideSurface(*order.back(), size, face.dpi())) {
      w->unseen_.insert(w->unseen_.begin(), order.back());
      order.pop_back();
    }
  }
  for (const platform::ControlDesign* design : order) JV_TRY(w->MakeChild(*design));
  // The labels paint in the table's order: the band before the headings on it.
  for (const platform::ControlDesign& c : face.layout()) {
    if (c.kind != platform::ControlKind::Label) continue;
    if (roles.RoleOf(c) != platform::Role::DayCell) w->frame_labels.push_back({&c, ToPixels(c, face.dpi())});
  }
  w->accessibility = std::make_unique<AccessibilityBridge>(*w);
  for (HWND child : {w->previous, w->next, w->year}) AnswerAccessibility(child, w.get());
  if (!w->unseen_.empty()) SetTimer(w->surface, kMakeUnseenTimer, 0, nullptr);
  ShowWindow(w->surface, SW_SHOWNA);
  *out = std::move(w);
  return S_OK;
}

bool ShownWindows::OutsideSurface(const platform::ControlDesign& c, SIZE surface, int dpi) {
  if (c.parent != platform::kSurfaceName) return false;
  const RECT r = ToPixels(c, dpi);
  return r.top >= surface.cy || r.left >= surface.cx || r.bottom <= 0 || r.right <= 0;
}

void ShownWindows::MakeUnseen() {
  KillTimer(surface, kMakeUnseenTimer);
  // A window that cannot be made leaves its control windowless, its value kept,
  // as before the timer came: nothing of it would have shown.
  const std::vector<const platform::ControlDesign*> unseen = std::move(unseen_);
  for (const platform::ControlDesign* design : unseen)
    if (FAILED(MakeChild(*design))) break;
}

HRESULT ShownWindows::MakeChild(const platform::ControlDesign& c) {
  const int dpi = face.dpi();
  const HINSTANCE module = ThisModule();
  const platform::FaceRoles& roles = face.roles();
  const RECT r = ToPixels(c, dpi);
  const int x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
  HWND parent_window = nullptr;
  for (const Placed& p : placed_)
    if (p.name == c.parent) parent_window = p.window;
  if (parent_window == nullptr) return E_INVALIDARG;
  const std::wstring caption = Wide(c.caption);
  HWND made = nullptr;
  switch (c.kind) {
    case platform::ControlKind::Frame:
      made = frame = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, caption.c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, x, y, cx, cy,
                                     parent_window, nullptr, module, this);
      break;
    case platform::ControlKind::PictureBox:
      made = picture = CreateWindowExW(WS_EX_CLIENTEDGE, kPictureClass, L"",
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, x, y, cx, cy,
                                       parent_window, nullptr, module, this);
      break;
    case platform::ControlKind::CommandButton: {
      const int id = roles.RoleOf(c) == platform::Role::NextButton ? kNextId : kPreviousId;
      made = CreateWindowExW(
          0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON,
          x, y, cx, cy, parent_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module, nullptr);
      (id == kNextId ? next : previous) = made;
      break;
    }
    case platform::ControlKind::TextBox: {
      const bool is_year = roles.RoleOf(c) == platform::Role::YearBox;
      const Text& text = is_year ? face.year_text() : face.date_text();
      const DWORD align = c.alignment == platform::TextAlignment::Center ? ES_CENTER : ES_LEFT;
      made = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", Wide(text).c_str(),
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_READONLY | ES_AUTOHSCROLL | align,
                             x, y, cx, cy, parent_window, nullptr, module, nullptr);
      (is_year ? year : date) = made;
      (is_year ? face.year_ : face.date_).window = made;
      const HFONT font = c.font != nullptr ? SharedDesignFont(*c.font, dpi) : default_font;
      if (made != nullptr && font != nullptr)
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      // The design's width is the text's: no margins inside the box. A font set
      // on an edit box gives it the font's own margins again, so this comes last.
      if (made != nullptr) SendMessageW(made, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
      break;
    }
    case platform::ControlKind::Label:
      return S_OK;  // windowless: painted by its parent
  }
  if (made == nullptr) return HRESULT_FROM_WIN32(GetLastError());
  if (c.kind != platform::ControlKind::TextBox && c.font == nullptr && default_font != nullptr)
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(default_font), FALSE);
  placed_.push_back({c.name, made});
  return S_OK;
}

ShownWindows::~ShownWindows() {
  accessibility.reset();
  if (surface != nullptr) {
    for (HWND window : {surface, frame, picture})
      if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(surface);
  }
}

void ShownWindows::InvalidateCell(std::int16_t index) {
  if (picture == nullptr || !face.model()->Has(index)) return;
  // A redraw writes every cell two or three times: the first write marks the whole
  // grid for the next paint, and the rest need not ask the system again.
  if (grid_invalid) return;
  InvalidateRect(picture, nullptr, FALSE);
  grid_invalid = true;
}

RECT ShownWindows::CellRect(std::int16_t index) const {
  return ToPixels(face.model()->RectOf(index), face.dpi());
}

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
