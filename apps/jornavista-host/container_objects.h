// The container's side of an instance, one set for both of the host's containers
// (the script's component client and the form): the site that hands an instance
// its runtime and ambient font, and the sink that passes its change notices on.
// Instances may hold on to either for longer than their container lives, so the
// container detaches them on its way out; a detached one hands out nothing more.
#pragma once

#include <functional>
#include <utility>

#include "platform/automation/font.h"
#include "platform/automation/ocidl.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/control_site.h"

namespace jv::host {

class ContainerSite final : public RefCounted<IControlSite> {
 public:
  // `ambient_font` null: the container keeps no ambient font (E_NOTIMPL), and the
  // instance picks a font of its own.
  ContainerSite(platform::ControlRuntime* runtime, const FontRef* ambient_font)
      : runtime_(runtime), ambient_font_(ambient_font) {}
  void Detach() { attached_ = false; }

  HRESULT GetControlRuntime(platform::ControlRuntime** runtime) override {
    if (runtime == nullptr) return E_POINTER;
    *runtime = nullptr;
    if (!attached_) return E_UNEXPECTED;
    *runtime = runtime_;
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** font) override {
    if (font == nullptr) return E_POINTER;
    *font = nullptr;
    if (!attached_) return E_UNEXPECTED;
    if (ambient_font_ == nullptr) return E_NOTIMPL;
    *font = ambient_font_->get();
    if (*font != nullptr) (*font)->AddRef();
    return S_OK;
  }

 private:
  platform::ControlRuntime* runtime_;
  const FontRef* ambient_font_;
  bool attached_ = true;
};

class ChangeNoticeSink final : public RefCounted<IPropertyNotifySink> {
 public:
  explicit ChangeNoticeSink(std::function<void(DISPID)> told) : told_(std::move(told)) {}
  void Detach() { told_ = nullptr; }

  HRESULT OnChanged(DISPID id) override {
    if (told_) told_(id);
    return S_OK;
  }
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }

 private:
  std::function<void(DISPID)> told_;
};

// Connects `sink` to the instance's outgoing interface `iid`.
[[nodiscard]] inline HRESULT ConnectSink(IUnknown* instance, REFIID iid, IUnknown* sink,
                                         ComPtr<IConnectionPoint>* point, DWORD* cookie) {
  ComPtr<IConnectionPointContainer> points;
  JV_TRY(instance->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(points.put())));
  ComPtr<IConnectionPoint> found;
  JV_TRY(points->FindConnectionPoint(iid, found.put()));
  JV_TRY(found->Advise(sink, cookie));
  *point = std::move(found);
  return S_OK;
}

}  // namespace jv::host
