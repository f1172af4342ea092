#include "platform/win32/accessibility_bridge.h"

#include <oleacc.h>

#include "platform/face/accessible_names.h"
#include "platform/win32/screen_units.h"
#include "platform/win32/shown_windows.h"

namespace jv::win32 {

namespace {

using platform::msaa::kChildSelf;
using platform::msaa::kIID_IAccessible;

bool AsksForClient(LPARAM lparam) { return static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT); }


}  // namespace

AccessibilityBridge::AccessibilityBridge(ShownWindows& windows)
    : w_(windows), model_(*windows.face.model()), grid_(platform::AccessibleGrid::Create(model_, *this)) {
  model_.AddListener(this);
  announced_cursor_ = model_.cursor();
}

AccessibilityBridge::~AccessibilityBridge() {
  model_.RemoveListener(this);
  grid_->Disconnect();
  grid_->Release();
  for (const Overridden& o : overrides_) {
    o.object->Disconnect();
    o.object->Release();
  }
}

AccessibleOverride* AccessibilityBridge::OverrideFor(HWND window) {
  for (const Overridden& o : overrides_)
    if (o.window == window) return o.object;
  AccessibleAnswers answers;
  if (window == w_.surface) {
    answers.role = platform::msaa::kRoleGrouping;
    answers.name = [] { return Text(platform::kControlAccessibleName); };
    answers.description = [this] { return model_.month_caption(); };
  } else if (window == w_.previous || window == w_.next) {
    const platform::Role role = window == w_.next ? platform::Role::NextButton : platform::Role::PreviousButton;
    answers.role = platform::msaa::kRolePushButton;
    answers.name = [role] { return Text(platform::AccessibleNameOf(role)); };
    // Windows names a push button's action "Press"; pressing it is the system's click.
    answers.action_name = u"Press";
    answers.action = [window] {
      SendMessageW(window, BM_CLICK, 0, 0);
      return S_OK;
    };
  } else if (window == w_.year) {
    answers.role = platform::msaa::kRoleText;
    answers.added_state = platform::msaa::kStateReadOnly;
    answers.name = [] { return Text(); };
    answers.value = [this] { return model_.month_caption(); };
  } else {
    return nullptr;
  }
  IAccessible* standard = nullptr;
  if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, kIID_IAccessible, reinterpret_cast<void**>(&standard))))
    return nullptr;
  AccessibleOverride* made = AccessibleOverride::Create(standard, std::move(answers));
  standard->Release();
  overrides_.push_back({window, made});
  return made;
}

std::optional<LRESULT> AccessibilityBridge::GetObject(HWND window, WPARAM wparam, LPARAM lparam) {
  if (!AsksForClient(lparam)) return std::nullopt;
  IUnknown* object = nullptr;
  if (window == w_.picture) object = grid_;
  else object = OverrideFor(window);
  if (object == nullptr) return std::nullopt;
  return LresultFromObject(kIID_IAccessible, wparam, object);
}

bool AccessibilityBridge::GridHasFocus() { return w_.picture != nullptr && GetFocus() == w_.picture; }

platform::ScreenRect AccessibilityBridge::ToScreen(const platform::TwipsRect& r) {
  const RECT pixels = ToPixels(r, w_.face.dpi());
  POINT origin{pixels.left, pixels.top};
  if (w_.picture != nullptr) ClientToScreen(w_.picture, &origin);
  return {origin.x, origin.y, pixels.right - pixels.left, pixels.bottom - pixels.top};
}

platform::ScreenRect AccessibilityBridge::GridOnScreen() {
  RECT r{};
  if (w_.picture != nullptr) GetWindowRect(w_.picture, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

bool AccessibilityBridge::FromScreen(long x, long y, std::int32_t* tx, std::int32_t* ty) {
  if (w_.picture == nullptr) return false;
  POINT p{static_cast<LONG>(x), static_cast<LONG>(y)};
  ScreenToClient(w_.picture, &p);
  RECT client{};
  GetClientRect(w_.picture, &client);
  if (!PtInRect(&client, p)) return false;
  const int dpi = w_.face.dpi();
  // The middle of the pixel, so that rounding keeps it inside the cell it shows in.
  *tx = ToTwips(p.x, dpi) + ToTwips(1, dpi) / 2;
  *ty = ToTwips(p.y, dpi) + ToTwips(1, dpi) / 2;
  return true;
}

HRESULT AccessibilityBridge::ClickCell(std::int16_t index) {
  Win32Face& face = w_.face;
  const HWND picture = w_.picture;
  FaceObserver* observer = face.observer();
  (void)face.RaiseCellClick(index);
  // The handler may have ended the control, its windows and this bridge.
  if (picture == nullptr || !IsWindow(picture)) return S_OK;
  if (observer != nullptr) observer->OnInputHandled();
  InputHandled();
  return S_OK;
}

HRESULT AccessibilityBridge::FocusGrid() { return w_.face.Picture1().SetFocus(); }

HRESULT AccessibilityBridge::GetParent(IDispatch** out) {
  if (w_.picture == nullptr) return E_FAIL;
  return CreateStdAccessibleObject(w_.picture, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(out));
}

HRESULT AccessibilityBridge::FormatLongDate(DATE date, Text* out) {
  SYSTEMTIME time{};
  if (!VariantTimeToSystemTime(date, &time)) return E_INVALIDARG;
  wchar_t buffer[128] = {};
  const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, buffer, 128, nullptr);
  if (length <= 1) return HRESULT_FROM_WIN32(GetLastError());
  out->assign(buffer, buffer + length - 1);
  return S_OK;
}

void AccessibilityBridge::InputHandled() {
  if (model_.cursor() == announced_cursor_) return;
  announced_cursor_ = model_.cursor();
  AnnounceCursor();
}

void AccessibilityBridge::GridFocused() { AnnounceCursor(); }

void AccessibilityBridge::AnnounceCursor() {
  const std::optional<std::int16_t> cursor = model_.CursorCell();
  if (!GridHasFocus() || !cursor || model_.CaptionOf(*cursor).empty()) return;
  NotifyWinEvent(EVENT_OBJECT_FOCUS, w_.picture, OBJID_CLIENT, grid_->ChildOf(*cursor));
}

void AccessibilityBridge::HighlightChanged(std::int16_t index, bool highlighted) {
  if (w_.picture == nullptr) return;
  NotifyWinEvent(highlighted ? EVENT_OBJECT_SELECTION : EVENT_OBJECT_SELECTIONREMOVE, w_.picture, OBJID_CLIENT,
                 grid_->ChildOf(index));
}

void AccessibilityBridge::MonthChanged() {
  if (w_.picture == nullptr) return;
  // The cells now hold other days: their names and order changed with the table's name.
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, w_.picture, OBJID_CLIENT, kChildSelf);
  NotifyWinEvent(EVENT_OBJECT_REORDER, w_.picture, OBJID_CLIENT, kChildSelf);
  if (w_.surface != nullptr) NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, w_.surface, OBJID_CLIENT, kChildSelf);
  if (w_.year != nullptr) NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, w_.year, OBJID_CLIENT, kChildSelf);
}

}  // namespace jv::win32
