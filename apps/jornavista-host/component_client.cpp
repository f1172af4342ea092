#include "apps/jornavista-host/component_client.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/jornavista-host/form_library.h"
#include "apps/jornavista-host/script_values.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/literal_text.h"
#include "platform/component/control_site.h"
#include "platform/component/guid_text.h"
#include "platform/component/registry_store.h"
#include "platform/headless/headless_runtime.h"

namespace jv::host {

using component::ComponentLibrary;
using nlohmann::ordered_json;

std::string Hex(DISPID id) { return Hex32(static_cast<std::uint32_t>(id)); }

namespace {

// A site whose own headless runtime has the day the script chose as today.
class ClockSite final : public RefCounted<IControlSite> {
 public:
  explicit ClockSite(DATE today) { runtime_.clock().Set(today); }
  HRESULT QueryInterface(REFIID riid, void** object) override {
    return Answer(riid, object, {IID_IControlSite});
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

HRESULT Connect(IDispatch* instance, REFIID iid, IUnknown* sink, Connection* out) {
  ComPtr<IConnectionPointContainer> cpc;
  JV_TRY(instance->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.put())));
  JV_TRY(cpc->FindConnectionPoint(iid, out->point.put()));
  return out->point->Advise(sink, &out->cookie);
}

}  // namespace

ComponentClient& Client() {
  static ComponentClient client;
  return client;
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

}  // namespace jv::host
