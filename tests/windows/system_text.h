// What the Windows checks read from the system to compare the control with, and
// the small COM objects they hand the control: the user's date text, a window's
// text, and an object on the checks' stack that answers one interface.
#pragma once

#include <windows.h>

#include <string>

namespace jv::wincheck {

// A civil date in the user's regional settings (DATE_SHORTDATE or DATE_LONGDATE).
inline std::wstring UserDate(int year, int month, int day, DWORD flags = DATE_SHORTDATE) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(year);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(day);
  wchar_t text[128] = {};
  GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &st, nullptr, text, 128, nullptr);
  return text;
}

inline std::wstring WindowText(HWND w) {
  wchar_t text[128] = {};
  if (w != nullptr) GetWindowTextW(w, text, 128);
  return text;
}

// A COM object that lives on the checks' stack, longer than anything it is handed
// to: it answers IUnknown and the interface I (whose id is kIid), and counts no
// references.
template <class I, const IID& kIid>
class OnStack : public I {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == kIid) {
      *out = static_cast<I*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
};

}  // namespace jv::wincheck
