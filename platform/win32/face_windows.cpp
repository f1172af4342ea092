#include "platform/win32/face_windows.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/win32/screen_units.h"

namespace jv::win32 {

namespace {

constexpr wchar_t kSurfaceClass[] = L"JornavistaSurface";
constexpr wchar_t kFrameClass[] = L"JornavistaFrame";
constexpr wchar_t kPictureClass[] = L"JornavistaPicture";
constexpr int kPreviousId = 1, kNextId = 2;
// The default back colour of a label: the button face, as a form's own.
constexpr OLE_COLOR kButtonFace = 0x8000000F;

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

std::wstring Wide(TextView text) { return std::wstring(text.begin(), text.end()); }

Win32Face::Windows* WindowsOf(HWND window) {
  return reinterpret_cast<Win32Face::Windows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// The windows of a face know it through their user data from WM_NCCREATE on; a
// face taking its windows down clears it first, so nothing reaches a face that ends.
bool Attach(HWND window, UINT message, LPARAM lparam) {
  if (message != WM_NCCREATE) return false;
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return true;
}

// WM_PAINT and WM_PRINTCLIENT paint the same picture, so that a drawing of the
// face into any device context shows what the screen shows.
template <class Paint>
LRESULT PaintMessage(HWND window, UINT message, WPARAM wparam, Paint paint) {
  if (message == WM_PRINTCLIENT) {
    paint(reinterpret_cast<HDC>(wparam));
    return 0;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (dc != nullptr) paint(dc);
  EndPaint(window, &ps);
  return 0;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void DrawLabel(HDC dc, RECT rect, TextView caption, COLORREF fore, COLORREF back,
               platform::TextAlignment alignment) {
  FillColor(dc, rect, back);
  if (caption.empty()) return;
  SetTextColor(dc, fore);
  SetBkMode(dc, TRANSPARENT);
  const UINT align = alignment == platform::TextAlignment::Center ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(caption.data()), static_cast<int>(caption.size()), &rect,
            align | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

// The answer of one window of a face to a message beyond the common ones, or
// nothing for the default answer.
using MessageAnswer = std::optional<LRESULT>;
using Windows = Win32Face::Windows;

// The user's clicks and keys; the hit test sends a click in design mode through
// to the container's window beneath.
bool IsUserInput(UINT message) {
  return message == WM_NCHITTEST || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

// Every window of a face attaches to it on creation, leaves its background to its
// painting (which covers it all) and paints through the face; the rest of its
// messages go to its own handler.
template <void (Windows::*Paint)(HDC), MessageAnswer (*Handle)(Windows*, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK FaceWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (Attach(window, message, lparam)) return DefWindowProcW(window, message, wparam, lparam);
  Windows* w = WindowsOf(window);
  if (w == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (!w->face.takes_input() && IsUserInput(message)) return message == WM_NCHITTEST ? HTTRANSPARENT : 0;
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      return PaintMessage(window, message, wparam, [w](HDC dc) { (w->*Paint)(dc); });
  }
  if (const MessageAnswer answer = Handle(w, window, message, wparam, lparam)) return *answer;
  return DefWindowProcW(window, message, wparam, lparam);
}

MessageAnswer SurfaceMessage(Windows* w, HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_NCDESTROY) {
    // The container took its window down, and ours with it.
    w->surface = w->frame = w->picture = w->previous = w->next = w->year = w->date = nullptr;
  }
  return std::nullopt;
}

MessageAnswer FrameMessage(Windows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && (LOWORD(wparam) == kPreviousId || LOWORD(wparam) == kNextId)) {
        if (!w->face.takes_input()) return 0;
        Win32Face& face = w->face;
        FaceObserver* observer = face.observer();
        (void)(LOWORD(wparam) == kNextId ? face.RaiseNextClick() : face.RaisePreviousClick());
        if (IsWindow(window) && observer != nullptr) observer->OnInputHandled();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      // The month caption box carries the highlight colour in its text.
      if (reinterpret_cast<HWND>(lparam) == w->year) {
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
  }
  return std::nullopt;
}

std::int16_t ShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

MessageAnswer PictureMessage(Windows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_GETDLGCODE: {
      // A dialog-style container leaves the arrows and the Page keys to the grid.
      LRESULT code = DLGC_WANTARROWS;
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      if (msg != nullptr && msg->message == WM_KEYDOWN && (msg->wParam == VK_PRIOR || msg->wParam == VK_NEXT))
        code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // A second click that the system counts as a double click is a click all the same.
      if (GetFocus() != window) SetFocus(window);
      if (!IsWindow(window)) return 0;
      w->pressed_cell = w->CellAt({static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      SetCapture(window);
      return 0;
    case WM_LBUTTONUP: {
      if (GetCapture() == window) ReleaseCapture();
      const std::int16_t cell =
          w->CellAt({static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))});
      const std::int16_t pressed = std::exchange(w->pressed_cell, 0);
      if (cell == 0 || cell != pressed) return 0;
      FaceObserver* observer = w->face.observer();
      (void)w->face.RaiseCellClick(cell);
      if (IsWindow(window) && observer != nullptr) observer->OnInputHandled();
      return 0;
    }
    case WM_KEYDOWN: {
      FaceObserver* observer = w->face.observer();
      (void)w->face.RaiseKeyDown(static_cast<std::int16_t>(wparam), ShiftState());
      if (IsWindow(window) && observer != nullptr) observer->OnInputHandled();
      return 0;
    }
    case WM_SETFOCUS:
      if (FaceObserver* observer = w->face.observer()) observer->OnFocusChanged(true);
      return 0;
    case WM_KILLFOCUS:
      if (FaceObserver* observer = w->face.observer();
          observer != nullptr && !w->face.IsOwnWindow(reinterpret_cast<HWND>(wparam)))
        observer->OnFocusChanged(false);
      return 0;
  }
  return std::nullopt;
}

constexpr WNDPROC SurfaceProc = FaceWindowProc<&Windows::PaintSurface, SurfaceMessage>;
constexpr WNDPROC FrameProc = FaceWindowProc<&Windows::PaintFrame, FrameMessage>;
constexpr WNDPROC PictureProc = FaceWindowProc<&Windows::PaintPicture, PictureMessage>;

// Registers one window class of the module's. A class of that name already
// registered at this address is kept when its procedure is ours, and replaced
// otherwise: a library loaded again at another address registers its own.
HRESULT RegisterModuleClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, UINT style, int background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, name, &existing)) {
    if (existing.lpfnWndProc == proc) return S_OK;
    UnregisterClassW(name, module);
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(background);
  wc.lpszClassName = name;
  if (RegisterClassExW(&wc) == 0) return HRESULT_FROM_WIN32(GetLastError());
  return S_OK;
}

// The classes stay registered for the rest of the process (the system ends them
// with it): registering them for each face costs a round trip to the window
// server each time.
HRESULT RegisterClasses() {
  static bool registered = false;
  if (registered) return S_OK;
  const HINSTANCE module = ThisModule();
  JV_TRY(RegisterModuleClass(module, kSurfaceClass, SurfaceProc, 0, COLOR_BTNFACE));
  JV_TRY(RegisterModuleClass(module, kFrameClass, FrameProc, 0, COLOR_BTNFACE));
  JV_TRY(RegisterModuleClass(module, kPictureClass, PictureProc, CS_DBLCLKS, COLOR_WINDOW));
  registered = true;
  return S_OK;
}

}  // namespace

HRESULT Win32Face::Windows::Create(Win32Face& face, HWND parent, POINT origin,
                                   std::unique_ptr<Windows>* out) {
  auto w = std::make_unique<Windows>(face);
  JV_TRY(RegisterClasses());
  const HINSTANCE module = ThisModule();
  const int dpi = face.dpi();
  w->default_font = CreateDefaultFont(dpi);

  const SIZE size = face.pixel_size();
  w->surface =
      CreateWindowExW(WS_EX_CONTROLPARENT, kSurfaceClass, L"", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                      origin.x, origin.y, size.cx, size.cy, parent, nullptr, module, w.get());
  if (w->surface == nullptr) return HRESULT_FROM_WIN32(GetLastError());

  std::int16_t lowest = INT16_MAX, highest = INT16_MIN;
  for (const platform::ControlDesign& c : face.layout())
    if (c.name == "l" && c.index != platform::kNotInArray) {
      lowest = std::min(lowest, c.index);
      highest = std::max(highest, c.index);
    }
  w->lbound = lowest;
  w->cells.assign(static_cast<std::size_t>(highest - lowest + 1), RECT{});

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
        const int id = c.name == "cmdNext" ? kNextId : kPreviousId;
        made = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_PUSHBUTTON, x, y, cx,
                               cy, parent_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), module,
                               nullptr);
        (id == kNextId ? w->next : w->previous) = made;
        break;
      }
      case platform::ControlKind::TextBox: {
        const bool is_year = c.name == "txtYear";
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
    if (c.name == "l")
      w->cells[static_cast<std::size_t>(c.index - lowest)] = ToPixels(c, dpi);
    else
      w->frame_labels.push_back({&c, ToPixels(c, dpi)});
  }
  ShowWindow(w->surface, SW_SHOWNA);
  *out = std::move(w);
  return S_OK;
}

