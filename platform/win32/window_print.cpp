#include "platform/win32/window_print.h"

namespace jv::win32 {

namespace {

void PrintAt(HWND window, HDC dc, POINT at) {
  RECT outer{};
  GetWindowRect(window, &outer);
  POINT client_origin = {0, 0};
  ClientToScreen(window, &client_origin);
  const POINT client_at = {at.x + client_origin.x - outer.left, at.y + client_origin.y - outer.top};

  const int saved = SaveDC(dc);
  POINT old{};
  OffsetViewportOrgEx(dc, at.x, at.y, &old);
  RECT frame = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
  IntersectClipRect(dc, frame.left, frame.top, frame.right, frame.bottom);
  if ((GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0) DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);
  RestoreDC(dc, saved);

  RECT client{};
  GetClientRect(window, &client);
  const int inner = SaveDC(dc);
  OffsetViewportOrgEx(dc, client_at.x, client_at.y, nullptr);
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
  RestoreDC(dc, inner);

  // Bottom of the z-order first, so that the top child paints last.
  for (HWND child = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST); child != nullptr;
       child = GetWindow(child, GW_HWNDPREV)) {
    if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) == 0) continue;
    RECT r{};
    GetWindowRect(child, &r);
    POINT top_left = {r.left, r.top};
    ScreenToClient(window, &top_left);
    const int clip = SaveDC(dc);
    // The child shows only within its parent's client area.
    IntersectClipRect(dc, client_at.x, client_at.y, client_at.x + client.right, client_at.y + client.bottom);
    PrintAt(child, dc, {client_at.x + top_left.x, client_at.y + top_left.y});
    RestoreDC(dc, clip);
  }
}

}  // namespace

HRESULT PrintWindowTree(HWND window, HDC dc) {
  if (window == nullptr || dc == nullptr || !IsWindow(window)) return E_INVALIDARG;
  PrintAt(window, dc, {0, 0});
  return S_OK;
}

}  // namespace jv::win32
