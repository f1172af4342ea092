#include "platform/win32/accessible_override.h"

namespace jv::win32 {

namespace {

using platform::msaa::kChildSelf;
using platform::msaa::kDisconnected;

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == kChildSelf; }

}  // namespace

AccessibleOverride::AccessibleOverride(IAccessible* inner, AccessibleAnswers answers)
    : inner_(inner), answers_(std::move(answers)) {
  if (inner_ != nullptr) inner_->AddRef();
}

AccessibleOverride::~AccessibleOverride() { Disconnect(); }

void AccessibleOverride::Disconnect() {
  answers_ = {};
  if (IAccessible* inner = std::exchange(inner_, nullptr)) inner->Release();
}

HRESULT AccessibleOverride::QueryInterface(REFIID riid, void** object) {
  // The standard object enumerates the window's children: assistive technologies
  // walk the tree through it.
  static constexpr IID kIID_IEnumVARIANT = {0x00020404, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  if (riid == kIID_IEnumVARIANT && inner_ != nullptr) return inner_->QueryInterface(riid, object);
  return RefCounted::QueryInterface(riid, object);
}

HRESULT AccessibleOverride::Text(const std::function<jv::Text()>& answer, VARIANT child, BSTR* out,
                                 HRESULT (JV_STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (inner_ == nullptr) return kDisconnected;
  if (!answer || !IsSelf(child)) return (inner_->*standard)(child, out);
  return AnswerText(answer(), out);
}

HRESULT AccessibleOverride::get_accName(VARIANT child, BSTR* name) {
  return Text(answers_.name, child, name, &IAccessible::get_accName);
}
HRESULT AccessibleOverride::get_accValue(VARIANT child, BSTR* value) {
  return Text(answers_.value, child, value, &IAccessible::get_accValue);
}
HRESULT AccessibleOverride::get_accDescription(VARIANT child, BSTR* description) {
  return Text(answers_.description, child, description, &IAccessible::get_accDescription);
}

HRESULT AccessibleOverride::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  if (inner_ == nullptr) {
    VariantInit(role);
    return kDisconnected;
  }
  if (!answers_.role || !IsSelf(child)) return inner_->get_accRole(child, role);
  VariantInit(role);
  SetI4(role, *answers_.role);
  return S_OK;
}

HRESULT AccessibleOverride::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  if (inner_ == nullptr) {
    VariantInit(state);
    return kDisconnected;
  }
  const HRESULT hr = inner_->get_accState(child, state);
  if (SUCCEEDED(hr) && IsSelf(child) && state->vt == VT_I4) state->lVal |= answers_.added_state;
  return hr;
}

// The rest is the standard object's.
#define JV_FORWARD(call)                      \
  if (inner_ == nullptr) return kDisconnected; \
  return inner_->call

HRESULT AccessibleOverride::get_accParent(IDispatch** parent) { JV_FORWARD(get_accParent(parent)); }
HRESULT AccessibleOverride::get_accChildCount(long* count) { JV_FORWARD(get_accChildCount(count)); }
HRESULT AccessibleOverride::get_accChild(VARIANT child, IDispatch** out) { JV_FORWARD(get_accChild(child, out)); }
HRESULT AccessibleOverride::get_accHelp(VARIANT child, BSTR* help) { JV_FORWARD(get_accHelp(child, help)); }
HRESULT AccessibleOverride::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  JV_FORWARD(get_accHelpTopic(file, child, topic));
}
HRESULT AccessibleOverride::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  JV_FORWARD(get_accKeyboardShortcut(child, shortcut));
}
HRESULT AccessibleOverride::get_accFocus(VARIANT* focus) { JV_FORWARD(get_accFocus(focus)); }
HRESULT AccessibleOverride::get_accSelection(VARIANT* selection) { JV_FORWARD(get_accSelection(selection)); }
HRESULT AccessibleOverride::get_accDefaultAction(VARIANT child, BSTR* action) {
  if (answers_.action && IsSelf(child)) {
    const std::u16string_view name = answers_.action_name;
    return Text([name] { return jv::Text(name); }, child, action, &IAccessible::get_accDefaultAction);
  }
  JV_FORWARD(get_accDefaultAction(child, action));
}
HRESULT AccessibleOverride::accSelect(long flags, VARIANT child) { JV_FORWARD(accSelect(flags, child)); }
HRESULT AccessibleOverride::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  JV_FORWARD(accLocation(left, top, width, height, child));
}
HRESULT AccessibleOverride::accNavigate(long direction, VARIANT start, VARIANT* end) {
  JV_FORWARD(accNavigate(direction, start, end));
}
HRESULT AccessibleOverride::accHitTest(long x, long y, VARIANT* child) { JV_FORWARD(accHitTest(x, y, child)); }
HRESULT AccessibleOverride::accDoDefaultAction(VARIANT child) {
  if (inner_ != nullptr && answers_.action && IsSelf(child)) {
    // The action may end the control and with it this object's answers.
    const std::function<HRESULT()> action = answers_.action;
    return action();
  }
  JV_FORWARD(accDoDefaultAction(child));
}
HRESULT AccessibleOverride::put_accName(VARIANT child, BSTR name) { JV_FORWARD(put_accName(child, name)); }
HRESULT AccessibleOverride::put_accValue(VARIANT child, BSTR value) { JV_FORWARD(put_accValue(child, value)); }

#undef JV_FORWARD

}  // namespace jv::win32
