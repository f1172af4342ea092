#include "housing/jornavista_object.h"

#include <new>

#include "housing/control_state.h"
#include "housing/dispatch_table.h"
#include "housing/jornavista_typelib.h"
#include "housing/keep_alive_runtime.h"
#include "housing/property_bag_adapter.h"
#include "platform/automation/ref_counted.h"
#include "platform/automation/std_font.h"
#include "platform/component/connection_point.h"
#include "platform/component/module.h"
#include "platform/component/type_library.h"
#include "platform/headless/headless_runtime.h"

#ifdef _WIN32
#include "housing/ole_control.h"
#include "housing/property_page.h"
#include "platform/win32/win32_runtime.h"
#endif

namespace jv::housing {

namespace {

// The runtime of an instance whose container brings none: on Windows the Win32 one,
// whose face shows itself when an OLE container activates the control in place.
#ifdef _WIN32
using OwnRuntime = win32::Win32Runtime;
#else
using OwnRuntime = headless::HeadlessRuntime;
#endif

TextView View(BSTR b) { return TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b)); }

class JornavistaObject final : public RefCounted<_ctrJornavista, IConnectionPointContainer,
                                                 IPersistPropertyBag, IProvideClassInfo, IControlState>,
                               private platform::Container {
 public:
  explicit JornavistaObject(IControlSite* site) : site_(site) {}
  JornavistaObject(const JornavistaObject&) = delete;
  JornavistaObject& operator=(const JornavistaObject&) = delete;

  HRESULT Start();

  // IUnknown: one identity, the dual interface's.
  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  // IDispatch
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return component::CreateTypeInfo(kTypeLibrary, "_ctrJornavista", info);
  }
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                             DISPID* ids) override {
    if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    return component::IdsOfNames(kMembers, names, count, ids);
  }
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* arg_err) override {
    if (!(riid == IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    const Hold hold(this);
    return InvokeMember(*control_, id, flags, params, result, arg_err);
  }

  // _ctrJornavista's vtable: the same members, typed.
  HRESULT JV_STDMETHODCALLTYPE get_BackColor(OLE_COLOR* out) override { return control_->get_BackColor(out); }
  HRESULT JV_STDMETHODCALLTYPE put_BackColor(OLE_COLOR v) override {
    const Hold hold(this);
    return control_->put_BackColor(v);
  }
  HRESULT JV_STDMETHODCALLTYPE get_ForeColor(OLE_COLOR* out) override { return control_->get_ForeColor(out); }
  HRESULT JV_STDMETHODCALLTYPE put_ForeColor(OLE_COLOR v) override {
    const Hold hold(this);
    return control_->put_ForeColor(v);
  }
  HRESULT JV_STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL* out) override { return control_->get_Enabled(out); }
  HRESULT JV_STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL v) override {
    const Hold hold(this);
    return control_->put_Enabled(v);
  }
  HRESULT JV_STDMETHODCALLTYPE get_Font(IFont** out) override { return control_->get_Font(out); }
  HRESULT JV_STDMETHODCALLTYPE putref_Font(IFont* v) override {
    const Hold hold(this);
    return control_->putref_Font(v);
  }
  HRESULT JV_STDMETHODCALLTYPE get_BackStyle(std::int16_t* out) override {
    return control_->get_BackStyle(out);
  }
  HRESULT JV_STDMETHODCALLTYPE put_BackStyle(std::int16_t v) override {
    const Hold hold(this);
    return control_->put_BackStyle(v);
  }
  HRESULT JV_STDMETHODCALLTYPE get_BorderStyle(std::int16_t* out) override {
    return control_->get_BorderStyle(out);
  }
  HRESULT JV_STDMETHODCALLTYPE put_BorderStyle(std::int16_t v) override {
    const Hold hold(this);
    return control_->put_BorderStyle(v);
  }
  HRESULT JV_STDMETHODCALLTYPE Refresh() override { return control_->Refresh(); }
  HRESULT JV_STDMETHODCALLTYPE get_SDate(BSTR* out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    Text text;
    const HRESULT hr = control_->get_SDate(&text);
    // A failed get still hands back its (empty) string.
    *out = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
    if (*out == nullptr) return FAILED(hr) ? hr : E_OUTOFMEMORY;
    return hr;
  }
  HRESULT JV_STDMETHODCALLTYPE put_SDate(BSTR v) override {
    const Hold hold(this);
    return control_->put_SDate(View(v));
  }

  // IConnectionPointContainer
  HRESULT JV_STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override {
    IConnectionPoint* const points[] = {&property_notify_, &events_};
    return component::CreateConnectionPointEnumerator(points, out);
  }
  HRESULT JV_STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IPropertyNotifySink)
      *out = &property_notify_;
    else if (riid == jornavista::DIID___ctrJornavista)
      *out = &events_;
    else
      return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
  }

  // IPersistPropertyBag. The container runs InitNew or Load once, after creation;
  // a second one is refused, as it would re-run the other's work half over.
  HRESULT JV_STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = jornavista::CLSID_ctrJornavista;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE InitNew() override {
    if (initialized_) return CO_E_ALREADYINITIALIZED;
    const Hold hold(this);
    JV_TRY(control_->InitProperties());
    initialized_ = true;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override {
    if (bag == nullptr) return E_POINTER;
    if (initialized_) return CO_E_ALREADYINITIALIZED;
    const Hold hold(this);
    PropertyBagAdapter adapter(*bag, log);
    JV_TRY(control_->ReadProperties(adapter));
    initialized_ = true;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL, BOOL) override {
    if (bag == nullptr) return E_POINTER;
    const Hold hold(this);
    PropertyBagAdapter adapter(*bag, nullptr);
    return control_->WriteProperties(adapter);
  }

  // IProvideClassInfo
  HRESULT JV_STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override {
    return component::CreateTypeInfo(kTypeLibrary, "ctrJornavista", info);
  }

  // IControlState
  HRESULT JV_STDMETHODCALLTYPE GetState(control::State* out) override {
    if (out == nullptr) return E_POINTER;
    *out = control_->state();
    return S_OK;
  }

 private:
  // The reference an instance holds on itself while a call runs: a sink or a bag
  // told something during the call may drop the caller's last reference.
  using Hold = ComPtr<JornavistaObject>;

  ~JornavistaObject() override = default;

  // platform::Container: the control's change notices go to every connected
  // property-notify sink with the member's dispatch id. A sink's own failure is
  // its business: the others are still told, and the put still succeeds.
  HRESULT OnPropertyChanged(TextView name) override {
#ifdef _WIN32
    if (ole_) ole_->OnChanged();
#endif
    if (property_notify_.empty()) return S_OK;
    const MemberDesc* member = MemberNamed(name);
    const DISPID id = member != nullptr ? member->id : DISPID_UNKNOWN;
    for (const ComPtr<IUnknown>& sink : property_notify_.Sinks())
      (void)static_cast<IPropertyNotifySink*>(sink.get())->OnChanged(id);
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (site_) {
      const HRESULT hr = site_->GetAmbientFont(out);
      if (hr != E_NOTIMPL) return hr;
    }
#ifdef _WIN32
    if (ole_ && SUCCEEDED(ole_->GetAmbientFont(out)) && *out != nullptr) return S_OK;
#endif
    // Without a container that has one, a standard font of the instance's own.
    if (!default_font_) JV_TRY(CreateStdFont(FontDescription{}, default_font_.put()));
    *out = default_font_.get();
    (*out)->AddRef();
    return S_OK;
  }

  component::CountedByModule counted_;
  ComPtr<IControlSite> site_;
  std::unique_ptr<OwnRuntime> own_runtime_;
  std::unique_ptr<KeepAliveRuntime> keep_alive_runtime_;
  FontRef default_font_;
  component::ConnectionPoint property_notify_{*this, IID_IPropertyNotifySink, false};
  component::ConnectionPoint events_{*this, jornavista::DIID___ctrJornavista, true};
  bool initialized_ = false;
  // Last, so that it ends first: its face uses the runtime and this container.
  std::unique_ptr<control::ctrJornavista> control_;
#ifdef _WIN32
  // After the control, so that it ends first and takes the windows down while the
  // face still lives; only for an instance on its own Win32 runtime.
  std::unique_ptr<OleControl> ole_;
#endif
};

