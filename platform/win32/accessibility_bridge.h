// The shown face to screen readers on Windows (Active Accessibility): the picture
// box answers WM_GETOBJECT with the day grid's accessible object, the surface,
// the paging buttons and the month caption with their standard objects told what
// they are, and NotifyWinEvent tells of focus, selection, name and order changes.
// Every object handed out is disconnected when the windows go.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/face/accessible_grid.h"
#include "platform/face/day_grid_model.h"
#include "platform/win32/accessible_override.h"

namespace jv::win32 {

struct ShownWindows;

class AccessibilityBridge final : public platform::GridAccessHost, public platform::DayGridListener {
 public:
  explicit AccessibilityBridge(ShownWindows& windows);
  ~AccessibilityBridge();
  AccessibilityBridge(const AccessibilityBridge&) = delete;
  AccessibilityBridge& operator=(const AccessibilityBridge&) = delete;

  // The answer to WM_GETOBJECT sent to one of the face's windows; none for an
  // object the system's default answers.
  std::optional<LRESULT> GetObject(HWND window, WPARAM wparam, LPARAM lparam);
  // The control handled a click or a key: its cursor may have moved.
  void InputHandled();
  // The grid took the keyboard focus.
  void GridFocused();

  // GridAccessHost
  bool GridHasFocus() override;
  platform::ScreenRect ToScreen(const platform::TwipsRect& rect) override;
  platform::ScreenRect GridOnScreen() override;
  bool FromScreen(long x, long y, std::int32_t* tx, std::int32_t* ty) override;
  HRESULT ClickCell(std::int16_t index) override;
  HRESULT FocusGrid() override;
  HRESULT GetParent(IDispatch** out) override;
  HRESULT FormatLongDate(DATE date, Text* out) override;

  // DayGridListener
  void HighlightChanged(std::int16_t index, bool highlighted) override;
  void MonthChanged() override;

 private:
  void AnnounceCursor();
  AccessibleOverride* OverrideFor(HWND window);

  ShownWindows& w_;
  platform::DayGridModel& model_;
  platform::AccessibleGrid* grid_ = nullptr;  // counted
  struct Overridden {
    HWND window;
    AccessibleOverride* object;  // counted
  };
  std::vector<Overridden> overrides_;
  std::int16_t announced_cursor_ = 0;
};

}  // namespace jv::win32
