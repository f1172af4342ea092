// The registered Jornavista.ocx as a Windows client uses it: created through the
// system's CoCreateInstance, every member by name through IDispatch, the outgoing
// interfaces, persistence through the client's own property bag, unloading, the
// file's version record and bitmap, and the type library as oleaut32 reads it,
// compared with the type information of the Linux build.
//
// component_checks OCX_PATH TYPELIB_EXPECTED_JSON
#include <windows.h>

#include <objbase.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "housing/jornavista_ids.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/variant.h"
#include "platform/component/control_site.h"
#include "platform/dates/calendar.h"
#include "platform/headless/headless_face.h"
#include "platform/headless/headless_runtime.h"
#include "platform/component/type_library_json.h"
#include "tests/windows/check.h"
#include "tests/windows/system_text.h"

namespace jv::wincheck {
namespace {

using nlohmann::ordered_json;

// A client-side COM object with a plain count, serving IUnknown and I.
template <class I>
class ClientObject : public jv::RefCounted<I> {};

class NotifySink final : public ClientObject<IPropertyNotifySink> {
 public:
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID id) override {
    changed.push_back(id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
  std::vector<DISPID> changed;
};

// Answers only IDispatch, as a script host's generic event sink does.
class EventSink final : public ClientObject<IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    raised.push_back(id);
    return S_OK;
  }
  std::vector<DISPID> raised;
};

class MapBag final : public ClientObject<IPropertyBag> {
 public:
  ~MapBag() override {
    for (auto& [name, value] : values) VariantClear(&value);
  }
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    const auto it = values.find(name);
    if (it == values.end()) return E_INVALIDARG;
    return VariantCopy(value, &it->second);
  }
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override {
    VARIANT copy;
    VariantInit(&copy);
    if (HRESULT hr = VariantCopy(&copy, value); FAILED(hr)) return hr;
    VariantClear(&values[name]);
    values[name] = copy;
    return S_OK;
  }
  std::map<std::wstring, VARIANT> values;
};

template <class T>
struct Ref {
  T* p = nullptr;
  Ref() = default;
  Ref(const Ref&) = delete;
  Ref& operator=(const Ref&) = delete;
  ~Ref() { reset(); }
  void reset() {
    if (p != nullptr) p->Release();
    p = nullptr;
  }
  T** put() {
    reset();
    return &p;
  }
  void** put_void() { return reinterpret_cast<void**>(put()); }
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

struct Var {
  VARIANT v;
  Var() { VariantInit(&v); }
  Var(const Var&) = delete;
  Var& operator=(const Var&) = delete;
  ~Var() { VariantClear(&v); }
};

HRESULT Get(IDispatch* d, DISPID id, VARIANT* out) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return d->Invoke(id, IID_NULL, 0x0409, DISPATCH_PROPERTYGET, &none, out, nullptr, nullptr);
}

HRESULT Put(IDispatch* d, DISPID id, VARIANT value, WORD flags = DISPATCH_PROPERTYPUT) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&value, &named, 1, 1};
  return d->Invoke(id, IID_NULL, 0x0409, flags, &params, nullptr, nullptr, nullptr);
}

// A VARIANT of the given type, for the caller to set its value.
VARIANT OfType(VARTYPE type) {
  VARIANT v;
  VariantInit(&v);
  v.vt = type;
  return v;
}
VARIANT I4(std::int32_t n) {
  VARIANT v = OfType(VT_I4);
  v.lVal = n;
  return v;
}
VARIANT I2(std::int16_t n) {
  VARIANT v = OfType(VT_I2);
  v.iVal = n;
  return v;
}
VARIANT Bool(bool b) {
  VARIANT v = OfType(VT_BOOL);
  v.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
  return v;
}

std::wstring Wide(const char* s) { return std::wstring(s, s + std::strlen(s)); }

// The instance, created through the registry as any client creates it.
HRESULT Create(IDispatch** out) {
  return CoCreateInstance(jornavista::CLSID_ctrJornavista, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          reinterpret_cast<void**>(out));
}

