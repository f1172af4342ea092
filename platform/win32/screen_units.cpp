#include "platform/win32/screen_units.h"

#include <string>

namespace jv::win32 {

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

int ToPixels(std::int32_t twips, int dpi) { return MulDiv(twips, dpi, 1440); }
std::int32_t ToTwips(int pixels, int dpi) { return MulDiv(pixels, 1440, dpi); }

RECT ToPixels(const platform::ControlDesign& design, int dpi) {
  const int left = ToPixels(design.left, dpi), top = ToPixels(design.top, dpi);
  return {left, top, left + ToPixels(design.width, dpi), top + ToPixels(design.height, dpi)};
}

RECT ToPixels(const platform::TwipsRect& rect, int dpi) {
  const int left = ToPixels(rect.left, dpi), top = ToPixels(rect.top, dpi);
  return {left, top, left + ToPixels(rect.width, dpi), top + ToPixels(rect.height, dpi)};
}

COLORREF Resolve(OLE_COLOR color) {
  if ((color & 0x80000000u) != 0) return GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

HFONT CreateDefaultFont(int dpi) {
  return CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                     L"MS Sans Serif");
}

HFONT CreateDesignFont(const platform::FontDesign& design, int dpi) {
  const std::wstring name(design.name.begin(), design.name.end());
  // Points to pixels at the screen's dpi, rounded; negative: the character height.
  const int height = -static_cast<int>(design.size_points * dpi / 72.0 + 0.5);
  return CreateFontW(height, 0, 0, 0, design.weight, design.italic, design.underline, design.strikethrough,
                     static_cast<BYTE>(design.charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, name.c_str());
}

}  // namespace jv::win32
