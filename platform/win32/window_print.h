// Draws a window and its descendants into any device context as they show on
// screen: the system cannot (WM_PRINT leaves the children out), so each window
// draws its client area through WM_PRINTCLIENT at its place, over its parent.
#pragma once

#include <windows.h>

#include "platform/automation/hresult.h"

namespace jv::win32 {

// The window's top-left corner lands at the device context's origin. Children
// draw in z-order, bottom first; hidden ones are left out. The client edge of a
// window with WS_EX_CLIENTEDGE is drawn as the system draws it.
[[nodiscard]] HRESULT PrintWindowTree(HWND window, HDC dc);

}  // namespace jv::win32
