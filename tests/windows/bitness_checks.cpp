// Jornavista.ocx registered for this client's bitness, with the other bitness's
// library possibly registered beside it in the same prefix: the class is served by
// this bitness's own file, its type library is found whatever locale a client asks
// with, and a client in the multithreaded apartment reaches the apartment-threaded
// instance through the marshalled dual interface.
//
// bitness_checks OCX_PATH             the library of this bitness is registered
// bitness_checks OCX_PATH --absent    it is not: the class is not creatable here
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cwctype>
#include <string>

#include "housing/jornavista_ids.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

constexpr int kBits = sizeof(void*) * 8;

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

// The file of the module that holds an object's code: its first vtable entry.
std::wstring ModuleOf(IUnknown* object) {
  void* const* vtable = *reinterpret_cast<void* const* const*>(object);
  HMODULE module = nullptr;
  constexpr DWORD kFlags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
  if (!GetModuleHandleExW(kFlags, static_cast<LPCWSTR>(vtable[0]), &module))
    return {};
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, n);
}

void ServedByOwnFile(Report& report, const std::wstring& ocx) {
  Case t(report, "CoCreateInstance is answered by this bitness's own library");
  IUnknown* object = nullptr;
  if (!t.Status(CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&object)),
                S_OK, "CoCreateInstance"))
    return;
  const std::wstring answered = ModuleOf(object);
  report.Note(std::to_string(kBits) + "-bit client: the class was answered by " + U8(answered.c_str()));
  t.Equal(U8(Lower(answered).c_str()), U8(Lower(ocx).c_str()), "the serving file");
  object->Release();
}

void TypeLibraryEveryLocale(Report& report, const std::wstring& ocx) {
  Case t(report, "the type library is found with the neutral locale, the defaults and other languages");
  const std::pair<LCID, const char*> locales[] = {
      {LOCALE_NEUTRAL, "neutral (0)"},
      {0x0409, "English (0x409)"},
      {0x0416, "Portuguese (0x416)"},
      {0x0407, "German (0x407)"},
      {LOCALE_USER_DEFAULT, "the user's default"},
      {LOCALE_SYSTEM_DEFAULT, "the system's default"},
      {GetUserDefaultLCID(), "the user's locale"},
  };
  for (const auto& [lcid, name] : locales) {
    ITypeLib* lib = nullptr;
    if (!t.Status(LoadRegTypeLib(jornavista::LIBID_JornavistaControl, 1, 0, lcid, &lib), S_OK,
                  std::string("LoadRegTypeLib, ") + name))
      continue;
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(lib->GetLibAttr(&attr))) {
      t.Equal(static_cast<int>(attr->syskind), static_cast<int>(kBits == 64 ? SYS_WIN64 : SYS_WIN32),
              std::string("the library's system kind, ") + name);
      lib->ReleaseTLibAttr(attr);
    }
    lib->Release();
    BSTR path = nullptr;
    if (t.Status(QueryPathOfRegTypeLib(jornavista::LIBID_JornavistaControl, 1, 0, lcid, &path), S_OK,
                 std::string("QueryPathOfRegTypeLib, ") + name))
      t.Equal(U8(Lower(path).c_str()), U8(Lower(ocx).c_str()), std::string("the registered file, ") + name);
    SysFreeString(path);
  }
}

struct MtaResult {
  HRESULT create = E_FAIL, query = E_FAIL, put = E_FAIL, get = E_FAIL, color = E_FAIL, dispatch = E_FAIL;
  std::wstring sdate, sdate_by_name;
  OLE_COLOR back_color = 0;
};

