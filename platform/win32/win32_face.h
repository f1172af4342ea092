// One instance's face on the Win32 API. Every value lives in a headless face, so an
// instance without a container works exactly as on the headless runtime; while a
// container has the control in place, the face also shows itself as real child
// windows of the container's window and turns the user's clicks and keys into the
// control's events.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "platform/headless/headless_face.h"
#include "platform/headless/headless_runtime.h"
#include "platform/runtime/face.h"

namespace jv::win32 {

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

class Win32Face final : public platform::Face {
 public:
  Win32Face(headless::HeadlessRuntime& runtime, std::unique_ptr<headless::HeadlessFace> model,
            const platform::FaceLayout& layout);
  ~Win32Face() override;
  Win32Face(const Win32Face&) = delete;
  Win32Face& operator=(const Win32Face&) = delete;

  platform::LabelArray& l() override;
  platform::TextBox& txtYear() override;
  platform::TextBox& txtDate() override;
  platform::PictureBox& Picture1() override;
  platform::Frame& Frame1() override;
  platform::Surface& UserControl() override;
  platform::DateFunctions& Dates() override { return model_->Dates(); }
  void ConnectEvents(platform::ControlEvents* handlers) override { model_->ConnectEvents(handlers); }

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
  SIZE pixel_size() const;
  int dpi() const { return dpi_; }

  // Draws the face as it shows on screen into `dc`, stretched onto `bounds`
  // (logical units; the face's pixel size draws it pixel for pixel). Not shown:
  // a hidden set of windows is made for the drawing and destroyed after it.
  [[nodiscard]] HRESULT Print(HDC dc, const RECT& bounds);

  void SetObserver(FaceObserver* observer) { observer_ = observer; }
  FaceObserver* observer() const { return observer_; }
  headless::HeadlessFace& model() { return *model_; }
  headless::HeadlessRuntime& runtime() { return runtime_; }

  struct Parts;
  struct Windows;

 private:
  friend struct Parts;
  friend struct Windows;
  void SyncSize();

  headless::HeadlessRuntime& runtime_;
  std::unique_ptr<headless::HeadlessFace> model_;
  std::vector<platform::ControlDesign> layout_;
  int dpi_;
  FaceObserver* observer_ = nullptr;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<Windows> windows_;
};

}  // namespace jv::win32
