// The constituent controls of a Win32 face: each keeps its value as every runtime
// does (the face base's stored controls) and shows a change in the face's windows
// when the face has any.
#pragma once

#include <windows.h>

#include "platform/face/stored_controls.h"
#include "platform/face/surface_base.h"

namespace jv::win32 {

class Win32Face;

// A windowless day cell, painted by Picture1's window.
struct DayCell final : platform::Label {
  HRESULT get_Caption(Text* out) override;
  HRESULT put_Caption(TextView caption) override;
  HRESULT put_ForeColor(OLE_COLOR color) override;
  HRESULT put_BackColor(OLE_COLOR color) override;
  // Shows a changed caption or colour at once when the face is on screen.
  HRESULT Repaint() const;

  Win32Face* face = nullptr;
  std::int16_t index = 0;
  Text caption;
  OLE_COLOR fore = kSysWindowText;
  OLE_COLOR back = kSysWindow;
};

// txtYear or txtDate: the text, and the edit box that shows it while in place.
struct EditBox final : platform::TextBoxBase {
  HRESULT put_Text(TextView text) override;

  Win32Face* face = nullptr;
  HWND window = nullptr;
};

struct GridBox final : platform::PictureBox {
  HRESULT SetFocus() override;

  Win32Face* face = nullptr;
};

// The surface's size also sizes the control's window.
class WindowSurface final : public platform::SurfaceBase {
 public:
  WindowSurface(Win32Face& face, platform::Container& container);
  void ApplySize(std::int32_t width, std::int32_t height) override;

 private:
  Win32Face& win32_face_;
};

}  // namespace jv::win32
