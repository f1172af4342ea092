#include "apps/jornavista-host/component_client.h"

#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/jornavista-host/library_location.h"
#include "apps/jornavista-host/script_values.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/literal_text.h"
#include "platform/component/control_site.h"
#include "platform/component/guid_text.h"

namespace jv::host {

using nlohmann::ordered_json;

std::string Hex(DISPID id) { return Hex32(static_cast<std::uint32_t>(id)); }

ComponentClient& Client() {
  static ComponentClient client;
  return client;
}

std::optional<std::string> CreateComponent(Session& s, const std::string& what, std::optional<DATE> today) {
  ComponentClient& c = Client();
  c.Release();
  std::string error;
  OpenedLibrary opened;
  if (FAILED(OpenLibrary(what, &opened, &error))) return error;
  c.library = std::move(opened.library);
  const CLSID& clsid = opened.clsid;
  const std::string& file = opened.file;
  ComPtr<IClassFactory> factory;
  if (HRESULT hr =
          c.library->GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(factory.put()));
      FAILED(hr))
    return "DllGetClassObject failed: " + StatusText(hr);
  HRESULT hr = S_OK;
  if (today) {
    // The class object's site-taking interface, when it has one, takes the script's today.
    ComPtr<IClassFactorySite> with_site;
    if (FAILED(factory->QueryInterface(IID_IClassFactorySite, reinterpret_cast<void**>(with_site.put()))))
      return "the class object takes no site, so it cannot be given a day";
    c.runtime = std::make_unique<headless::HeadlessRuntime>();
    c.runtime->clock().Set(*today);
    c.site = ComPtr<ContainerSite>::Adopt(new ContainerSite(c.runtime.get(), nullptr));
    hr = with_site->CreateInstanceOnSite(c.site.get(), IID_IDispatch,
                                         reinterpret_cast<void**>(c.instance.put()));
  } else {
    hr = factory->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(c.instance.put()));
  }
  if (FAILED(hr)) return "CreateInstance failed: " + StatusText(hr);
  c.changes = ComPtr<ChangeNoticeSink>::Adopt(
      new ChangeNoticeSink([&changed = c.changed](DISPID id) { changed.push_back(Hex(id)); }));
  c.events = ComPtr<EventSink>::Adopt(new EventSink());
  if (HRESULT hr2 = ConnectSink(c.instance.get(), IID_IPropertyNotifySink, c.changes.get(),
                                &c.notify_connection.point, &c.notify_connection.cookie);
      FAILED(hr2))
    return "cannot connect to IPropertyNotifySink: " + StatusText(hr2);
  if (HRESULT hr2 = ConnectSink(c.instance.get(), jornavista::DIID___ctrJornavista, c.events.get(),
                                &c.event_connection.point, &c.event_connection.cookie);
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