void NamesAndMembers(Report& report) {
  Case t(report, "GetIDsOfNames and Invoke reach every member by name");
  Ref<IDispatch> d;
  if (!t.Status(Create(d.put()), S_OK, "CoCreateInstance by CLSID")) return;
  struct Member {
    const char* name;
    DISPID id;
  };
  const Member members[] = {
      {"BackColor", jornavista::DISPID_BackColor}, {"ForeColor", jornavista::DISPID_ForeColor},
      {"Enabled", jornavista::DISPID_Enabled},     {"Font", jornavista::DISPID_Font},
      {"BackStyle", jornavista::DISPID_BackStyle}, {"BorderStyle", jornavista::DISPID_BorderStyle},
      {"Refresh", jornavista::DISPID_Refresh},     {"SDate", jornavista::DISPID_SDate},
      {"sdate", jornavista::DISPID_SDate},  // names compare without regard to case
  };
  for (const Member& m : members) {
    std::wstring name = Wide(m.name);
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    if (t.Status(d->GetIDsOfNames(IID_NULL, names, 1, 0x0409, &id), S_OK, std::string("GetIDsOfNames ") + m.name))
      t.Equal(id, m.id, std::string("dispatch id of ") + m.name);
  }
  {
    std::wstring name = L"NoSuchMember";
    LPOLESTR names[] = {name.data()};
    DISPID id = 0;
    t.Status(d->GetIDsOfNames(IID_NULL, names, 1, 0x0409, &id), DISP_E_UNKNOWNNAME, "an unknown name");
    t.Equal(id, DISPID_UNKNOWN, "an unknown name's id");
  }

  // Each scalar property keeps what it is given, in the type of the interface.
  struct Round {
    const char* name;
    DISPID id;
    VARIANT value;
    VARTYPE got_type;
    std::int32_t got;
  };
  const Round rounds[] = {
      {"BackColor", jornavista::DISPID_BackColor, I4(0x00FF8040), VT_I4, 0x00FF8040},
      {"BackColor system colour", jornavista::DISPID_BackColor, I4(static_cast<std::int32_t>(0x8000000Fu)),
       VT_I4, static_cast<std::int32_t>(0x8000000Fu)},
      {"ForeColor", jornavista::DISPID_ForeColor, I4(0x000000FF), VT_I4, 0xFF},
      {"Enabled", jornavista::DISPID_Enabled, Bool(false), VT_BOOL, 0},
      {"BackStyle", jornavista::DISPID_BackStyle, I2(0), VT_I2, 0},
      {"BorderStyle", jornavista::DISPID_BorderStyle, I4(1), VT_I2, 1},
  };
  for (const Round& r : rounds) {
    if (!t.Status(Put(d.p, r.id, r.value), S_OK, std::string("put ") + r.name)) continue;
    Var got;
    if (!t.Status(Get(d.p, r.id, &got.v), S_OK, std::string("get ") + r.name)) continue;
    t.Equal(got.v.vt, r.got_type, std::string("type of ") + r.name);
    const std::int32_t value = got.v.vt == VT_I4 ? got.v.lVal : got.v.vt == VT_I2 ? got.v.iVal : got.v.boolVal;
    t.Equal(value, r.got, std::string("value of ") + r.name);
  }

  // Text beyond Latin-1 and beyond the basic plane travels unchanged.
  const wchar_t text[] = L"Gr\u00FC\u00DFe \u65E5\u672C \xD83D\xDE00";
  VARIANT s;
  VariantInit(&s);
  s.vt = VT_BSTR;
  s.bstrVal = SysAllocString(text);
  t.Status(Put(d.p, jornavista::DISPID_SDate, s), S_OK, "put SDate");
  VariantClear(&s);
  Var got;
  if (t.Status(Get(d.p, jornavista::DISPID_SDate, &got.v), S_OK, "get SDate") &&
      t.Equal(got.v.vt, VT_BSTR, "SDate's type"))
    t.Expect(std::wstring(got.v.bstrVal, SysStringLen(got.v.bstrVal)) == text, "SDate comes back as put");

  DISPPARAMS none{nullptr, nullptr, 0, 0};
  t.Status(d->Invoke(jornavista::DISPID_Refresh, IID_NULL, 0x0409, DISPATCH_METHOD, &none, nullptr, nullptr,
                     nullptr),
           S_OK, "Refresh");
  t.Status(Put(d.p, jornavista::DISPID_BackStyle, I4(70000)), DISP_E_OVERFLOW, "BackStyle beyond 16 bits");

  // The font is held by reference: the system's own font object comes back.
  FONTDESC desc{};
  desc.cbSizeofstruct = sizeof(FONTDESC);
  desc.lpstrName = const_cast<LPOLESTR>(L"Arial");
  desc.cySize.int64 = 120000;  // 12 points
  desc.sWeight = FW_BOLD;
  desc.sCharset = ANSI_CHARSET;
  Ref<IFontDisp> font;
  if (t.Status(OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void()), S_OK, "OleCreateFontIndirect")) {
    VARIANT f;
    VariantInit(&f);
    f.vt = VT_DISPATCH;
    f.pdispVal = font.p;
    t.Status(Put(d.p, jornavista::DISPID_Font, f, DISPATCH_PROPERTYPUTREF), S_OK, "putref Font");
    Var back;
    if (t.Status(Get(d.p, jornavista::DISPID_Font, &back.v), S_OK, "get Font") &&
        t.Equal(back.v.vt, VT_DISPATCH, "Font's type")) {
      Ref<IUnknown> a, b;
      font->QueryInterface(IID_IUnknown, a.put_void());
      back.v.pdispVal->QueryInterface(IID_IUnknown, b.put_void());
      t.Expect(a.p == b.p, "Font comes back as the same object");
    }
  }
}

