// The one component instance a script creates through the library's entry points,
// as any automation client does, with the sinks that record what it is told.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/jornavista-host/container_objects.h"
#include "apps/jornavista-host/script.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/component_library.h"
#include "platform/headless/headless_runtime.h"

namespace jv::host {

// A dispatch id as the host prints it.
std::string Hex(DISPID id);

// The container's side of the event interface: the events raised, in order.
class EventSink final : public RefCounted<IDispatch> {
 public:
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

struct Connection {
  ComPtr<IConnectionPoint> point;
  DWORD cookie = 0;
};

// The one instance a script drives through the library. Ended by `release`, or at
// the latest when the process ends: the instance first, then the library.
struct ComponentClient {
  std::unique_ptr<component::ComponentLibrary> library;
  // The runtime and site of an instance created on a day of the script's choosing.
  std::unique_ptr<headless::HeadlessRuntime> runtime;
  ComPtr<ContainerSite> site;
  ComPtr<IDispatch> instance;
  ComPtr<ChangeNoticeSink> changes;
  ComPtr<EventSink> events;
  Connection notify_connection, event_connection;
  // The dispatch ids the property sink was told of, as the host prints them.
  std::vector<std::string> changed;
  std::string name;

  ~ComponentClient() { Release(); }

  // Whether the library could be unloaded.
  bool Release() {
    for (Connection* c : {&notify_connection, &event_connection}) {
      if (c->point) (void)c->point->Unadvise(c->cookie);
      *c = Connection{};
    }
    instance.reset();
    if (changes) changes->Detach();
    changes.reset();
    events.reset();
    if (site) site->Detach();
    site.reset();
    runtime.reset();
    changed.clear();
    bool unloaded = true;
    if (library) unloaded = library->Unload() == S_OK;
    library.reset();
    return unloaded;
  }
};

// The script's client, for the process's whole life.
ComponentClient& Client();

// Releases what the client held, loads the library `what` names (a file, or a
// programmatic identifier through the registry store), creates an instance (on
// a site whose runtime takes `today` as today, when given), connects both sinks
// and runs InitNew; prints what it created as one line of JSON.
[[nodiscard]] std::optional<std::string> CreateComponent(Session& s, const std::string& what,
                                                         std::optional<DATE> today);

}  // namespace jv::host
