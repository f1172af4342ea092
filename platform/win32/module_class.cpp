#include "platform/win32/module_class.h"

namespace jv::win32 {

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

HRESULT RegisterModuleClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, UINT style, int background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, name, &existing)) {
    if (existing.lpfnWndProc == proc) return S_OK;
    UnregisterClassW(name, module);
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = module;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = GetSysColorBrush(background);
  wc.lpszClassName = name;
  if (RegisterClassExW(&wc) == 0) return HRESULT_FROM_WIN32(GetLastError());
  return S_OK;
}

}  // namespace jv::win32
