#include "platform/win32/window_classes.h"

namespace jv::win32 {

namespace {

ShownWindows* WindowsOf(HWND window) {
  return reinterpret_cast<ShownWindows*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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

// The user's clicks and keys; the hit test sends a click in design mode through
// to the container's window beneath.
bool IsUserInput(UINT message) {
  return message == WM_NCHITTEST || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

// Every window of a face attaches to it on creation, leaves its background to its
// painting (which covers it all) and paints through the face; the rest of its
// messages go to its own handler.
template <void (ShownWindows::*Paint)(HDC), MessageAnswer (*Handle)(ShownWindows*, HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK FaceWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (Attach(window, message, lparam)) return DefWindowProcW(window, message, wparam, lparam);
  ShownWindows* w = WindowsOf(window);
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

constexpr WNDPROC SurfaceProc = FaceWindowProc<&ShownWindows::PaintSurface, SurfaceMessage>;
constexpr WNDPROC FrameProc = FaceWindowProc<&ShownWindows::PaintFrame, FrameMessage>;
constexpr WNDPROC PictureProc = FaceWindowProc<&ShownWindows::PaintPicture, PictureMessage>;

}  // namespace

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

}  // namespace jv::win32
