// The scripting commands of the component library: a regsvr-like register and
// unregister, and a client that creates the control through the library's entry
// points and drives it by dispatch id, as any automation client can.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/com/counted.h"
#include "apps/jornavista-host/form_library.h"
#include "apps/jornavista-host/script.h"
#include "apps/jornavista-host/script_values.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/font_disp.h"
#include "platform/automation/literal_text.h"
#include "platform/automation/std_font.h"
#include "platform/component/component_library.h"
#include "platform/component/control_site.h"
#include "platform/component/guid_text.h"
#include "platform/component/type_library_json.h"
#include "platform/headless/headless_runtime.h"

namespace jv::host {

namespace {

using component::ComponentLibrary;
using nlohmann::ordered_json;

std::string Hex(DISPID id) { return Hex32(static_cast<std::uint32_t>(id)); }

// The container's side of both outgoing interfaces: what it was told, in order.
class ChangeSink final : public apps::Counted<IPropertyNotifySink> {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override {
    return Answer(riid, IID_IPropertyNotifySink, object);
  }
  HRESULT OnChanged(DISPID id) override {
    changed.push_back(Hex(id));
    return S_OK;
  }
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }
  std::vector<std::string> changed;
};

class EventSink final : public apps::Counted<IDispatch> {
 public:
  HRESULT QueryInterface(REFIID riid, void** object) override { return Answer(riid, IID_IDispatch, object); }
  HRESULT GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    raised.push_back(Hex(id));
    return S_OK;
  }
  std::vector<std::string> raised;
};

// A site whose own headless runtime has the day the script chose as today.
class ClockSite final : public apps::Counted<IControlSite> {
 public:
  explicit ClockSite(DATE today) { runtime_.clock().Set(today); }
  HRESULT QueryInterface(REFIID riid, void** object) override {
    return Answer(riid, IID_IControlSite, object);
  }
  HRESULT GetControlRuntime(platform::ControlRuntime** runtime) override {
    if (runtime == nullptr) return E_POINTER;
    *runtime = &runtime_;
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont**) override { return E_NOTIMPL; }

 private:
  headless::HeadlessRuntime runtime_;
};

struct Connection {
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
};

// The one instance a script drives through the library. Ended by `release`, or at
// the latest when the process ends: the instance first, then the library.
struct ComponentClient {
  std::unique_ptr<ComponentLibrary> library;
  ComPtr<IControlSite> site;
  ComPtr<IDispatch> instance;
  ComPtr<ChangeSink> changes;
  ComPtr<EventSink> events;
  Connection notify_connection, event_connection;
  std::string name;

  ~ComponentClient() { Release(); }

  // Whether the library could be unloaded.
  bool Release() {
    for (Connection* c : {&notify_connection, &event_connection}) {
      if (c->point) (void)c->point->Unadvise(c->cookie);
      *c = Connection{};
    }
    instance.reset();
    changes.reset();
    events.reset();
    site.reset();
    bool unloaded = true;
    if (library) unloaded = library->Unload() == S_OK;
    library.reset();
    return unloaded;
  }
};

ComponentClient& Client() {
  static ComponentClient client;
  return client;
}

std::optional<std::string> StoreTrouble(HRESULT hr) {
  if (hr != REGDB_E_INVALIDVALUE && hr != REGDB_E_READREGDB && hr != REGDB_E_WRITEREGDB) return std::nullopt;
  // The entry points answer a status only: the store finds its reason again.
  component::RegistryStore store(component::DefaultRegistryPath());
  std::string error;
  if (FAILED(store.CheckWritable(&error))) return error;
  return "the registry store " + store.path() + " cannot be written";
}

