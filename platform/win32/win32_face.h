// One instance's face on the Win32 API, on the face base. Every value lives in the
// face's own controls, so an instance without a container works as on any other
// runtime; while a container has the control in place, the face also shows itself
// as real child windows of the container's window and turns the user's clicks and
// keys into the control's events.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/face/day_cell_array.h"
#include "platform/face/face_base.h"
#include "platform/face/face_roles.h"
#include "platform/win32/win32_controls.h"

namespace jv::win32 {

struct ShownWindows;

// What the face tells the one who placed it (the OLE side of the control).
class FaceObserver {
 public:
  // A window of the face took or lost the keyboard focus.
  virtual void OnFocusChanged(bool has_focus) = 0;
  // The control handled the user's click or key: the picture may have changed.
  virtual void OnInputHandled() = 0;

 protected:
  ~FaceObserver() = default;
};

class Win32Face final : public platform::HeldControlsFace {
 public:
  // `layout` passed the layout check.
  Win32Face(platform::Container& container, platform::DateFunctions& dates, const platform::FaceLayout& layout);
  ~Win32Face() override;
  Win32Face(const Win32Face&) = delete;
  Win32Face& operator=(const Win32Face&) = delete;

  // Creates the windows as children of `parent`, the surface's top-left corner at
  // `origin` (pixels in the parent's client area) and its size the control's own.
  // Shown already: moves the surface there. Fails with the system's error.
  [[nodiscard]] HRESULT Show(HWND parent, POINT origin);
  // Destroys the windows; the values stay. Nothing to do when not shown.
  void Hide();
  HWND window() const;       // the surface, null when not shown
  HWND grid_window() const;  // Picture1, null when not shown
  bool IsOwnWindow(HWND window) const;

  // The container asks for a size in pixels: the surface takes it and Resize runs,
  // whose rule sets the control back to its frame's size. Then the windows follow.
  [[nodiscard]] HRESULT RequestSize(int width, int height);
  // Moves the surface's window to `origin` at the control's size; nothing when it
  // is there already or not shown.
  void PlaceAt(POINT origin);
  SIZE pixel_size() const;
  int dpi() const { return dpi_; }

  // Draws the face as it shows on screen into `dc`, stretched onto `bounds`
  // (logical units; the face's pixel size draws it pixel for pixel). Not shown:
  // a hidden set of windows is made for the drawing and destroyed after it.
  [[nodiscard]] HRESULT Print(HDC dc, const RECT& bounds);

  // While false (a form designer edits the form), the windows paint as usual but
  // leave the user's clicks and keys to the container beneath them.
  void SetTakesInput(bool takes) { takes_input_ = takes; }
  bool takes_input() const { return takes_input_; }

  void SetObserver(FaceObserver* observer) { observer_ = observer; }
  FaceObserver* observer() const { return observer_; }

  // What the windows show.
  const std::vector<platform::ControlDesign>& layout() const { return layout_; }
  const platform::FaceRoles& roles() const { return roles_; }
  const DayCell* cell(std::int16_t index) const { return cells_.Find(index); }
  const Text& year_text() const { return year_.text; }
  const Text& date_text() const { return date_.text; }

  friend struct ShownWindows;

 private:
  friend struct DayCell;
  friend struct EditBox;
  friend struct GridBox;
  friend class WindowSurface;
  // The shown windows, null when there are none (or the container took them down).
  ShownWindows* shown_windows_or_null() const;
  void SyncSize();

  std::vector<platform::ControlDesign> layout_;
  platform::FaceRoles roles_;
  int dpi_;
  platform::DayCellArray<DayCell> cells_;
  EditBox year_, date_;
  GridBox grid_;
  platform::DesignSizedFrame frame_;
  WindowSurface surface_;
  FaceObserver* observer_ = nullptr;
  bool takes_input_ = true;
  bool deferring_size_ = false;  // a size request runs: the window follows once, after it
  std::unique_ptr<ShownWindows> windows_;
};

}  // namespace jv::win32
