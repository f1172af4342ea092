// What the face's windows answer beyond painting: the paging buttons' commands,
// the month caption's colour, and the grid's clicks, keys and focus.
#include <commctrl.h>

#include <utility>

#include "platform/win32/window_classes.h"

namespace jv::win32 {

namespace {

std::int16_t ShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

}  // namespace

namespace {

LRESULT CALLBACK AccessibleChildProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                     DWORD_PTR data) {
  auto* w = reinterpret_cast<ShownWindows*>(data);
  if (message == WM_GETOBJECT && w->accessibility) {
    if (const MessageAnswer answer = w->accessibility->GetObject(window, wparam, lparam)) return *answer;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, AccessibleChildProc, id);
  return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace

void AnswerAccessibility(HWND window, ShownWindows* w) {
  if (window != nullptr) SetWindowSubclass(window, AccessibleChildProc, 1, reinterpret_cast<DWORD_PTR>(w));
}

MessageAnswer SurfaceMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_GETOBJECT && w->accessibility) return w->accessibility->GetObject(window, wparam, lparam);
  if (message == WM_TIMER && wparam == kMakeUnseenTimer) {
    w->MakeUnseen();
    return 0;
  }
  if (message == WM_NCDESTROY) {
    w->accessibility.reset();
    // The container took its window down, and ours with it.
    w->surface = w->frame = w->picture = w->previous = w->next = w->year = w->date = nullptr;
  }
  return std::nullopt;
}

MessageAnswer FrameMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
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

MessageAnswer PictureMessage(ShownWindows* w, HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
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
      if (!IsWindow(window)) return 0;
      if (observer != nullptr) observer->OnInputHandled();
      if (w->accessibility) w->accessibility->InputHandled();
      return 0;
    }
    case WM_KEYDOWN: {
      FaceObserver* observer = w->face.observer();
      (void)w->face.RaiseKeyDown(static_cast<std::int16_t>(wparam), ShiftState());
      if (!IsWindow(window)) return 0;
      if (observer != nullptr) observer->OnInputHandled();
      if (w->accessibility) w->accessibility->InputHandled();
      return 0;
    }
    case WM_SETFOCUS:
      if (FaceObserver* observer = w->face.observer()) observer->OnFocusChanged(true);
      if (IsWindow(window) && w->accessibility) w->accessibility->GridFocused();
      return 0;
    case WM_GETOBJECT:
      if (w->accessibility) return w->accessibility->GetObject(window, wparam, lparam);
      break;
    case WM_KILLFOCUS:
      if (FaceObserver* observer = w->face.observer();
          observer != nullptr && !w->face.IsOwnWindow(reinterpret_cast<HWND>(wparam)))
        observer->OnFocusChanged(false);
      return 0;
  }
  return std::nullopt;
}

}  // namespace jv::win32
