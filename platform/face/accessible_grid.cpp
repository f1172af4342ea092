#include "platform/face/accessible_grid.h"

namespace jv::platform {

namespace {

using namespace msaa;

// Clearing an out-parameter before any answer.
template <class T>
void Clear(T** out) {
  *out = nullptr;
}
void Clear(VARIANT* out) { VariantInit(out); }

}  // namespace

long AccessibleGrid::ChildOf(std::int16_t index) const {
  if (model_ == nullptr || !model_->Has(index)) return 0;
  return model_->ChildIndexOf(index) + 1;
}

std::int16_t AccessibleGrid::IndexOf(long child) const {
  if (model_ == nullptr || child < 1 || child > model_->count()) return 0;
  return model_->IndexOfChild(static_cast<int>(child - 1));
}

AccessibleGrid::Target AccessibleGrid::Resolve(const VARIANT& child) const {
  if (child.vt != VT_I4) return {};
  if (child.lVal == kChildSelf) return {true, true, 0};
  if (model_ == nullptr || child.lVal < 1 || child.lVal > model_->count()) return {};
  return {true, false, model_->IndexOfChild(static_cast<int>(child.lVal - 1))};
}

template <class Out>
HRESULT AccessibleGrid::Begin(const VARIANT& child, Out* out, Target* target) const {
  if (out == nullptr) return E_POINTER;
  Clear(out);
  if (model_ == nullptr) return kDisconnected;
  *target = Resolve(child);
  return target->valid ? S_OK : E_INVALIDARG;
}

HRESULT AccessibleGrid::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (host_ == nullptr) return kDisconnected;
  return host_->GetParent(parent);
}

HRESULT AccessibleGrid::get_accChildCount(long* count) {
  if (count == nullptr) return E_POINTER;
  if (model_ == nullptr) return kDisconnected;
  *count = model_->count();
  return S_OK;
}

HRESULT AccessibleGrid::get_accChild(VARIANT child, IDispatch** out) {
  Target t;
  if (const HRESULT hr = Begin(child, out, &t); hr != S_OK) return hr;
  if (t.self) return E_INVALIDARG;
  return S_FALSE;  // a cell is a simple element of the table
}

HRESULT AccessibleGrid::get_accName(VARIANT child, BSTR* name) {
  Target t;
  if (const HRESULT hr = Begin(child, name, &t); hr != S_OK) return hr;
  if (t.self) return AnswerText(model_->month_caption(), name);
  const std::optional<DATE> date = model_->DateOf(t.index);
  Text text;
  if (!date || FAILED(host_->FormatLongDate(*date, &text))) return AnswerText(TextView(), name);
  return AnswerText(text, name);
}

HRESULT AccessibleGrid::get_accValue(VARIANT child, BSTR* value) {
  Target t;
  if (const HRESULT hr = Begin(child, value, &t); hr != S_OK) return hr;
  return S_FALSE;
}

HRESULT AccessibleGrid::get_accDescription(VARIANT child, BSTR* description) { return get_accValue(child, description); }
HRESULT AccessibleGrid::get_accHelp(VARIANT child, BSTR* help) { return get_accValue(child, help); }
HRESULT AccessibleGrid::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) { return get_accValue(child, shortcut); }

HRESULT AccessibleGrid::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (file == nullptr || topic == nullptr) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  if (model_ == nullptr) return kDisconnected;
  return Resolve(child).valid ? S_FALSE : E_INVALIDARG;
}

HRESULT AccessibleGrid::get_accRole(VARIANT child, VARIANT* role) {
  Target t;
  if (const HRESULT hr = Begin(child, role, &t); hr != S_OK) return hr;
  SetI4(role, t.self ? kRoleTable : kRoleCell);
  return S_OK;
}

HRESULT AccessibleGrid::get_accState(VARIANT child, VARIANT* state) {
  Target t;
  if (const HRESULT hr = Begin(child, state, &t); hr != S_OK) return hr;
  const bool focused = host_->GridHasFocus();
  long bits = kStateFocusable;
  if (t.self) {
    if (focused) bits |= kStateFocused;
  } else if (model_->CaptionOf(t.index).empty()) {
    bits = kStateInvisible;
  } else {
    bits |= kStateSelectable;
    if (model_->IsHighlighted(t.index)) bits |= kStateSelected;
    if (focused && model_->IsAtCursor(t.index)) bits |= kStateFocused;
  }
  SetI4(state, bits);
  return S_OK;
}