Command RegistrationCommand(bool registering) {
  const std::string_view name = registering ? "register" : "unregister";
  return {name,
          registering ? "register FILE" : "unregister FILE",
          registering ? "loads the component library FILE and runs its DllRegisterServer"
                      : "loads the component library FILE and runs its DllUnregisterServer",
          false,
          false,
          [registering](const ScriptLine& line, Action* run) -> std::optional<std::string> {
            if (line.words.size() != 2)
              return std::string("usage: ") + (registering ? "register" : "unregister") + " FILE";
            if (auto error = FileNameError(line.words[1])) return error;
            *run = [registering, file = line.words[1]](Session& s) -> std::optional<std::string> {
              std::unique_ptr<ComponentLibrary> lib;
              std::string error;
              if (FAILED(ComponentLibrary::Load(file, &lib, &error))) return error;
              const HRESULT hr = registering ? lib->RegisterServer() : lib->UnregisterServer();
              ordered_json j;
              j[registering ? "registered" : "unregistered"] = file;
              j["status"] = StatusText(hr);
              j["store"] = component::DefaultRegistryPath();
              s.out << j.dump() << "\n";
              if (FAILED(hr)) {
                const auto trouble = StoreTrouble(hr);
                return std::string(registering ? "register" : "unregister") + " failed: " + StatusText(hr) +
                       (trouble ? ": " + *trouble : "");
              }
              return std::nullopt;
            };
            return std::nullopt;
          }};
}

HRESULT Connect(IDispatch* instance, REFIID iid, IUnknown* sink, Connection* out) {
  ComPtr<IConnectionPointContainer> cpc;
  JV_TRY(instance->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.put())));
  JV_TRY(cpc->FindConnectionPoint(iid, out->point.put()));
  return out->point->Advise(sink, &out->cookie);
}

std::optional<std::string> CreateComponent(Session& s, const std::string& what, std::optional<DATE> today) {
  ComponentClient& c = Client();
  c.Release();
  std::string error;
  CLSID clsid = jornavista::CLSID_ctrJornavista;
  std::string file = what;
  if (!NamesAFile(what)) {
    component::RegisteredClass found;
    component::RegistryStore store(component::DefaultRegistryPath());
    if (FAILED(component::FindRegisteredClass(store, what, &found, &error))) return error;
    clsid = found.clsid;
    file = found.server;
  }
  if (FAILED(ComponentLibrary::Load(file, &c.library, &error))) return error;
  ComPtr<IClassFactory> factory;
  if (HRESULT hr =
          c.library->GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put()));
      FAILED(hr))
    return "DllGetClassObject failed: " + StatusText(hr);
  HRESULT hr = S_OK;
  if (today) {
    // The class object's site face, when it has one, takes the script's today.
    ComPtr<IClassFactorySite> with_site;
    if (FAILED(factory->QueryInterface(IID_IClassFactorySite, reinterpret_cast<void**>(with_site.put()))))
      return "the class object takes no site, so it cannot be given a day";
    c.site = ComPtr<IControlSite>::Adopt(new ClockSite(*today));
    hr = with_site->CreateInstanceOnSite(c.site.get(), IID_IDispatch,
                                         reinterpret_cast<void**>(c.instance.put()));
  } else {
    hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(c.instance.put()));
  }
  if (FAILED(hr)) return "CreateInstance failed: " + StatusText(hr);
  c.changes = ComPtr<ChangeSink>::Adopt(new ChangeSink());
  c.events = ComPtr<EventSink>::Adopt(new EventSink());
  if (HRESULT hr2 = Connect(c.instance.get(), IID_IPropertyNotifySink, c.changes.get(), &c.notify_connection);
      FAILED(hr2))
    return "cannot connect to IPropertyNotifySink: " + StatusText(hr2);
  if (HRESULT hr2 =
          Connect(c.instance.get(), jornavista::DIID___ctrJornavista, c.events.get(), &c.event_connection);
      FAILED(hr2))
    return "cannot connect to __ctrJornavista: " + StatusText(hr2);
  // A new instance on a form: the container runs property initialisation.
  ComPtr<IPersistPropertyBag> persist;
  if (SUCCEEDED(
          c.instance->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())))) {
    if (HRESULT hr2 = persist->InitNew(); FAILED(hr2)) return "InitNew failed: " + StatusText(hr2);
  }
  c.name = what;
  ordered_json j;
  j["component"] = what;
  j["clsid"] = component::GuidToString(clsid);
  j["server"] = file;
  s.out << j.dump() << "\n";
  return std::nullopt;
}

