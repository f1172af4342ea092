// A window's standard accessible object with some of its own answers replaced:
// the paging buttons' names, the month caption as read-only text with its value,
// the control's surface as a named grouping described by the month shown. Every
// other question goes to the standard object. Once disconnected (the window has
// gone) every call answers the disconnected status.
#pragma once

#include <functional>
#include <optional>

#include "platform/automation/ref_counted.h"
#include "platform/face/accessible_interface.h"

namespace jv::win32 {

struct AccessibleAnswers {
  std::function<Text()> name, value, description;  // empty: the standard answer
  std::optional<long> role;
  long added_state = 0;
  // The object's own default action (for a system control whose standard object
  // has none): its name and what it does.
  std::u16string_view action_name;
  std::function<HRESULT()> action;
};

class AccessibleOverride final : public RefCounted<IAccessible> {
 public:
  // With one reference, the caller's; `inner` is the window's standard object.
  static AccessibleOverride* Create(IAccessible* inner, AccessibleAnswers answers) {
    return new AccessibleOverride(inner, std::move(answers));
  }
  void Disconnect();

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                      UINT*) override;
  HRESULT JV_STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT JV_STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT JV_STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override;
  HRESULT JV_STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT JV_STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT JV_STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT JV_STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT JV_STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT JV_STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT JV_STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT JV_STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT JV_STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT JV_STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT JV_STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT JV_STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                           VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT JV_STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
  HRESULT JV_STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT JV_STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT JV_STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  AccessibleOverride(IAccessible* inner, AccessibleAnswers answers);
  ~AccessibleOverride() override;
  HRESULT Text(const std::function<jv::Text()>& answer, VARIANT child, BSTR* out,
               HRESULT (JV_STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*));

  IAccessible* inner_;  // counted; null once disconnected
  AccessibleAnswers answers_;
};

}  // namespace jv::win32
