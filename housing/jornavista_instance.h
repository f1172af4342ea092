// The COM object that houses one ctrJornavista, as its parts see it: the class
// declaration its files share. Its jobs are in files of their own:
// instance_dispatch.cpp (IDispatch by id, the typed members, class information and
// the state record), instance_connections.cpp (the outgoing interfaces and the
// change notices), instance_persistence.cpp (the property bag) and
// instance_creation.cpp (the runtime it runs on, its identity and its creation).
#pragma once

#include <memory>

#include "control/ctr_jornavista.h"
#include "housing/control_state.h"
#include "housing/dispatch_table.h"
#include "housing/jornavista_typelib.h"
#include "housing/keep_alive_runtime.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/connection_point.h"
#include "platform/component/control_site.h"
#include "platform/component/module.h"
#include "platform/headless/headless_runtime.h"

#ifdef _WIN32
#include "housing/ole_control.h"
#include "platform/win32/win32_runtime.h"
#endif

namespace jv::housing {

// The runtime of an instance whose container brings none: on Windows the Win32 one,
// whose face shows itself when an OLE container activates the control in place.
#ifdef _WIN32
using OwnRuntime = win32::Win32Runtime;
#else
using OwnRuntime = headless::HeadlessRuntime;
#endif

inline TextView View(BSTR b) { return TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b)); }

class JornavistaObject final : public RefCounted<_ctrJornavista, IConnectionPointContainer,
                                                 IPersistPropertyBag, IProvideClassInfo, IControlState>,
                               private platform::Container {
 public:
  explicit JornavistaObject(IControlSite* site) : site_(site) {}
  JornavistaObject(const JornavistaObject&) = delete;
  JornavistaObject& operator=(const JornavistaObject&) = delete;

  HRESULT Start();

  // IUnknown: one identity, the dual interface's; the base list answers for the
  // interfaces above, the OLE part for its own.
  HRESULT JV_STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  // IDispatch
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT JV_STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
  HRESULT JV_STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID,
                                             DISPID* ids) override;
  HRESULT JV_STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                                      VARIANT* result, EXCEPINFO*, UINT* arg_err) override;

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
  HRESULT JV_STDMETHODCALLTYPE get_SDate(BSTR* out) override;
  HRESULT JV_STDMETHODCALLTYPE put_SDate(BSTR v) override {
    const Hold hold(this);
    return control_->put_SDate(View(v));
  }

  // IConnectionPointContainer
  HRESULT JV_STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** out) override;
  HRESULT JV_STDMETHODCALLTYPE FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;

  // IPersistPropertyBag. The container runs InitNew or Load once, after creation;
  // a second one is refused, as it would re-run the other's work half over.
  HRESULT JV_STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;
  HRESULT JV_STDMETHODCALLTYPE InitNew() override;
  HRESULT JV_STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
  HRESULT JV_STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL, BOOL) override;

  // IProvideClassInfo
  HRESULT JV_STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;

  // IControlState
  HRESULT JV_STDMETHODCALLTYPE GetState(control::State* out) override;

 private:
  // The reference an instance holds on itself while a call runs: a sink or a bag
  // told something during the call may drop the caller's last reference.
  using Hold = ComPtr<JornavistaObject>;

  ~JornavistaObject() override = default;

  // platform::Container: the control's change notices go to every connected
  // property-notify sink with the member's dispatch id. A sink's own failure is
  // its business: the others are still told, and the put still succeeds.
  HRESULT OnPropertyChanged(TextView name) override;
  HRESULT GetAmbientFont(IFont** out) override;

  component::CountedByModule counted_;
  ComPtr<IControlSite> site_;
  std::unique_ptr<OwnRuntime> own_runtime_;
  std::unique_ptr<KeepAliveRuntime> keep_alive_runtime_;
  FontRef default_font_;
  component::ConnectionPoint property_notify_{*this, IID_IPropertyNotifySink, false};
  component::ConnectionPoint events_{*this, jornavista::DIID___ctrJornavista, true};
  bool initialized_ = false;
  InvokeBuffers buffers_;
  // Last, so that it ends first: its face uses the runtime and this container.
  std::unique_ptr<control::ctrJornavista> control_;
#ifdef _WIN32
  // After the control, so that it ends first and takes the windows down while the
  // face still lives; only for an instance on its own Win32 runtime.
  std::unique_ptr<OleControl> ole_;
#endif
};

}  // namespace jv::housing