// An argument as a script writes it.
std::optional<std::string> ParseArgument(std::string_view text, Variant* out) {
  auto number = [](std::string_view t, double* d) {
    if (t.empty()) return false;
    std::string s(t);
    char* end = nullptr;
    *d = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(*d);
  };
  double d = 0;
  if (const auto n = ParseInteger(text)) {
    *out = *n >= INT32_MIN && *n <= INT32_MAX ? Variant::I4(static_cast<std::int32_t>(*n))
                                              : Variant::R8(static_cast<double>(*n));
    return std::nullopt;
  }
  if (text.starts_with("i2:")) {
    const auto n = ParseInteger(text.substr(3));
    if (!n || *n < INT16_MIN || *n > INT16_MAX) return "not a 16-bit integer: " + Shown(std::string(text));
    *out = Variant::I2(static_cast<std::int16_t>(*n));
    return std::nullopt;
  }
  if (text == "true" || text == "false") {
    *out = Variant::Bool(text == "true");
    return std::nullopt;
  }
  if (text == "empty" || text == "null" || text == "missing") {
    *out = text == "empty"  ? Variant::Empty()
           : text == "null" ? Variant::Null()
                            : Variant::Error(DISP_E_PARAMNOTFOUND);
    return std::nullopt;
  }
  if (text == "nothing") {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    *out = Variant::Attach(v);
    return std::nullopt;
  }
  if (text.starts_with("font:")) {
    // font:NAME,POINTS
    const std::string_view font_text = text.substr(5);
    const std::size_t comma = font_text.rfind(',');
    double points = 0;
    Text name;
    if (comma == std::string_view::npos || !number(font_text.substr(comma + 1), &points) || points <= 0 ||
        points > 1e6 || FAILED(Utf8ToText(font_text.substr(0, comma), &name)))
      return "usage: font:NAME,POINTS";
    FontDescription desc;
    desc.name = name;
    desc.size_cy = static_cast<std::int64_t>(std::llround(points * 10000));
    IFont* font = nullptr;
    if (FAILED(CreateStdFont(desc, &font))) return "not a font: " + Shown(std::string(text));
    IFontDisp* face = nullptr;
    const HRESULT hr = font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&face));
    font->Release();
    if (FAILED(hr)) return "the font has no dispatch face";
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = face;
    *out = Variant::Attach(v);
    return std::nullopt;
  }
  if (!text.empty() && text.front() == '"') {
    std::string error;
    const auto s = ParseTextArgument(text, &error);
    if (!s) return error;
    Text value;
    if (FAILED(Utf8ToText(*s, &value))) return "the text is not valid UTF-8";
    *out = Variant::Str(value);
    return std::nullopt;
  }
  if (number(text, &d)) {
    *out = Variant::R8(d);
    return std::nullopt;
  }
  return "not an argument: " + Shown(text) +
         " (a number, i2:N, true, false, a \"JSON string\", font:NAME,POINTS, nothing, empty, null or "
         "missing)";
}

ordered_json ValueJson(const VARIANT& v) {
  ordered_json j;
  switch (v.vt) {
    case VT_EMPTY:
      j["type"] = "VT_EMPTY";
      break;
    case VT_I2:
      j = {{"type", "VT_I2"}, {"value", v.iVal}};
      break;
    case VT_I4:
      j = {{"type", "VT_I4"}, {"value", v.lVal}};
      break;
    case VT_BOOL:
      j = {{"type", "VT_BOOL"}, {"value", v.boolVal != VARIANT_FALSE}};
      break;
    case VT_BSTR:
      j = {{"type", "VT_BSTR"},
           {"value",
            ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal)))}};
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      j["type"] = v.vt == VT_DISPATCH ? "VT_DISPATCH" : "VT_UNKNOWN";
      FontRef font;
      FontDescription d;
      if (v.punkVal == nullptr) {
        j["value"] = nullptr;
      } else if (SUCCEEDED(v.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) &&
                 SUCCEEDED(DescribeFont(font.get(), &d))) {
        j["font"] = {{"name", ToUtf8Lossy(d.name)},
                     {"size", static_cast<double>(d.size_cy) / 10000},
                     {"bold", d.bold},
                     {"italic", d.italic}};
      } else {
        j["value"] = "object";
      }
      break;
    }
    default:
      j["type"] = "vt" + std::to_string(v.vt);
      break;
  }
  return j;
}

