// The layout's units on a Windows screen: twips through the screen's logical dots
// per inch, automation colours through the system colours, and the design fonts.
#pragma once

#include <windows.h>

#include <cstdint>

#include "platform/automation/types.h"
#include "platform/face/day_grid_model.h"
#include "platform/runtime/layout.h"

namespace jv::win32 {

// The screen's logical dots per inch (96 unless the user scaled the screen).
int ScreenDpi();
// Nearest pixel at `dpi`; 15 twips to the pixel at 96.
int ToPixels(std::int32_t twips, int dpi);
std::int32_t ToTwips(int pixels, int dpi);
RECT ToPixels(const platform::ControlDesign& design, int dpi);
RECT ToPixels(const platform::TwipsRect& rect, int dpi);

// A colour as it paints now: a system colour (high bit set) through GetSysColor,
// an RGB value (red in the low byte) as it stands.
COLORREF Resolve(OLE_COLOR color);

// The font of every constituent control whose design names none: MS Sans Serif at
// 8 points, the classic dialog font. The caller deletes the handle.
HFONT CreateDefaultFont(int dpi);
// A design font at `dpi`; null when the system has no font at all.
HFONT CreateDesignFont(const platform::FontDesign& design, int dpi);

}  // namespace jv::win32
