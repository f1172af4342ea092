#include "housing/property_page.h"

#include <new>

#include "housing/ole_trace.h"

namespace jv::housing {

HRESULT CreatePropertyPage(IControlSite*, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  auto* page = new (std::nothrow) PropertyPage();
  if (page == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = page->QueryInterface(riid, object);
  page->Release();
  return hr;
}

PropertyPage::~PropertyPage() { DestroyWindows(); }

HRESULT PropertyPage::SetPageSite(IPropertyPageSite* site) {
  TraceCall("IPropertyPage::SetPageSite");
  if (site != nullptr && site_) return E_UNEXPECTED;
  site_ = ComPtr<IPropertyPageSite>(site);
  return S_OK;
}

HRESULT PropertyPage::Activate(HWND parent, LPCRECT rect, BOOL) {
  TraceCall("IPropertyPage::Activate");
  if (rect == nullptr) return E_POINTER;
  if (window_ != nullptr) return E_UNEXPECTED;
  JV_TRY(CreateWindows(parent, *rect));
  LoadValues();
  return S_OK;
}

HRESULT PropertyPage::Deactivate() {
  TraceCall("IPropertyPage::Deactivate");
  DestroyWindows();
  return S_OK;
}

HRESULT PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  TraceCall("IPropertyPage::GetPageInfo");
  if (info == nullptr) return E_POINTER;
  static constexpr wchar_t kTitle[] = L"Calendar";
  info->cb = sizeof *info;
  info->pszTitle = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof kTitle));
  if (info->pszTitle == nullptr) return E_OUTOFMEMORY;
  CopyMemory(info->pszTitle, kTitle, sizeof kTitle);
  info->size = kPageSize;
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return S_OK;
}

HRESULT PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  TraceCall("IPropertyPage::SetObjects " + std::to_string(count));
  if (count > 0 && objects == nullptr) return E_POINTER;
  // Every object must take the members by dispatch id; otherwise none is taken.
  std::vector<ComPtr<IDispatch>> taken;
  for (ULONG i = 0; i < count; ++i) {
    if (objects[i] == nullptr) return E_POINTER;
    ComPtr<IDispatch> dispatch;
    JV_TRY(objects[i]->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())));
    taken.push_back(std::move(dispatch));
  }
  objects_ = std::move(taken);
  if (window_ != nullptr) LoadValues();
  return S_OK;
}

HRESULT PropertyPage::Show(UINT command) {
  TraceCall("IPropertyPage::Show");
  if (window_ == nullptr) return E_UNEXPECTED;
  ShowWindow(window_, static_cast<int>(command));
  return S_OK;
}

HRESULT PropertyPage::Move(LPCRECT rect) {
  if (rect == nullptr) return E_POINTER;
  if (window_ == nullptr) return E_UNEXPECTED;
  MoveWindow(window_, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

HRESULT PropertyPage::IsPageDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT PropertyPage::Apply() {
  TraceCall("IPropertyPage::Apply");
  if (!dirty_) return S_OK;
  if (window_ == nullptr) return E_UNEXPECTED;
  // Every edited field is read before anything is put: one bad value, nothing applied.
  std::array<VARIANT, kPageFields> values;
  for (VARIANT& v : values) VariantInit(&v);
  auto clear = [&values] {
    for (VARIANT& v : values) VariantClear(&v);
  };
  for (const PageFieldDesc& desc : kPageFieldDescs) {
    const auto i = static_cast<std::size_t>(desc.field);
    if (!edited_[i]) continue;
    std::wstring message;
    if (!ReadValue(desc, FieldText(desc.field), &values[i], &message)) {
      clear();
      ShowMessage(message);
      SetFocus(FieldWindow(desc.field));
      return E_INVALIDARG;
    }
  }
  HRESULT result = S_OK;
  std::wstring failed;
  for (const ComPtr<IDispatch>& object : objects_) {
    for (const PageFieldDesc& desc : kPageFieldDescs) {
      const auto i = static_cast<std::size_t>(desc.field);
      if (!edited_[i]) continue;
      DISPID named = DISPID_PROPERTYPUT;
      DISPPARAMS params = {&values[i], &named, 1, 1};
      const HRESULT hr = object->Invoke(desc.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params,
                                        nullptr, nullptr, nullptr);
      if (FAILED(hr) && SUCCEEDED(result)) {
        result = hr;
        failed = desc.label;
      }
    }
  }
  clear();
  if (FAILED(result)) {
    // A control refused a value: the page stays dirty, so the user can try again.
    ShowMessage(failed + L": the control refused the value.");
    return result;
  }
  ShowMessage(L"");
  edited_.fill(false);
  SetDirty(false);
  return S_OK;
}

HRESULT PropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

HRESULT PropertyPage::TranslateAccelerator(MSG* msg) {
  if (msg == nullptr) return E_POINTER;
  if (window_ != nullptr && IsDialogMessageW(window_, msg)) return S_OK;
  return S_FALSE;
}

HRESULT PropertyPage::EditProperty(DISPID id) {
  TraceCall("IPropertyPage2::EditProperty");
  for (const PageFieldDesc& desc : kPageFieldDescs) {
    if (desc.id != id) continue;
    if (window_ == nullptr) return E_UNEXPECTED;
    SetFocus(FieldWindow(desc.field));
    return S_OK;
  }
  return E_INVALIDARG;
}

void PropertyPage::OnFieldEdited(PageField field) {
  if (loading_) return;
  edited_[static_cast<std::size_t>(field)] = true;
  SetDirty(true);
}

void PropertyPage::SetDirty(bool dirty) {
  dirty_ = dirty;
  if (dirty && site_) (void)site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

void PropertyPage::LoadValues() {
  loading_ = true;
  for (const PageFieldDesc& desc : kPageFieldDescs) {
    std::wstring text;
    if (!objects_.empty()) {
      DISPPARAMS none = {nullptr, nullptr, 0, 0};
      VARIANT value;
      VariantInit(&value);
      if (SUCCEEDED(objects_.front()->Invoke(desc.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                             &none, &value, nullptr, nullptr)))
        text = ShowValue(desc, value);
      VariantClear(&value);
    }
    SetFieldText(desc.field, text);
  }
  ShowMessage(objects_.size() > 1 ? L"The values of the first of " + std::to_wstring(objects_.size()) +
                                        L" controls; changes go to all."
                                  : L"");
  loading_ = false;
  edited_.fill(false);
  dirty_ = false;
}

}  // namespace jv::housing
