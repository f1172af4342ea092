// A window's standard accessible object with some of its own answers replaced:
// the paging buttons' names, the month caption as read-only text with its value,
// the control's surface as a named grouping described by the month shown. Every
// other question goes to the standard object. Once disconnected (the window has
// gone) every call answers the disconnected status.
#pragma once

#include <functional>
#include <optional>

#include "platform/face/accessible_object.h"

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

class AccessibleOverride final : public platform::AccessibleObject {
 public:
  // With one reference, the caller's; `inner` is the window's standard object.
  static AccessibleOverride* Create(IAccessible* inner, AccessibleAnswers answers) {
    return new AccessibleOverride(inner, std::move(answers));
  }
  void Disconnect();

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  JV_IACCESSIBLE_MEMBERS;

 private:
  AccessibleOverride(IAccessible* inner, AccessibleAnswers answers);
  ~AccessibleOverride() override;
  HRESULT Text(const std::function<jv::Text()>& answer, VARIANT child, BSTR* out,
               HRESULT (JV_STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*));

  IAccessible* inner_;  // counted; null once disconnected
  AccessibleAnswers answers_;
};

}  // namespace jv::win32