std::optional<DISPID> ParseDispatchId(std::string_view word) {
  if (word.starts_with("0x") || word.starts_with("0X")) {
    std::uint32_t v = 0;
    const auto [p, ec] = std::from_chars(word.data() + 2, word.data() + word.size(), v, 16);
    if (ec != std::errc() || p != word.data() + word.size() || word.size() == 2) return std::nullopt;
    return static_cast<DISPID>(v);
  }
  if (const auto n = ParseInteger(word); n && *n >= INT32_MIN && *n <= INT32_MAX)
    return static_cast<DISPID>(*n);
  if (word.starts_with("-")) {
    if (const auto n = ParseInteger(word.substr(1)); n && *n <= 0x80000000ll) return static_cast<DISPID>(-*n);
  }
  return std::nullopt;
}

Command InvokeCommand() {
  return {
      "invoke",
      "invoke DISPID|NAME get|put|putref|call [ARG]",
      "calls a member of the component instance through IDispatch::Invoke and prints the status, the value "
      "and the dispatch ids the property sink was told of; ARG is a number, i2:N, true, false, a \"JSON "
      "string\", font:NAME,POINTS, nothing, empty, null or missing",
      false,
      false,
      [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
        static constexpr std::string_view kUsage = "usage: invoke DISPID|NAME get|put|putref|call [ARG]";
        if (line.words.size() < 3) return std::string(kUsage);
        const std::string& kind = line.words[2];
        WORD flags = 0;
        if (kind == "get")
          flags = DISPATCH_PROPERTYGET;
        else if (kind == "put")
          flags = DISPATCH_PROPERTYPUT;
        else if (kind == "putref")
          flags = DISPATCH_PROPERTYPUTREF;
        else if (kind == "call")
          flags = DISPATCH_METHOD;
        else
          return std::string(kUsage);
        const bool puts = flags == DISPATCH_PROPERTYPUT || flags == DISPATCH_PROPERTYPUTREF;
        // The argument is everything after the kind: a quoted text may hold blanks.
        const std::size_t at = line.rest.find(kind);
        std::string arg_text = at == std::string::npos ? "" : line.rest.substr(at + kind.size());
        while (!arg_text.empty() && (arg_text.front() == ' ' || arg_text.front() == '\t'))
          arg_text.erase(0, 1);
        std::optional<Variant> arg;
        if (!arg_text.empty()) {
          Variant v;
          if (auto e = ParseArgument(arg_text, &v)) return e;
          arg = std::move(v);
        }
        if (puts && !arg) return "a " + kind + " takes its value: " + std::string(kUsage);
        const std::string member = line.words[1];
        const std::optional<DISPID> id = ParseDispatchId(member);
        *run = [member, id, flags, kind, arg](Session& s) -> std::optional<std::string> {
          ComponentClient& c = Client();
          if (!c.instance) return "invoke: no component instance: run component FILE|PROGID first";
          DISPID dispid = 0;
          if (id) {
            dispid = *id;
          } else {
            Text name;
            if (FAILED(Utf8ToText(member, &name))) return "the member's name is not valid UTF-8";
            LPOLESTR names[] = {name.data()};
            if (HRESULT hr = c.instance->GetIDsOfNames(IID_NULL, names, 1, 0x0409, &dispid); FAILED(hr))
              return "no member " + Shown(member) + ": " + StatusText(hr);
          }
          VARIANT raw_arg;
          if (arg) raw_arg = arg->raw();  // Invoke does not own its arguments
          DISPID named = DISPID_PROPERTYPUT;
          const bool puts = flags == DISPATCH_PROPERTYPUT || flags == DISPATCH_PROPERTYPUTREF;
          DISPPARAMS params{arg ? &raw_arg : nullptr, puts ? &named : nullptr, arg ? 1u : 0u, puts ? 1u : 0u};
          Variant result;
          UINT arg_err = ~0u;
          c.changes->changed.clear();
          const HRESULT hr =
              c.instance->Invoke(dispid, IID_NULL, 0x0409, flags, &params, result.put(), nullptr, &arg_err);
          ordered_json j;
          j["dispid"] = Hex(dispid);
          j["kind"] = kind;
          j["status"] = StatusText(hr);
          if (SUCCEEDED(hr) && flags == DISPATCH_PROPERTYGET) j["value"] = ValueJson(result.raw());
          if (arg_err != ~0u) j["arg_err"] = arg_err;
          j["changed"] = c.changes->changed;
          j["events"] = c.events->raised;
          s.out << j.dump() << "\n";
          return std::nullopt;
        };
        return std::nullopt;
      }};
}

}  // namespace

