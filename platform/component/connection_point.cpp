#include "platform/component/connection_point.h"

#include <algorithm>
#include <new>

#include "platform/automation/ref_counted.h"
#include "platform/component/module.h"

namespace jv::component {

namespace {

// CONNECTDATA holds a raw pointer: this owner keeps the reference it stands for.
struct HeldConnection : CONNECTDATA {
  HeldConnection(IUnknown* unk, DWORD cookie) : CONNECTDATA{unk, cookie} {
    if (pUnk != nullptr) pUnk->AddRef();
  }
  HeldConnection(const HeldConnection& o) : HeldConnection(o.pUnk, o.dwCookie) {}
  HeldConnection& operator=(const HeldConnection&) = delete;
  ~HeldConnection() {
    if (pUnk != nullptr) pUnk->Release();
  }
};

// Each item handed out carries a new reference, which the caller releases.
void Hand(const HeldConnection& item, CONNECTDATA* out) {
  *out = item;
  if (out->pUnk != nullptr) out->pUnk->AddRef();
}
void Hand(const ComPtr<IConnectionPoint>& item, IConnectionPoint** out) {
  *out = item.get();
  if (*out != nullptr) (*out)->AddRef();
}

// A snapshot enumerator: the items are copied, with their references, when it is
// made, so later connections and disconnections do not disturb a walk.
template <class Interface, class Item, class Out, const IID& kIid>
class SnapshotEnumerator final : public RefCounted<Interface> {
 public:
  explicit SnapshotEnumerator(std::vector<Item> items, std::size_t position = 0)
      : items_(std::move(items)), position_(position) {}

  HRESULT JV_STDMETHODCALLTYPE Next(ULONG count, Out* out, ULONG* fetched) override {
    if (out == nullptr) return E_POINTER;
    if (fetched == nullptr && count != 1) return E_INVALIDARG;
    ULONG n = 0;
    while (n < count && position_ < items_.size()) Hand(items_[position_++], &out[n++]);
    if (fetched != nullptr) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT JV_STDMETHODCALLTYPE Skip(ULONG count) override {
    const std::size_t left = items_.size() - position_;
    position_ += std::min<std::size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
  }
  HRESULT JV_STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE Clone(Interface** out) override {
    if (out == nullptr) return E_POINTER;
    *out = new (std::nothrow) SnapshotEnumerator(items_, position_);
    return *out == nullptr ? E_OUTOFMEMORY : S_OK;
  }

 private:
  ~SnapshotEnumerator() = default;

  CountedByModule counted_;
  std::vector<Item> items_;
  std::size_t position_;
};

using ConnectionsEnumerator =
    SnapshotEnumerator<IEnumConnections, HeldConnection, CONNECTDATA, IID_IEnumConnections>;
using PointsEnumerator = SnapshotEnumerator<IEnumConnectionPoints, ComPtr<IConnectionPoint>,
                                            IConnectionPoint*, IID_IEnumConnectionPoints>;

}  // namespace

HRESULT JV_STDMETHODCALLTYPE ConnectionPoint::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT JV_STDMETHODCALLTYPE ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE
ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = &container_;
  container_.AddRef();
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  IUnknown* sink_interface = nullptr;
  HRESULT hr = sink->QueryInterface(iid_, reinterpret_cast<void**>(&sink_interface));
  if (FAILED(hr) && dispatch_sinks_)
    hr = sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink_interface));
  if (FAILED(hr) || sink_interface == nullptr) return CONNECT_E_CANNOTCONNECT;
  ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(sink_interface);
  if (next_cookie_ == 0) return CONNECT_E_ADVISELIMIT;  // every cookie was handed out once
  connections_.push_back({next_cookie_, std::move(held)});
  *cookie = next_cookie_++;
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE ConnectionPoint::Unadvise(DWORD cookie) {
  const auto it = std::find_if(connections_.begin(), connections_.end(),
                               [cookie](const Connection& c) { return c.cookie == cookie; });
  if (it == connections_.end()) return CONNECT_E_NOCONNECTION;
  // Released after the entry is gone: the sink's Release may call back into us.
  ComPtr<IUnknown> sink = std::move(it->sink);
  connections_.erase(it);
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE ConnectionPoint::EnumConnections(IEnumConnections** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  std::vector<HeldConnection> items;
  items.reserve(connections_.size());
  for (const Connection& c : connections_) items.emplace_back(c.sink.get(), c.cookie);
  *out = new (std::nothrow) ConnectionsEnumerator(std::move(items));
  return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

std::vector<ComPtr<IUnknown>> ConnectionPoint::Sinks() const {
  std::vector<ComPtr<IUnknown>> sinks;
  sinks.reserve(connections_.size());
  for (const Connection& c : connections_) sinks.push_back(c.sink);
  return sinks;
}

HRESULT CreateConnectionPointEnumerator(std::span<IConnectionPoint* const> points,
                                        IEnumConnectionPoints** out) {
  if (out == nullptr) return E_POINTER;
  std::vector<ComPtr<IConnectionPoint>> items;
  for (IConnectionPoint* p : points) items.emplace_back(p);
  *out = new (std::nothrow) PointsEnumerator(std::move(items));
  return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

}  // namespace jv::component