std::wstring SDateOf(IDispatch* d) {
  Var v;
  if (FAILED(Get(d, jornavista::DISPID_SDate, &v.v)) || v.v.vt != VT_BSTR) return L"<no SDate>";
  return std::wstring(v.v.bstrVal, SysStringLen(v.v.bstrVal));
}

void StartUp(Report& report) {
  Case t(report, "an instance without a container starts on today, on the library's headless runtime");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  Ref<IDispatch> d;
  if (!t.Status(Create(d.put()), S_OK, "CoCreateInstance")) return;
  const std::wstring got = SDateOf(d.p);
  // Across midnight the instance may have started on the day before.
  SYSTEMTIME later{};
  GetLocalTime(&later);
  t.Expect(got == UserDate(now.wYear, now.wMonth, now.wDay) ||
               got == UserDate(later.wYear, later.wMonth, later.wDay),
           "SDate is today in the short date form: " + U8(got.c_str()));
}

// A container that supplies the headless runtime itself, to set today and to
// press the face's buttons. Both sides are built by the same compiler, as the
// runtime's C++ interface asks.
class PagingSite final : public ClientObject<IControlSite>, private jv::platform::ControlRuntime {
 public:
  HRESULT STDMETHODCALLTYPE GetControlRuntime(jv::platform::ControlRuntime** runtime) override {
    *runtime = this;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetAmbientFont(IFont** font) override {
    *font = nullptr;
    return E_NOTIMPL;
  }
  jv::headless::HeadlessRuntime runtime;
  jv::headless::HeadlessFace* face = nullptr;

 private:
  HRESULT CreateFace(const jv::platform::FaceLayout& layout, jv::platform::Container& container,
                     std::unique_ptr<jv::platform::Face>* out) override {
    const HRESULT hr = runtime.CreateFace(layout, container, out);
    if (SUCCEEDED(hr)) face = static_cast<jv::headless::HeadlessFace*>(out->get());
    return hr;
  }
};

void Paging(Report& report) {
  Case t(report, "paging and a day click on a container's runtime reach SDate");
  Ref<IClassFactorySite> factory;
  if (!t.Status(CoGetClassObject(jornavista::CLSID_ctrJornavista, CLSCTX_INPROC_SERVER, nullptr,
                                 IID_IClassFactorySite, factory.put_void()),
                S_OK, "the class object's site face"))
    return;
  auto* site = new PagingSite();
  DATE today = 0;
  if (t.Status(jv::dates::FromCivil({2003, 11, 9}, &today), S_OK, "9 November 2003")) {
    site->runtime.clock().Set(today);
    Ref<IDispatch> d;
    if (t.Status(factory->CreateInstanceOnSite(site, IID_IDispatch, d.put_void()), S_OK, "CreateInstanceOnSite") &&
        t.Expect(site->face != nullptr, "the face is built on the site's runtime")) {
      t.Expect(SDateOf(d.p) == UserDate(2003, 11, 9), "starts on today: " + U8(SDateOf(d.p).c_str()));
      // The start-up day stays the highlighted one: the next month shows the 9th.
      t.Status(site->face->ClickNext(), S_OK, "next month");
      t.Expect(SDateOf(d.p) == UserDate(2003, 12, 9), "after next: " + U8(SDateOf(d.p).c_str()));
      t.Status(site->face->ClickPrevious(), S_OK, "previous month");
      t.Status(site->face->ClickPrevious(), S_OK, "previous month");
      t.Expect(SDateOf(d.p) == UserDate(2003, 10, 9), "after two previous: " + U8(SDateOf(d.p).c_str()));
      // October 2003 begins on a Wednesday, in cell 4: cell 20 is the 17th.
      t.Status(site->face->ClickCell(20), S_OK, "a day click");
      t.Expect(SDateOf(d.p) == UserDate(2003, 10, 17), "after the click: " + U8(SDateOf(d.p).c_str()));
    }
  }
  site->Release();
}

HRESULT Connect(IUnknown* object, REFIID iid, IUnknown* sink, DWORD* cookie, IConnectionPoint** point) {
  Ref<IConnectionPointContainer> container;
  if (HRESULT hr = object->QueryInterface(IID_IConnectionPointContainer, container.put_void()); FAILED(hr))
    return hr;
  if (HRESULT hr = container->FindConnectionPoint(iid, point); FAILED(hr)) return hr;
  return (*point)->Advise(sink, cookie);
}

void ConnectionPoints(Report& report) {
  Case t(report, "a put tells IPropertyNotifySink its dispatch id; __ctrJornavista hears nothing");
  Ref<IDispatch> d;
  if (!t.Status(Create(d.put()), S_OK, "CoCreateInstance")) return;
  auto* notify = new NotifySink();
  auto* events = new EventSink();
  Ref<IConnectionPoint> notify_point, event_point;
  DWORD notify_cookie = 0, event_cookie = 0;
  t.Status(Connect(d.p, IID_IPropertyNotifySink, notify, &notify_cookie, notify_point.put()), S_OK,
           "advise IPropertyNotifySink");
  t.Status(Connect(d.p, jornavista::DIID___ctrJornavista, events, &event_cookie, event_point.put()), S_OK,
           "advise __ctrJornavista with a dispatch-only sink");
  t.Expect(notify_cookie != 0 && event_cookie != 0, "both connections have a cookie");
  if (notify_point && event_point) {
    struct Change {
      DISPID id;
      VARIANT value;
    };
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"1/2/2003");
    const Change changes[] = {
        {jornavista::DISPID_BackColor, I4(5)},   {jornavista::DISPID_ForeColor, I4(6)},
        {jornavista::DISPID_Enabled, Bool(true)}, {jornavista::DISPID_BackStyle, I2(1)},
        {jornavista::DISPID_BorderStyle, I2(1)}, {jornavista::DISPID_SDate, text},
    };
    for (const Change& c : changes) {
      notify->changed.clear();
      t.Status(Put(d.p, c.id, c.value), S_OK, "put " + Hex(c.id));
      t.Equal(notify->changed.size(), std::size_t{1}, "notices for " + Hex(c.id));
      if (!notify->changed.empty()) t.Equal(notify->changed[0], c.id, "the notice names the member");
    }
    VariantClear(&text);
    // The font's put is by reference, and notifies like the others.
    Ref<IFontDisp> font;
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof(FONTDESC);
    desc.lpstrName = const_cast<LPOLESTR>(L"Tahoma");
    desc.cySize.int64 = 90000;
    desc.sWeight = FW_NORMAL;
    if (t.Status(OleCreateFontIndirect(&desc, IID_IFontDisp, font.put_void()), S_OK, "OleCreateFontIndirect")) {
      VARIANT f;
      VariantInit(&f);
      f.vt = VT_DISPATCH;
      f.pdispVal = font.p;
      notify->changed.clear();
      t.Status(Put(d.p, jornavista::DISPID_Font, f, DISPATCH_PROPERTYPUTREF), S_OK, "putref Font");
      t.Expect(notify->changed == std::vector<DISPID>{jornavista::DISPID_Font}, "one notice, for Font");
    }
    notify->changed.clear();
    Var v;
    (void)Get(d.p, jornavista::DISPID_SDate, &v.v);
    t.Expect(notify->changed.empty(), "a get notifies nothing");
    t.Expect(events->raised.empty(), "no event is raised");
    t.Status(notify_point->Unadvise(notify_cookie), S_OK, "unadvise IPropertyNotifySink");
    t.Status(event_point->Unadvise(event_cookie), S_OK, "unadvise __ctrJornavista");
    t.Status(event_point->Unadvise(event_cookie), CONNECT_E_NOCONNECTION, "a second unadvise");
  }
  notify->Release();
  events->Release();
}

