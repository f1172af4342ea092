// The child windows of a shown Win32 face: the surface, the frame and the picture
// box of the runtime's own window classes, the system's buttons and edit boxes,
// and where the windowless labels lie. Made by shown_windows.cpp, painted by
// window_painting.cpp, their messages answered by window_messages.cpp. Private to
// the runtime.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/face/face_roles.h"

#include "platform/win32/accessibility_bridge.h"
#include "platform/win32/win32_face.h"

namespace jv::win32 {

struct ShownWindows {
  // A windowless label as its parent window paints it.
  struct PaintedLabel {
    const platform::ControlDesign* design;
    RECT rect;  // in the parent's client area
  };

  explicit ShownWindows(Win32Face& f) : face(f) {}
  ~ShownWindows();
  ShownWindows(const ShownWindows&) = delete;
  ShownWindows& operator=(const ShownWindows&) = delete;

  // Creates every window of the layout in `parent`, shown, the surface at `origin`
  // (shown_windows.cpp).
  [[nodiscard]] static HRESULT Create(Win32Face& face, HWND parent, POINT origin, std::unique_ptr<ShownWindows>* out);

  void InvalidateCell(std::int16_t index);
  // The day cell under a point of Picture1's client area; 0 for none.
  std::int16_t CellAt(POINT point) const;
  // Where a day cell lies in Picture1's client area, from the day-grid model.
  RECT CellRect(std::int16_t index) const;

  // window_painting.cpp
  void PaintSurface(HDC dc);
  void PaintFrame(HDC dc);
  void PaintPicture(HDC dc);

  Win32Face& face;
  HWND surface = nullptr, frame = nullptr, picture = nullptr;
  HWND previous = nullptr, next = nullptr, year = nullptr, date = nullptr;
  HFONT default_font = nullptr, year_font = nullptr;
  std::vector<PaintedLabel> frame_labels;
  OLE_COLOR grid_back = 0x80000005;  // Picture1's back colour
  platform::TextAlignment cell_alignment = platform::TextAlignment::Center;
  std::int16_t pressed_cell = 0;  // where the left button went down on the grid
  bool grid_invalid = false;
  // Screen readers' view of these windows; gone before the windows are.
  std::unique_ptr<AccessibilityBridge> accessibility;      // the whole grid waits for its next paint
};

}  // namespace jv::win32