HRESULT JornavistaObject::Start() {
  platform::ControlRuntime* runtime = nullptr;
  if (site_) {
    const HRESULT hr = site_->GetControlRuntime(&runtime);
    if (hr == E_NOTIMPL)
      runtime = nullptr;
    else
      JV_TRY(hr);
  }
  if (runtime == nullptr) {
    own_runtime_.reset(new (std::nothrow) OwnRuntime());
    if (!own_runtime_) return E_OUTOFMEMORY;
    runtime = own_runtime_.get();
  }
  keep_alive_runtime_.reset(new (std::nothrow)
                                KeepAliveRuntime(*runtime, *static_cast<_ctrJornavista*>(this)));
  if (!keep_alive_runtime_) return E_OUTOFMEMORY;
  JV_TRY(control::ctrJornavista::Create(*keep_alive_runtime_, *this, &control_));
#ifdef _WIN32
  if (own_runtime_ && own_runtime_->face() != nullptr) {
    ole_.reset(new (std::nothrow) OleControl(*static_cast<_ctrJornavista*>(this), *own_runtime_->face()));
    if (!ole_) return E_OUTOFMEMORY;
  }
#endif
  return S_OK;
}

HRESULT JV_STDMETHODCALLTYPE JornavistaObject::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (riid == IID_IUnknown || riid == IID_IDispatch || riid == jornavista::IID__ctrJornavista)
    return Hand<_ctrJornavista>(object);
  if (riid == IID_IConnectionPointContainer) return Hand<IConnectionPointContainer>(object);
  if (riid == IID_IPersist || riid == IID_IPersistPropertyBag) return Hand<IPersistPropertyBag>(object);
  if (riid == IID_IProvideClassInfo) return Hand<IProvideClassInfo>(object);
  if (riid == IID_IControlState) return Hand<IControlState>(object);
#ifdef _WIN32
  if (ole_ && ole_->FindInterface(riid, object)) return S_OK;
#endif
  return E_NOINTERFACE;
}

}  // namespace

HRESULT CreatectrJornavista(IControlSite* site, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  auto* instance = new (std::nothrow) JornavistaObject(site);
  if (instance == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = instance->Start();
  if (SUCCEEDED(hr)) hr = instance->QueryInterface(riid, object);
  instance->Release();
  return hr;
}

namespace {

constexpr component::ClassDesc kClasses[] = {{
    "ctrJornavista",
    jornavista::CLSID_ctrJornavista,
    jornavista::kProgId,
    "Apartment",
    true,
    jornavista::DIID___ctrJornavista,
    kMiscStatus,
    kToolboxBitmap,
    kPropertyPages,
    kCategories,
    &CreatectrJornavista,
}
#ifdef _WIN32
, {
    // The control's property page; no programmatic identifier, not a control.
    "JornavistaPropertyPage",
    jornavista::CLSID_JornavistaPropertyPage,
    "",
    "Apartment",
    false,
    GUID{},
    0,
    0,
    {},
    {},
    &CreatePropertyPage,
}
#endif
};

constexpr component::ComponentDesc kComponent = {kTypeLibrary, kClasses};

}  // namespace

const component::ComponentDesc& Component() { return kComponent; }

}  // namespace jv::housing