void Persistence(Report& report) {
  Case t(report, "IPersistPropertyBag saves the seven properties and a new instance loads them");
  Ref<IDispatch> first, second;
  if (!t.Status(Create(first.put()), S_OK, "CoCreateInstance") ||
      !t.Status(Create(second.put()), S_OK, "CoCreateInstance"))
    return;
  Ref<IPersistPropertyBag> save, load;
  if (!t.Status(first->QueryInterface(IID_IPersistPropertyBag, save.put_void()), S_OK, "IPersistPropertyBag") ||
      !t.Status(second->QueryInterface(IID_IPersistPropertyBag, load.put_void()), S_OK, "IPersistPropertyBag"))
    return;
  t.Status(save->InitNew(), S_OK, "InitNew");
  t.Status(save->InitNew(), CO_E_ALREADYINITIALIZED, "a second InitNew");
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"9/12/2026");
  t.Status(Put(first.p, jornavista::DISPID_SDate, text), S_OK, "put SDate");
  VariantClear(&text);
  t.Status(Put(first.p, jornavista::DISPID_BackColor, I4(0x123456)), S_OK, "put BackColor");
  t.Status(Put(first.p, jornavista::DISPID_BorderStyle, I2(1)), S_OK, "put BorderStyle");
  auto* bag = new MapBag();
  t.Status(save->Save(bag, TRUE, TRUE), S_OK, "Save");
  std::vector<std::string> names;
  for (const auto& [name, value] : bag->values) names.push_back(U8(name.c_str()));
  t.Equal(names,
          std::vector<std::string>{"BackColor", "BackStyle", "BorderStyle", "Enabled", "Font", "ForeColor",
                                   "SDate"},
          "the names saved");
  t.Status(load->Load(bag, nullptr), S_OK, "Load");
  struct Expect {
    DISPID id;
    VARTYPE vt;
    std::int32_t value;
  };
  for (const Expect& e : {Expect{jornavista::DISPID_BackColor, VT_I4, 0x123456},
                          Expect{jornavista::DISPID_BorderStyle, VT_I2, 1}}) {
    Var v;
    if (t.Status(Get(second.p, e.id, &v.v), S_OK, "get " + Hex(e.id)) && t.Equal(v.v.vt, e.vt, "type"))
      t.Equal(e.vt == VT_I4 ? v.v.lVal : v.v.iVal, e.value, "loaded " + Hex(e.id));
  }
  Var date;
  if (t.Status(Get(second.p, jornavista::DISPID_SDate, &date.v), S_OK, "get SDate"))
    t.Expect(std::wstring(date.v.bstrVal, SysStringLen(date.v.bstrVal)) == L"9/12/2026", "loaded SDate");
  bag->Release();
}

