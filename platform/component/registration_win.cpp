// Registration in the Windows registry: the type library through oleaut32's
// registrar (which also writes the interfaces' keys), the class under
// HKEY_CLASSES_ROOT\CLSID, and its programmatic identifiers. A 32-bit and a 64-bit
// build of the library may be registered side by side: the class's keys live in
// each bitness's own registry view, and the type library's path is filed under
// each build's own system kind (win32, win64).
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/automation/bstr.h"
#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"
#include "platform/component/server.h"

namespace jv::component {

namespace {

// The system kind of this build: where its type library is filed, and what
// clients of the same bitness look up.
constexpr SYSKIND kSysKind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
constexpr std::wstring_view kSysKindKey = sizeof(void*) == 8 ? L"win64" : L"win32";
constexpr std::wstring_view kOtherSysKindKey = sizeof(void*) == 8 ? L"win32" : L"win64";

// The standard font property page, the one property page a class may name today.
constexpr std::wstring_view kStockFontPage = L"{7EBDAAE0-8120-11CF-899F-00AA00688B10}";

std::wstring Wide(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

HRESULT FromWin32(LSTATUS status) { return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status); }

// The module file that holds `address`, in full.
std::wstring ModulePathOf(const void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<LPCWSTR>(address), &module))
    return {};
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

// Writes the default value (name empty) or a named string value of `subkey`
// under HKEY_CLASSES_ROOT, creating the key.
HRESULT SetText(const std::wstring& subkey, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return FromWin32(status);
  status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return FromWin32(status);
}

// A key with no values, whose presence is the fact (such as "Control").
HRESULT CreateKey(const std::wstring& subkey) {
  HKEY key = nullptr;
  const LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return FromWin32(status);
}

// The default value of `subkey`, or empty when there is none.
std::wstring ReadDefault(const std::wstring& subkey) {
  wchar_t buffer[256];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return {};
  return buffer;
}

// Removes `subkey` with everything below it; a key that is not there is no error.
HRESULT DeleteTree(const std::wstring& subkey) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, subkey.c_str());
  if (status == ERROR_FILE_NOT_FOUND) return S_OK;
  if (status != ERROR_SUCCESS) return FromWin32(status);
  // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
  const LSTATUS gone = RegDeleteKeyW(HKEY_CLASSES_ROOT, subkey.c_str());
  return gone == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(gone);
}

