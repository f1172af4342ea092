#include "platform/win32/window_print.h"

namespace jv::win32 {

namespace {

// A memory device context with a bitmap like the screen's; ends both.
class Canvas {
 public:
  Canvas(int width, int height) {
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width > 0 ? width : 1, height > 0 ? height : 1);
    ReleaseDC(nullptr, screen);
    if (dc_ != nullptr && bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~Canvas() {
    if (old_ != nullptr) SelectObject(dc_, old_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  bool ok() const { return old_ != nullptr; }
  HDC dc() const { return dc_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
};

// Draws `window` onto `to` (a memory DC at its origin) with its top-left corner at
// `at`, clipped to `clip`; then its children, within its client area.
void PrintAt(HWND window, HDC to, POINT at, const RECT& clip) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  POINT client_origin = {0, 0};
  ClientToScreen(window, &client_origin);
  const POINT client_at = {at.x + client_origin.x - outer.left, at.y + client_origin.y - outer.top};
  RECT client{};
  GetClientRect(window, &client);

  Canvas own(width, height);
  if (!own.ok()) return;
  RECT frame = {0, 0, width, height};
  FillRect(own.dc(), &frame, GetSysColorBrush(COLOR_BTNFACE));
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) DrawEdge(own.dc(), &frame, EDGE_SUNKEN, BF_RECT);
  Canvas inside(client.right, client.bottom);
  if (!inside.ok()) return;
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(inside.dc()), PRF_CLIENT | PRF_ERASEBKGND);
  BitBlt(own.dc(), client_at.x - at.x, client_at.y - at.y, client.right, client.bottom, inside.dc(), 0, 0, SRCCOPY);

  const int saved = SaveDC(to);
  IntersectClipRect(to, clip.left, clip.top, clip.right, clip.bottom);
  BitBlt(to, at.x, at.y, width, height, own.dc(), 0, 0, SRCCOPY);
  RestoreDC(to, saved);

  RECT child_clip = {client_at.x, client_at.y, client_at.x + client.right, client_at.y + client.bottom};
  IntersectRect(&child_clip, &child_clip, &clip);
  // Bottom of the z-order first, so that the top child paints last.
  for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child != nullptr;
       child = GetWindow(child, GW_HWNDPREV)) {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
    RECT r{};
    GetWindowRect(child, &r);
    POINT top_left = {r.left, r.top};
    ScreenToClient(window, &top_left);
    PrintAt(child, to, {client_at.x + top_left.x, client_at.y + top_left.y}, child_clip);
  }
}

}  // namespace

HRESULT PrintWindowTree(HWND window, HDC dc, const RECT& bounds) {
  if (window == nullptr || dc == nullptr || !IsWindow(window)) return E_INVALIDARG;
  RECT outer{};
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left, height = outer.bottom - outer.top;
  Canvas whole(width, height);
  if (!whole.ok()) return E_OUTOFMEMORY;
  PrintAt(window, whole.dc(), {0, 0}, {0, 0, width, height});
  const int saved = SaveDC(dc);
  SetStretchBltMode(dc, COLORONCOLOR);
  const BOOL copied = StretchBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                 whole.dc(), 0, 0, width, height, SRCCOPY);
  RestoreDC(dc, saved);
  return copied ? S_OK : E_FAIL;
}

}  // namespace jv::win32
