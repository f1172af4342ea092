// One outgoing interface of an object: the sinks connected to it with their
// cookies, the enumerators over them, and the enumerator over an object's points.
#pragma once

#include <span>
#include <vector>

#include "platform/automation/ocidl.h"

namespace jv::component {

// Lives inside the object that owns it and shares that object's lifetime: its
// AddRef and Release are the container's, so a client that holds only the point
// keeps the whole object alive. Advise asks the sink for the point's interface; a
// point for a dispatch (event) interface also takes a sink that only answers
// IDispatch, as generic event sinks do.
class ConnectionPoint final : public IConnectionPoint {
 public:
  ConnectionPoint(IConnectionPointContainer& container, const IID& iid, bool dispatch_sinks)
      : container_(container), iid_(iid), dispatch_sinks_(dispatch_sinks) {}
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;
  ~ConnectionPoint() = default;

  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG JV_STDMETHODCALLTYPE AddRef() override { return container_.AddRef(); }
  ULONG JV_STDMETHODCALLTYPE Release() override { return container_.Release(); }

  HRESULT JV_STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT JV_STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT JV_STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT JV_STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT JV_STDMETHODCALLTYPE EnumConnections(IEnumConnections** out) override;

  const IID& iid() const { return iid_; }
  bool empty() const { return connections_.empty(); }
  // The sinks connected now, each as the interface it was connected with. A copy,
  // so that a sink may disconnect, or connect others, while it is being told.
  std::vector<ComPtr<IUnknown>> Sinks() const;

 private:
  struct Connection {
    DWORD cookie;
    ComPtr<IUnknown> sink;
  };

  IConnectionPointContainer& container_;
  IID iid_;
  bool dispatch_sinks_;
  std::vector<Connection> connections_;
  DWORD next_cookie_ = 1;
};

// An enumerator over `points`, each holding its own reference.
[[nodiscard]] HRESULT CreateConnectionPointEnumerator(std::span<IConnectionPoint* const> points,
                                                      IEnumConnectionPoints** out);

}  // namespace jv::component
