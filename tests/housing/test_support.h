// What the housing tests play the container with: a site that supplies its own
// headless runtime, sinks that record what reaches them, a property bag in memory,
// and short forms of Invoke.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/ocidl.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/variant.h"
#include "platform/component/control_site.h"
#include "platform/headless/headless_face.h"
#include "platform/headless/headless_runtime.h"

namespace jv::testing {

// Counts for every test object, so a test can see that all of them ended.
inline int& LiveTestObjects() {
  static int live = 0;
  return live;
}

template <class... Interfaces>
class TestObject : public RefCounted<Interfaces...> {
 public:
  TestObject() { ++LiveTestObjects(); }
  ~TestObject() override { --LiveTestObjects(); }

  using RefCounted<Interfaces...>::refs;
};

// A container that supplies its own headless runtime, so that a test sets today,
// makes runtime operations fail and clicks the cells of the instance built on it.
class TestSite final : public TestObject<IControlSite>, private platform::ControlRuntime {
 public:
  HRESULT GetControlRuntime(platform::ControlRuntime** runtime) override {
    *runtime = this;
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** font) override {
    *font = ambient_.get();
    if (*font != nullptr) (*font)->AddRef();
    return S_OK;
  }

  headless::HeadlessRuntime& runtime() { return runtime_; }
  headless::HeadlessFace& face() { return *face_; }
  void SetAmbientFont(FontRef font) { ambient_ = std::move(font); }

 private:
  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override {
    const HRESULT hr = runtime_.CreateFace(layout, container, out);
    if (SUCCEEDED(hr)) face_ = static_cast<headless::HeadlessFace*>(out->get());
    return hr;
  }

  headless::HeadlessRuntime runtime_;
  headless::HeadlessFace* face_ = nullptr;
  FontRef ambient_;
};

class NotifySink final : public TestObject<IPropertyNotifySink> {
 public:
  HRESULT OnChanged(DISPID id) override {
    changed.push_back(id);
    if (release_on_change != nullptr) std::exchange(release_on_change, nullptr)->Release();
    return answer;
  }
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }

  std::vector<DISPID> changed;
  HRESULT answer = S_OK;
  IUnknown* release_on_change = nullptr;  // dropped at the first notice
};

// A generic event sink: answers only IDispatch, as script hosts' sinks do.
class EventSink final : public TestObject<IDispatch> {
 public:
  HRESULT GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    raised.push_back(id);
    return S_OK;
  }

  std::vector<DISPID> raised;
};

// A property bag in memory; a name it does not hold reads as E_INVALIDARG.
class MapBag final : public TestObject<IPropertyBag> {
 public:
  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    const auto it = values.find(name);
    if (it == values.end()) return E_INVALIDARG;
    return VariantCopy(value, &it->second.raw());
  }
  HRESULT Write(LPCOLESTR name, VARIANT* value) override {
    Variant copy;
    if (HRESULT hr = Variant::Copy(*value, &copy); FAILED(hr)) return hr;
    values[name] = std::move(copy);
    order.push_back(name);
    return S_OK;
  }

  std::map<std::u16string, Variant> values;
  std::vector<std::u16string> order;
};

inline HRESULT InvokeGet(IDispatch* d, DISPID id, Variant* out) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  return d->Invoke(id, IID_NULL, 0x0409, DISPATCH_PROPERTYGET | DISPATCH_METHOD, &none, out->put(), nullptr,
                   nullptr);
}

inline HRESULT InvokePut(IDispatch* d, DISPID id, const Variant& value, WORD flags = DISPATCH_PROPERTYPUT,
                         UINT* arg_err = nullptr) {
  VARIANT arg = value.raw();  // a shallow copy: Invoke does not own its arguments
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{&arg, &named, 1, 1};
  return d->Invoke(id, IID_NULL, 0x0409, flags, &params, nullptr, nullptr, arg_err);
}

}  // namespace jv::testing
