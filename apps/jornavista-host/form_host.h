// A form of the host: the container its instances share, which creates each on a
// site that hands over the form's own runtime and ambient font, and takes their
// change notices back as property names.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "apps/jornavista-host/container_objects.h"
#include "apps/jornavista-host/form_library.h"
#include "platform/automation/font.h"
#include "platform/runtime/face.h"

namespace jv::host {

// The change notices a form keeps for a host that has not yet asked for them:
// beyond this many the oldest are let go, so that a host that never asks (a long
// session of clicks) does not grow without bound.
inline constexpr std::size_t kMaxPendingChanges = 1024;

// One instance on a form. Ending it disconnects the form's sink, then lets the
// instance go.
struct FormInstance {
  FormInstance() = default;
  FormInstance(const FormInstance&) = delete;
  FormInstance& operator=(const FormInstance&) = delete;
  ~FormInstance();

  ComPtr<IDispatch> dispatch;
  // The face the form's runtime built for it: owned by the instance, so valid for
  // as long as `dispatch` holds it.
  platform::Face* face = nullptr;
  ComPtr<IConnectionPoint> notify;
  DWORD cookie = 0;
};

// The container side that a form's instances share: the site, the runtime that
// records the faces it builds, the ambient font and the names of the properties
// the instances said changed. Must outlive every instance it created.
class FormHost {
 public:
  FormHost(std::shared_ptr<FormLibrary> library, platform::ControlRuntime& runtime);
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;
  ~FormHost();

  // Creates an instance (its Initialize runs on the form's runtime) and connects
  // the form's property-change sink to it.
  [[nodiscard]] HRESULT Create(std::unique_ptr<FormInstance>* out);

  // Handed to every instance that asks from now on.
  void SetAmbientFont(FontRef font) { ambient_font_ = std::move(font); }
  // The property names of the change notices since the previous call, in order, at
  // most the last kMaxPendingChanges of them; a dispatch id that names no published
  // property is given in hexadecimal.
  std::vector<std::string> TakeChanged();
  // Told of each change notice as it arrives (null: nobody). A form with a
  // listener keeps no notice for TakeChanged: the listener has seen each one.
  void SetChangeListener(std::function<void(const std::string&)> listener) {
    listener_ = std::move(listener);
    changed_.clear();
  }

  FormLibrary& library() { return *library_; }

 private:
  class Recorder;

  void Changed(DISPID id);

  std::shared_ptr<FormLibrary> library_;
  std::unique_ptr<Recorder> recorder_;
  ComPtr<ContainerSite> site_;
  ComPtr<ChangeNoticeSink> sink_;
  FontRef ambient_font_;
  std::deque<std::string> changed_;
  std::function<void(const std::string&)> listener_;
};

// The name of a published property's dispatch id; hexadecimal for any other.
std::string PropertyNameOf(DISPID id);

}  // namespace jv::host