bool KeyExists(const std::wstring& subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring VersionedProgId(const ComponentDesc& c, const ClassDesc& k) {
  return Wide(k.prog_id) + L"." + std::to_wstring(c.types.major);
}

// Runs the steps in order and keeps the first failure.
class Steps {
 public:
  void operator()(HRESULT hr) {
    if (SUCCEEDED(result_) && FAILED(hr)) result_ = hr;
  }
  HRESULT result() const { return result_; }

 private:
  HRESULT result_ = S_OK;
};

HRESULT RegisterOneClass(const ComponentDesc& c, const ClassDesc& k, const std::wstring& server) {
  const std::wstring clsid = Wide(GuidToString(k.clsid));
  const std::wstring key = L"CLSID\\" + clsid;
  const std::wstring name = Wide(k.name);
  Steps step;
  step(SetText(key, nullptr, name));
  step(SetText(key + L"\\InprocServer32", nullptr, server));
  step(SetText(key + L"\\InprocServer32", L"ThreadingModel", Wide(k.threading)));
  if (!k.prog_id.empty()) {
    step(SetText(key + L"\\ProgID", nullptr, VersionedProgId(c, k)));
    step(SetText(key + L"\\VersionIndependentProgID", nullptr, Wide(k.prog_id)));
  }
  for (const GUID& category : k.categories)
    step(CreateKey(key + L"\\Implemented Categories\\" + Wide(GuidToString(category))));
  // A helper class (a property page) is a plain in-process server: no control
  // flags, no type library of its own.
  if (k.control) {
    step(CreateKey(key + L"\\Control"));
    // The flags of every aspect (0), and of the content aspect (1), which is the
    // one containers ask for.
    step(SetText(key + L"\\MiscStatus", nullptr, L"0"));
    step(SetText(key + L"\\MiscStatus\\1", nullptr, std::to_wstring(k.misc_status)));
    if (k.toolbox_bitmap != 0)
      step(SetText(key + L"\\ToolboxBitmap32", nullptr, server + L", " + std::to_wstring(k.toolbox_bitmap)));
    step(SetText(key + L"\\TypeLib", nullptr, Wide(GuidToString(c.types.guid))));
    step(SetText(key + L"\\Version", nullptr, Wide(VersionText(c.types.major, c.types.minor))));
    for (std::string_view page : k.property_pages) {
      if (page != "StandardFont") {
        step(E_INVALIDARG);  // a page this registrar has no class identifier for
        continue;
      }
      step(SetText(key + L"\\PropertyPages", Wide(page).c_str(), std::wstring(kStockFontPage)));
    }
  }
  if (!k.prog_id.empty()) {
    const std::wstring versioned = VersionedProgId(c, k);
    step(SetText(versioned, nullptr, name));
    step(SetText(versioned + L"\\CLSID", nullptr, clsid));
    step(SetText(Wide(k.prog_id), nullptr, name));
    step(SetText(Wide(k.prog_id) + L"\\CLSID", nullptr, clsid));
    step(SetText(Wide(k.prog_id) + L"\\CurVer", nullptr, versioned));
  }
  return step.result();
}

// A programmatic identifier goes only while it still names this class: another
// library may have taken the name over since.
HRESULT UnregisterProgId(const std::wstring& prog_id, const std::wstring& clsid) {
  if (!KeyExists(prog_id)) return S_OK;
  if (ReadDefault(prog_id + L"\\CLSID") != clsid) return S_OK;
  return DeleteTree(prog_id);
}

std::wstring TypesKey(const TypeLibraryDesc& types) {
  return L"TypeLib\\" + Wide(GuidToString(types.guid)) + L"\\" + Wide(VersionText(types.major, types.minor));
}

// Locale subkeys are hexadecimal without leading zeros, as oleaut32 writes them.
std::wstring LocaleKey(const TypeLibraryDesc& types, LCID lcid) {
  wchar_t hex[16];
  std::swprintf(hex, 16, L"%lx", static_cast<unsigned long>(lcid));
  return TypesKey(types) + L"\\" + hex;
}

// RegisterTypeLib files the path under the library's own locale (0x409), and
// oleaut32 falls back from any language only to the neutral locale: a client that
// asks with locale 0, the user's default or another language (as the marshaller
// does for another apartment) would not find the library. So the path goes under
// the neutral locale instead; the language's key goes once no system kind is left
// in it.
HRESULT FileUnderNeutralLocale(const TypeLibraryDesc& types, const std::wstring& server) {
  if (types.lcid == LOCALE_NEUTRAL) return S_OK;
  const HRESULT hr =
      SetText(LocaleKey(types, LOCALE_NEUTRAL) + L"\\" + std::wstring(kSysKindKey), nullptr, server);
  if (FAILED(hr)) return hr;
  const std::wstring language = LocaleKey(types, types.lcid);
  (void)DeleteTree(language + L"\\" + std::wstring(kSysKindKey));
  (void)RegDeleteKeyW(HKEY_CLASSES_ROOT, language.c_str());  // refused while another kind is there
  return S_OK;
}

HRESULT UnregisterTypes(const TypeLibraryDesc& types) {
  const std::wstring key = TypesKey(types);
  if (!KeyExists(key)) return S_OK;
  // The other bitness's library registered beside this one shares the interfaces'
  // keys, which the registrar writes to and removes from both registry views.
  bool other_registered = false;
  for (LCID lcid : {LOCALE_NEUTRAL, types.lcid})
    other_registered |= KeyExists(LocaleKey(types, lcid) + L"\\" + std::wstring(kOtherSysKindKey));
  for (LCID lcid : {LOCALE_NEUTRAL, types.lcid}) {
    const std::wstring filing = LocaleKey(types, lcid) + L"\\" + std::wstring(kSysKindKey);
    if (!KeyExists(filing)) continue;
    if (other_registered) {
      // Only this build's filing goes; the interfaces stay described for the other.
      if (const HRESULT hr = DeleteTree(filing); FAILED(hr)) return hr;
      (void)RegDeleteKeyW(HKEY_CLASSES_ROOT, LocaleKey(types, lcid).c_str());  // refused unless empty
      continue;
    }
    // Removes this filing, and the interfaces' keys.
    const HRESULT hr = UnRegisterTypeLib(types.guid, types.major, types.minor, lcid, kSysKind);
    if (FAILED(hr)) return hr;
  }
  // What the registrar leaves when no other version remains: the library's key.
  const std::wstring lib_key = L"TypeLib\\" + Wide(GuidToString(types.guid));
  HKEY lib = nullptr;
  HRESULT hr = S_OK;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, lib_key.c_str(), 0, KEY_READ, &lib) == ERROR_SUCCESS) {
    DWORD subkeys = 0;
    const LSTATUS status =
        RegQueryInfoKeyW(lib, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
    RegCloseKey(lib);
    if (status == ERROR_SUCCESS && subkeys == 0) hr = DeleteTree(lib_key);
  }
  return hr;
}

HRESULT Unregister(const ComponentDesc& c) {
  Steps step;
  for (const ClassDesc& k : c.classes) {
    const std::wstring clsid = Wide(GuidToString(k.clsid));
    if (!k.prog_id.empty()) {
      step(UnregisterProgId(VersionedProgId(c, k), clsid));
      step(UnregisterProgId(Wide(k.prog_id), clsid));
    }
    step(DeleteTree(L"CLSID\\" + clsid));
  }
  step(UnregisterTypes(c.types));
  return step.result();
}

}  // namespace

// WCHAR is UTF-16 on Windows, as char16_t is.
std::string LibraryPathOf(const void* address) {
  const std::wstring path = ModulePathOf(address);
  return ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(path.data()), path.size()));
}

HRESULT RegisterServer(const ComponentDesc& component, const void* address_in_library) {
  std::wstring server = ModulePathOf(address_in_library);
  if (server.empty()) return SELFREG_E_CLASS;
  // The type library is the file's own resource TYPELIB 1.
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadTypeLibEx(server.c_str(), REGKIND_NONE, &lib);
  if (SUCCEEDED(hr)) {
    hr = RegisterTypeLib(lib, server.data(), nullptr);
    lib->Release();
  }
  if (SUCCEEDED(hr)) hr = FileUnderNeutralLocale(component.types, server);
  for (const ClassDesc& k : component.classes) {
    if (FAILED(hr)) break;
    hr = RegisterOneClass(component, k, server);
  }
  // Half a registration would leave a class that cannot be created: take back
  // what was written, and report the step that failed.
  if (FAILED(hr)) (void)Unregister(component);
  return hr;
}

HRESULT UnregisterServer(const ComponentDesc& component) { return Unregister(component); }

}  // namespace jv::component
