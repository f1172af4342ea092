// The child windows of a shown Win32 face: the surface, the frame and the picture
// box of the runtime's own window classes, the system's buttons and edit boxes,
// and where the windowless labels lie. Made by shown_windows.cpp, painted by
// window_painting.cpp, their messages answered by window_messages.cpp. Private to
// the runtime.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>
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

  // When the windows that lie outside the surface, and so never show, are made.
  enum class Unseen { AtOnce, AfterFirstPaint };
  // Creates every window of the layout in `parent`, shown, the surface at `origin`
  // (shown_windows.cpp). With Unseen::AfterFirstPaint the unseen ones come on a
  // timer's message, which a message loop receives only once nothing is left to
  // paint (and no sooner than the system's shortest timer interval).
  [[nodiscard]] static HRESULT Create(Win32Face& face, HWND parent, POINT origin, Unseen unseen,
                                      std::unique_ptr<ShownWindows>* out);
  // The timer came: makes the windows left for it.
  void MakeUnseen();

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
  HFONT default_font = nullptr;  // shared by every face (shared_fonts.h), never deleted here
  std::vector<PaintedLabel> frame_labels;
  OLE_COLOR grid_back = 0x80000005;  // Picture1's back colour
  platform::TextAlignment cell_alignment = platform::TextAlignment::Center;
  std::int16_t pressed_cell = 0;  // where the left button went down on the grid
  bool grid_invalid = false;      // the whole grid waits for its next paint
  // Screen readers' view of these windows; gone before the windows are.
  std::unique_ptr<AccessibilityBridge> accessibility;

 private:
  struct Placed {
    std::string_view name;
    HWND window;
  };
  // Makes the window of one constituent control in its parent's, which is made.
  HRESULT MakeChild(const platform::ControlDesign& c);
  static bool OutsideSurface(const platform::ControlDesign& c, SIZE surface, int dpi);

  std::vector<Placed> placed_;                          // the windows made, by control name
  std::vector<const platform::ControlDesign*> unseen_;  // left for the timer, in their order
};

// The surface's timer that makes the unseen windows.
inline constexpr UINT_PTR kMakeUnseenTimer = 1;

}  // namespace jv::win32
