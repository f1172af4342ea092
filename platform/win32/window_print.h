// Draws a window and its descendants as they show on screen into any device
// context. WM_PRINT leaves the children out, and some system controls paint
// through WM_PRINTCLIENT only at the device context's origin, so each window is
// drawn alone into a bitmap of its size and copied to its place over its parent.
#pragma once

#include <windows.h>

#include "platform/automation/hresult.h"

namespace jv::win32 {

// The window's outer rectangle, stretched onto `bounds` of `dc` (logical units).
// Children draw in z-order, bottom first; hidden ones are left out. The client
// edge of a window with WS_EX_CLIENTEDGE is drawn as the system draws it.
[[nodiscard]] HRESULT PrintWindowTree(HWND window, HDC dc, const RECT& bounds);

}  // namespace jv::win32
