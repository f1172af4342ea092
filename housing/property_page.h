// The control's own property page: SDate, BackColor, ForeColor, BackStyle,
// BorderStyle and Enabled of one or several controls at once (the font stays on
// the system's standard font page). It shows the first control's values, and
// Apply puts each field the user changed into every control through IDispatch, so
// the controls' change notices fire; a field that holds no value of its kind is
// refused with a message on the page, and then nothing is applied.
#pragma once

#include <ocidl.h>
#include <olectl.h>
#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "housing/property_page_values.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/control_site.h"

namespace jv::housing {

// The page class's creation function (the site is not used: the page's own window
// lives in the frame the container gives it).
[[nodiscard]] HRESULT CreatePropertyPage(IControlSite* site, REFIID riid, void** object);

class PropertyPage final : public RefCounted<IPropertyPage2> {
 public:
  PropertyPage() = default;

  // IPropertyPage
  HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite* site) override;
  HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override;
  HRESULT STDMETHODCALLTYPE Deactivate() override;
  HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override;
  HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override;
  HRESULT STDMETHODCALLTYPE Show(UINT command) override;
  HRESULT STDMETHODCALLTYPE Move(LPCRECT rect) override;
  HRESULT STDMETHODCALLTYPE IsPageDirty() override;
  HRESULT STDMETHODCALLTYPE Apply() override;
  HRESULT STDMETHODCALLTYPE Help(LPCOLESTR help_dir) override;
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG* msg) override;
  // IPropertyPage2
  HRESULT STDMETHODCALLTYPE EditProperty(DISPID id) override;

  // The page window's news (property_page_window.cpp).
  void OnFieldEdited(PageField field);

 private:
  ~PropertyPage() override;

  // property_page_window.cpp: the page's window and its fields.
  HRESULT CreateWindows(HWND parent, const RECT& rect);
  void DestroyWindows();
  std::wstring FieldText(PageField field) const;
  void SetFieldText(PageField field, const std::wstring& text);
  void ShowMessage(const std::wstring& message);
  HWND FieldWindow(PageField field) const { return fields_[static_cast<std::size_t>(field)]; }

  // Shows the first object's values in the fields; clears the edits.
  void LoadValues();
  void SetDirty(bool dirty);

  ComPtr<IPropertyPageSite> site_;
  std::vector<ComPtr<IDispatch>> objects_;
  HWND window_ = nullptr;
  HWND message_ = nullptr;
  HFONT font_ = nullptr;
  std::array<HWND, kPageFields> fields_{};
  std::array<bool, kPageFields> edited_{};
  bool dirty_ = false;
  bool loading_ = false;
};

// The page's size in pixels, as GetPageInfo reports it.
inline constexpr SIZE kPageSize = {320, 230};

}  // namespace jv::housing
