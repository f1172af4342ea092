// The child windows of a shown Win32 face: the window classes of the surface, the
// frame and the picture box, the system's buttons and edit boxes, and the painting
// and input of the windowless labels. Private to the runtime.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/win32/win32_face.h"

namespace jv::win32 {

struct Win32Face::Windows {
  // A windowless label as its parent window paints it.
  struct PaintedLabel {
    const platform::ControlDesign* design;
    RECT rect;  // in the parent's client area
  };

  explicit Windows(Win32Face& f) : face(f) {}
  ~Windows();
  Windows(const Windows&) = delete;
  Windows& operator=(const Windows&) = delete;

  // Creates every window of the layout in `parent`, shown, the surface at `origin`.
  [[nodiscard]] static HRESULT Create(Win32Face& face, HWND parent, POINT origin, std::unique_ptr<Windows>* out);

  void InvalidateCell(std::int16_t index);
  // The day cell under a point of Picture1's client area; 0 for none.
  std::int16_t CellAt(POINT point) const;

  void PaintSurface(HDC dc);
  void PaintFrame(HDC dc);
  void PaintPicture(HDC dc);

  Win32Face& face;
  HWND surface = nullptr, frame = nullptr, picture = nullptr;
  HWND previous = nullptr, next = nullptr, year = nullptr, date = nullptr;
  HFONT default_font = nullptr, year_font = nullptr;
  std::vector<PaintedLabel> frame_labels;
  std::vector<RECT> cells;  // cells[i]: the cell with index lbound + i
  std::int16_t lbound = 1;
  std::int16_t pressed_cell = 0;  // where the left button went down on the grid
  bool grid_invalid = false;      // the whole grid waits for its next paint
};

}  // namespace jv::win32