std::vector<Command> ComponentCommands() {
  std::vector<Command> c;
  c.push_back(RegistrationCommand(true));
  c.push_back(RegistrationCommand(false));
  c.push_back(
      {"component", "component FILE|PROGID [YYYY-MM-DD]",
       "loads a component library (by path, or by programmatic identifier through the registry store), "
       "creates an instance through DllGetClassObject, connects to its property-change and event "
       "interfaces and runs InitNew; with a date, the instance's runtime takes it as today",
       false, false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
         if (line.words.size() < 2 || line.words.size() > 3)
           return std::string("usage: component FILE|PROGID [YYYY-MM-DD]");
         if (auto error = FileNameError(line.words[1])) return error;
         std::optional<DATE> today;
         if (line.words.size() == 3) {
           today = ParseIsoDate(line.words[2]);
           if (!today) return "not a date from 0100-01-01 to 9999-12-31: " + Shown(line.words[2]);
         }
         *run = [what = line.words[1], today](Session& s) { return CreateComponent(s, what, today); };
         return std::nullopt;
       }});
  c.push_back(InvokeCommand());
  c.push_back({"typeinfo", "typeinfo",
               "prints the component instance's type library as one line of JSON, read through ITypeLib and "
               "ITypeInfo: types, members, kinds, types, dispatch ids, parameters, flags, help strings",
               false, false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 1) return std::string("usage: typeinfo");
                 *run = [](Session& s) -> std::optional<std::string> {
                   ComponentClient& c = Client();
                   if (!c.instance) return "typeinfo: no component instance: run component FILE|PROGID first";
                   ComPtr<IProvideClassInfo> provide;
                   ComPtr<ITypeInfo> klass;
                   ComPtr<ITypeLib> lib;
                   UINT index = 0;
                   HRESULT hr = c.instance->QueryInterface(IID_IProvideClassInfo,
                                                           reinterpret_cast<void**>(provide.put()));
                   if (SUCCEEDED(hr)) hr = provide->GetClassInfo(klass.put());
                   if (SUCCEEDED(hr)) hr = klass->GetContainingTypeLib(lib.put(), &index);
                   ordered_json j;
                   if (SUCCEEDED(hr)) hr = component::TypeLibraryJson(lib.get(), &j);
                   if (FAILED(hr)) return "typeinfo failed: " + StatusText(hr);
                   s.out << j.dump() << "\n";
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"release", "release",
               "releases the component instance and unloads its library once DllCanUnloadNow allows", false,
               false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 1) return std::string("usage: release");
                 *run = [](Session& s) -> std::optional<std::string> {
                   ComponentClient& c = Client();
                   ordered_json j;
                   j["released"] = c.name;
                   j["unloaded"] = c.Release();
                   c.name.clear();
                   s.out << j.dump() << "\n";
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  return c;
}

}  // namespace jv::host