// In a thread of its own, in the multithreaded apartment: the instance lives in
// an apartment of COM's choosing and every call crosses to it through a proxy.
DWORD WINAPI MtaClient(void* param) {
  auto& r = *static_cast<MtaResult*>(param);
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return 1;
  IUnknown* object = nullptr;
  r.create = CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(&object));
  _ctrJornavista* control = nullptr;
  if (SUCCEEDED(r.create))
    r.query = object->QueryInterface(jornavista::IID__ctrJornavista, reinterpret_cast<void**>(&control));
  if (SUCCEEDED(r.query)) {
    BSTR text = SysAllocString(L"14/11/2003");
    r.put = control->put_SDate(text);
    SysFreeString(text);
    BSTR got = nullptr;
    r.get = control->get_SDate(&got);
    if (got != nullptr) r.sdate = got;
    SysFreeString(got);
    r.color = control->put_BackColor(0x0000FF);
    if (SUCCEEDED(r.color)) r.color = control->get_BackColor(&r.back_color);
    // The same instance by name through IDispatch, the interface's other face.
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    r.dispatch = control->Invoke(jornavista::DISPID_SDate, IID_NULL, LOCALE_USER_DEFAULT,
                                 DISPATCH_PROPERTYGET, &none, &result, nullptr, nullptr);
    if (SUCCEEDED(r.dispatch) && result.vt == VT_BSTR && result.bstrVal != nullptr)
      r.sdate_by_name = result.bstrVal;
    VariantClear(&result);
    control->Release();
  }
  if (object != nullptr) object->Release();
  CoUninitialize();
  return 0;
}

void MultithreadedClient(Report& report) {
  Case t(report, "a client in the multithreaded apartment calls the instance through _ctrJornavista");
  MtaResult r;
  HANDLE thread = CreateThread(nullptr, 0, MtaClient, &r, 0, nullptr);
  if (!t.Expect(thread != nullptr, "CreateThread")) return;
  // This thread is the process's first single-threaded apartment, where COM may
  // place the instance: it keeps serving calls while it waits.
  DWORD index = 0;
  t.Status(CoWaitForMultipleHandles(0, INFINITE, 1, &thread, &index), S_OK, "waiting for the client thread");
  CloseHandle(thread);
  t.Status(r.create, S_OK, "CoCreateInstance from the multithreaded apartment");
  t.Status(r.query, S_OK, "QueryInterface for _ctrJornavista across apartments");
  if (FAILED(r.query)) return;
  t.Status(r.put, S_OK, "put_SDate through the proxy");
  t.Status(r.get, S_OK, "get_SDate through the proxy");
  t.Equal(U8(r.sdate.c_str()), std::string("14/11/2003"), "SDate read back through the proxy");
  t.Status(r.color, S_OK, "put_BackColor and get_BackColor through the proxy");
  t.Equal(static_cast<unsigned long>(r.back_color), 0xFFul, "BackColor read back through the proxy");
  t.Status(r.dispatch, S_OK, "IDispatch::Invoke through the proxy");
  t.Equal(U8(r.sdate_by_name.c_str()), std::string("14/11/2003"), "SDate by dispatch id through the proxy");
}

void NotRegisteredHere(Report& report) {
  Case t(report, "with this bitness's library unregistered, its clients find no class and no type library");
  IUnknown* object = nullptr;
  const HRESULT hr = CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IUnknown, reinterpret_cast<void**>(&object));
  t.Status(hr, REGDB_E_CLASSNOTREG, "CoCreateInstance");
  if (object != nullptr) {
    report.Note("answered by " + U8(ModuleOf(object).c_str()));
    object->Release();
  }
}

}  // namespace
}  // namespace jv::wincheck

int wmain(int argc, wchar_t** argv) {
  if (!jv::wincheck::StartComClient(argc, 2, "bitness_checks OCX_PATH [--absent]")) return 2;
  jv::wincheck::Report report("bitness_checks (" + std::to_string(jv::wincheck::kBits) + "-bit)");
  if (argc > 2 && std::wstring(argv[2]) == L"--absent") {
    jv::wincheck::NotRegisteredHere(report);
  } else {
    jv::wincheck::ServedByOwnFile(report, argv[1]);
    jv::wincheck::TypeLibraryEveryLocale(report, argv[1]);
    jv::wincheck::MultithreadedClient(report);
  }
  report.Close();
  CoUninitialize();
  return report.failed() == 0 ? 0 : 1;
}