HRESULT AccessibleGrid::get_accFocus(VARIANT* focus) {
  if (focus == nullptr) return E_POINTER;
  VariantInit(focus);
  if (model_ == nullptr) return kDisconnected;
  if (!host_->GridHasFocus()) return S_FALSE;
  const std::optional<std::int16_t> cursor = model_->CursorCell();
  SetI4(focus, cursor && !model_->CaptionOf(*cursor).empty() ? ChildOf(*cursor) : kChildSelf);
  return S_OK;
}

HRESULT AccessibleGrid::get_accSelection(VARIANT* selection) {
  if (selection == nullptr) return E_POINTER;
  VariantInit(selection);
  if (model_ == nullptr) return kDisconnected;
  for (int child = 0; child < model_->count(); ++child) {
    const std::int16_t index = model_->IndexOfChild(child);
    if (model_->IsHighlighted(index) && !model_->CaptionOf(index).empty()) {
      SetI4(selection, child + 1);
      return S_OK;
    }
  }
  return S_FALSE;
}

HRESULT AccessibleGrid::get_accDefaultAction(VARIANT child, BSTR* action) {
  Target t;
  if (const HRESULT hr = Begin(child, action, &t); hr != S_OK) return hr;
  if (t.self || model_->CaptionOf(t.index).empty()) return S_FALSE;
  return AnswerText(kClickAction, action);
}

HRESULT AccessibleGrid::accDoDefaultAction(VARIANT child) {
  if (model_ == nullptr) return kDisconnected;
  const Target t = Resolve(child);
  if (!t.valid) return E_INVALIDARG;
  if (t.self || model_->CaptionOf(t.index).empty()) return DISP_E_MEMBERNOTFOUND;
  // The click may end the control and so this object's connection.
  GridAccessHost* host = host_;
  return host->ClickCell(t.index);
}

HRESULT AccessibleGrid::accSelect(long flags, VARIANT child) {
  if (model_ == nullptr) return kDisconnected;
  const Target t = Resolve(child);
  if (!t.valid) return E_INVALIDARG;
  if (flags & ~(kSelectTakeFocus | kSelectTakeSelection)) return E_INVALIDARG;
  if (flags & kSelectTakeSelection) {
    // Selecting a day is what the day click does, focus included.
    if (t.self || model_->CaptionOf(t.index).empty()) return S_FALSE;
    return host_->ClickCell(t.index);
  }
  if (flags & kSelectTakeFocus) return host_->FocusGrid();
  return S_OK;
}

HRESULT AccessibleGrid::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  if (model_ == nullptr) return kDisconnected;
  const Target t = Resolve(child);
  if (!t.valid) return E_INVALIDARG;
  const ScreenRect r = t.self ? host_->GridOnScreen() : host_->ToScreen(model_->RectOf(t.index));
  *left = r.left;
  *top = r.top;
  *width = r.width;
  *height = r.height;
  return S_OK;
}

HRESULT AccessibleGrid::accNavigate(long direction, VARIANT start, VARIANT* end) {
  Target t;
  if (const HRESULT hr = Begin(start, end, &t); hr != S_OK) return hr;
  const long count = model_->count();
  long to = 0;
  if (t.self) {
    if (direction == kNavFirstChild) to = 1;
    else if (direction == kNavLastChild) to = count;
    else return S_FALSE;  // the grid's siblings are its parent's to tell
  } else {
    const long from = ChildOf(t.index);
    const long columns = DayGridModel::kColumns;
    switch (direction) {
      case kNavUp: to = from - columns; break;
      case kNavDown: to = from + columns; break;
      case kNavLeft: to = (from - 1) % columns == 0 ? 0 : from - 1; break;
      case kNavRight: to = from % columns == 0 ? 0 : from + 1; break;
      case kNavNext: to = from + 1; break;
      case kNavPrevious: to = from - 1; break;
      default: return E_INVALIDARG;
    }
  }
  if (to < 1 || to > count) return S_FALSE;
  SetI4(end, to);
  return S_OK;
}

HRESULT AccessibleGrid::accHitTest(long x, long y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  VariantInit(child);
  if (model_ == nullptr) return kDisconnected;
  std::int32_t tx = 0, ty = 0;
  if (!host_->FromScreen(x, y, &tx, &ty)) return S_FALSE;
  const std::optional<std::int16_t> index = model_->CellAt(tx, ty);
  SetI4(child, index ? ChildOf(*index) : kChildSelf);
  return S_OK;
}

HRESULT AccessibleGrid::put_accName(VARIANT, BSTR) { return model_ == nullptr ? kDisconnected : E_NOTIMPL; }
HRESULT AccessibleGrid::put_accValue(VARIANT, BSTR) { return model_ == nullptr ? kDisconnected : E_NOTIMPL; }

}  // namespace jv::platform
