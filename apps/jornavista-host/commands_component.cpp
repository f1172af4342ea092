// The scripting commands of the component library: a regsvr-like register and
// unregister, and a client that creates the control through the library's entry
// points and drives it by dispatch id, as any automation client can.
#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/jornavista-host/component_client.h"
#include "apps/jornavista-host/invoke_values.h"
#include "apps/jornavista-host/script.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/component/component_library.h"
#include "platform/component/registry_store.h"
#include "platform/component/type_library_json.h"

namespace jv::host {

namespace {

using component::ComponentLibrary;
using nlohmann::ordered_json;

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

Command InvokeCommand() {
  static const std::string help =
      "calls a member of the component instance through IDispatch::Invoke and prints the status, the value "
      "and the dispatch ids the property sink was told of; ARG is " +
      std::string(kArgumentForms);
  return {
      "invoke",
      "invoke DISPID|NAME get|put|putref|call [ARG]",
      help,
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
          c.changed.clear();
          const HRESULT hr =
              c.instance->Invoke(dispid, IID_NULL, 0x0409, flags, &params, result.put(), nullptr, &arg_err);
          ordered_json j;
          j["dispid"] = Hex(dispid);
          j["kind"] = kind;
          j["status"] = StatusText(hr);
          if (SUCCEEDED(hr) && flags == DISPATCH_PROPERTYGET) j["value"] = ValueJson(result.raw());
          if (arg_err != ~0u) j["arg_err"] = arg_err;
          j["changed"] = c.changed;
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