// One of the library's own entry points, all of which take nothing; null when
// the library does not export it.
using Export = HRESULT(STDAPICALLTYPE*)();
Export ExportOf(HMODULE module, const char* name) {
  return reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void Unloading(Report& report, const std::wstring& ocx) {
  Case t(report, "DllCanUnloadNow holds the library while an instance or a lock lives");
  HMODULE module = LoadLibraryW(ocx.c_str());
  if (!t.Expect(module != nullptr, "LoadLibrary")) return;
  const Export can_unload = ExportOf(module, "DllCanUnloadNow");
  if (t.Expect(can_unload != nullptr, "DllCanUnloadNow is exported")) {
    CoFreeUnusedLibraries();
    t.Status(can_unload(), S_OK, "nothing alive");
    {
      Ref<IDispatch> d;
      t.Status(Create(d.put()), S_OK, "CoCreateInstance");
      t.Status(can_unload(), S_FALSE, "an instance alive");
    }
    t.Status(can_unload(), S_OK, "the instance released");
    // Without a container the instance's font is one the library made.
    for (const IID* view : {&IID_IFont, &IID_IFontDisp}) {
      IUnknown* font = nullptr;
      {
        Ref<IDispatch> d;
        t.Status(Create(d.put()), S_OK, "CoCreateInstance");
        Ref<IPersistStreamInit> persist;
        if (d) d->QueryInterface(IID_IPersistStreamInit, persist.put_void());
        if (persist) persist->InitNew();
        Var value;
        t.Status(Get(d.p, DISPID_FONT, &value.v), S_OK, "the Font get");
        if (value.v.vt == VT_DISPATCH && value.v.pdispVal != nullptr)
          value.v.pdispVal->QueryInterface(*view, reinterpret_cast<void**>(&font));
      }
      if (t.Expect(font != nullptr, "the instance's font")) {
        t.Status(can_unload(), S_FALSE, "the instance released, its font held");
        font->Release();
      }
      t.Status(can_unload(), S_OK, "the font released");
    }
    Ref<IClassFactory> factory;
    if (t.Status(CoGetClassObject(jornavista::CLSID_ctrJornavista, CLSCTX_INPROC_SERVER, nullptr,
                                  IID_IClassFactory, factory.put_void()),
                 S_OK, "CoGetClassObject")) {
      t.Status(factory->LockServer(TRUE), S_OK, "LockServer");
      factory.reset();
      t.Status(can_unload(), S_FALSE, "a server lock held");
      Ref<IClassFactory> again;
      (void)CoGetClassObject(jornavista::CLSID_ctrJornavista, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             again.put_void());
      if (again) again->LockServer(FALSE);
      again.reset();
      t.Status(can_unload(), S_OK, "the lock released");
    }
  }
  FreeLibrary(module);
}

bool ClassesKeyExists(const wchar_t* subkey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void FailedRegistration(Report& report, const std::wstring& ocx) {
  Case t(report, "a registration that fails midway reports the failure and takes back what it wrote");
  HMODULE module = LoadLibraryW(ocx.c_str());
  if (!t.Expect(module != nullptr, "LoadLibrary")) return;
  const Export reg = ExportOf(module, "DllRegisterServer");
  const Export unreg = ExportOf(module, "DllUnregisterServer");
  const wchar_t* const clsid_key = L"CLSID\\{0B40D233-B738-4C5D-89F6-6B4092C26CC0}";
  const wchar_t* const progid = L"JornavistaControl.ctrJornavista.1";
  if (t.Expect(reg != nullptr && unreg != nullptr, "the entry points") &&
      t.Status(unreg(), S_OK, "DllUnregisterServer")) {
    // A volatile key in the way: the registry refuses the lasting key below it.
    HKEY blocker = nullptr;
    t.Equal(RegCreateKeyExW(HKEY_CLASSES_ROOT, progid, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                            &blocker, nullptr),
            LSTATUS{ERROR_SUCCESS}, "a volatile key under the versioned ProgID");
    if (blocker != nullptr) RegCloseKey(blocker);
    t.Status(reg(), HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE), "DllRegisterServer reports the failure");
    t.Expect(!ClassesKeyExists(clsid_key), "the class key is taken back");
    t.Expect(!ClassesKeyExists(L"TypeLib\\{45292B49-FDD8-480A-8486-8D677E004CE9}"), "the type library is taken back");
    t.Expect(!ClassesKeyExists(L"JornavistaControl.ctrJornavista"), "the ProgID is taken back");
    t.Expect(ClassesKeyExists(progid), "a key that is not ours stays");
    RegDeleteKeyW(HKEY_CLASSES_ROOT, progid);
    t.Status(reg(), S_OK, "DllRegisterServer once the way is clear");
    t.Expect(ClassesKeyExists(clsid_key), "the class is registered again");
  }
  FreeLibrary(module);
}

std::wstring QueryText(const std::vector<BYTE>& info, const wchar_t* path, bool* found) {
  void* value = nullptr;
  UINT size = 0;
  *found = VerQueryValueW(info.data(), path, &value, &size) != 0;
  if (!*found || size == 0) return {};
  const auto* text = static_cast<const wchar_t*>(value);
  return std::wstring(text, wcsnlen(text, size));
}

void FileResources(Report& report, const std::wstring& ocx) {
  Case t(report, "the file's version record and toolbox bitmap, as the system reads them");
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(ocx.c_str(), &handle);
  std::vector<BYTE> info(size);
  if (t.Expect(size > 0 && GetFileVersionInfoW(ocx.c_str(), 0, size, info.data()), "GetFileVersionInfo")) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT n = 0;
    if (t.Expect(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &n) && fixed != nullptr,
                 "the fixed part")) {
      // The project's version: 1.0.0 is 0x00010000 and 0x00000000.
      constexpr DWORD kHigh = (DWORD{JV_VERSION_MAJOR} << 16) | JV_VERSION_MINOR;
      constexpr DWORD kLow = DWORD{JV_VERSION_PATCH} << 16;
      t.Equal(fixed->dwFileVersionMS, kHigh, "file version major.minor");
      t.Equal(fixed->dwFileVersionLS, kLow, "file version patch.0");
      t.Equal(fixed->dwProductVersionMS, kHigh, "product version major.minor");
      t.Equal(fixed->dwProductVersionLS, kLow, "product version patch.0");
    }
    WORD* translation = nullptr;
    if (t.Expect(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                                &n) &&
                     n >= 4,
                 "the translation")) {
      t.Equal(translation[0], WORD{0x0409}, "language");
      t.Equal(translation[1], WORD{1200}, "code page");
    }
    const std::pair<const wchar_t*, const char*> strings[] = {
        {L"FileDescription", "Jornavista v" JV_VERSION_SHORT},
        {L"FileVersion", JV_VERSION_RECORD},
        {L"InternalName", "Jornavista"},
        {L"OriginalFilename", "Jornavista.ocx"},
        {L"ProductName", "Jornavista"},
        {L"ProductVersion", JV_VERSION_RECORD},
        {L"OLESelfRegister", ""},
    };
    for (const auto& [name, want] : strings) {
      bool found = false;
      const std::wstring got = QueryText(info, (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(), &found);
      if (t.Expect(found, U8(name) + " is there")) t.Equal(U8(got.c_str()), std::string(want), U8(name));
    }
  }
  HMODULE data = LoadLibraryExW(ocx.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!t.Expect(data != nullptr, "LoadLibraryEx as a data file")) return;
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(data, MAKEINTRESOURCEW(30000), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  BITMAP bm{};
  if (t.Expect(bitmap != nullptr && GetObjectW(bitmap, sizeof bm, &bm) == sizeof bm, "bitmap 30000")) {
    t.Equal(bm.bmWidth, LONG{16}, "bitmap width");
    t.Equal(bm.bmHeight, LONG{15}, "bitmap height");
    t.Equal(bm.bmBitsPixel, WORD{24}, "bits per pixel");
  }
  if (bitmap != nullptr) DeleteObject(bitmap);
  FreeLibrary(data);
}

}  // namespace