Win32Face::Windows::~Windows() {
  if (surface != nullptr) {
    for (HWND window : {surface, frame, picture})
      if (window != nullptr) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    DestroyWindow(surface);
  }
  if (default_font != nullptr) DeleteObject(default_font);
  if (year_font != nullptr) DeleteObject(year_font);
}

void Win32Face::Windows::InvalidateCell(std::int16_t index) {
  const int slot = index - lbound;
  if (picture == nullptr || slot < 0 || slot >= static_cast<int>(cells.size())) return;
  // A redraw writes every cell two or three times: the first write marks the whole
  // grid for the next paint, and the rest need not ask the system again.
  if (grid_invalid) return;
  InvalidateRect(picture, nullptr, FALSE);
  grid_invalid = true;
}

std::int16_t Win32Face::Windows::CellAt(POINT point) const {
  for (std::size_t i = 0; i < cells.size(); ++i)
    if (PtInRect(&cells[i], point)) return static_cast<std::int16_t>(lbound + static_cast<std::int16_t>(i));
  return 0;
}

void Win32Face::Windows::PaintSurface(HDC dc) {
  RECT rc;
  GetClientRect(surface, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
}

void Win32Face::Windows::PaintFrame(HDC dc) {
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

void Win32Face::Windows::PaintPicture(HDC dc) {
  grid_invalid = false;
  RECT rc;
  GetClientRect(picture, &rc);
  OLE_COLOR back = 0x80000005;
  platform::TextAlignment alignment = platform::TextAlignment::Center;
  for (const platform::ControlDesign& c : face.layout()) {
    if (c.name == "Picture1" && c.back_color) back = *c.back_color;
    if (c.name == "l") alignment = c.alignment;
  }
  FillColor(dc, rc, Resolve(back));
  const HGDIOBJ old_font = SelectObject(dc, default_font);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const DayCell* cell = face.cell(static_cast<std::int16_t>(lbound + static_cast<std::int16_t>(i)));
    if (cell != nullptr)
      DrawLabel(dc, cells[i], cell->caption, Resolve(cell->fore), Resolve(cell->back), alignment);
  }
  SelectObject(dc, old_font);
}

}  // namespace jv::win32
