// What every accessible object of the control shares: a reference-counted
// IAccessible whose IDispatch side offers no type information (clients call the
// IAccessible members directly), and the forms of its answers. An object that
// answers every IAccessible member itself declares them with
// JV_IACCESSIBLE_MEMBERS.
#pragma once

#include <cstdint>

#include "platform/automation/ref_counted.h"
#include "platform/face/accessible_interface.h"

#define JV_IACCESSIBLE_MEMBERS                                                                                \
  HRESULT JV_STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;                                   \
  HRESULT JV_STDMETHODCALLTYPE get_accChildCount(long* count) override;                                      \
  HRESULT JV_STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;                        \
  HRESULT JV_STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;                              \
  HRESULT JV_STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;                            \
  HRESULT JV_STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;                \
  HRESULT JV_STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;                           \
  HRESULT JV_STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;                         \
  HRESULT JV_STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;                              \
  HRESULT JV_STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;            \
  HRESULT JV_STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;              \
  HRESULT JV_STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;                                        \
  HRESULT JV_STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;                                \
  HRESULT JV_STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;                   \
  HRESULT JV_STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;                                \
  HRESULT JV_STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) \
      override;                                                                                               \
  HRESULT JV_STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;            \
  HRESULT JV_STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;                         \
  HRESULT JV_STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;                                   \
  HRESULT JV_STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;                               \
  HRESULT JV_STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override

namespace jv::platform {

class AccessibleObject : public RefCounted<IAccessible> {
 public:
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info != nullptr) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) override {
    return E_NOTIMPL;
  }

 protected:
  AccessibleObject() = default;

  // A text answer: S_OK with the text, or S_FALSE and null for none.
  static HRESULT AnswerText(TextView text, BSTR* out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = Bstr(text).Detach();
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  static void SetI4(VARIANT* out, long value) {
    out->vt = VT_I4;
    out->lVal = static_cast<std::int32_t>(value);
  }
};

}  // namespace jv::platform