HRESULT TypeLibraryDump(ordered_json* out) {
  ITypeLib* lib = nullptr;
  HRESULT hr = LoadRegTypeLib(jornavista::LIBID_JornavistaControl, 1, 0, 0x0409, &lib);
  if (FAILED(hr)) return hr;
  hr = component::TypeLibraryJson(lib, out);
  lib->Release();
  return hr;
}

void ComponentChecks(Report& report, const std::wstring& ocx) {
  StartUp(report);
  Paging(report);
  NamesAndMembers(report);
  ConnectionPoints(report);
  Persistence(report);
  StreamPersistenceChecks(report);
  Unloading(report, ocx);
  FileResources(report, ocx);
  FailedRegistration(report, ocx);
}

}  // namespace jv::wincheck

int wmain(int argc, wchar_t** argv) {
  if (!jv::wincheck::StartComClient(argc, 3, "component_checks OCX_PATH TYPELIB_EXPECTED_JSON [--dump]")) return 2;
  jv::wincheck::Report report("component_checks");
  if (argc > 3 && std::wstring(argv[3]) == L"--dump") {
    nlohmann::ordered_json j;
    const HRESULT hr = jv::wincheck::TypeLibraryDump(&j);
    std::printf("%s\n", SUCCEEDED(hr) ? j.dump(2).c_str() : jv::wincheck::Hex(hr).c_str());
    CoUninitialize();
    return 0;
  }
  jv::wincheck::ComponentChecks(report, argv[1]);
  jv::wincheck::TypeLibraryChecks(report, argv[2]);
  report.Close();
  CoUninitialize();
  return report.failed() == 0 ? 0 : 1;
}
