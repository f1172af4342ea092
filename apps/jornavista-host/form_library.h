// How the host's forms reach the control: only through its component library,
// opened by path or by programmatic identifier through the registry store. Each
// instance is created on a site that hands over the form's own runtime and ambient
// font; its change notices come back as dispatch ids to a sink of the form.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/font.h"
#include "platform/automation/ocidl.h"
#include "platform/component/component_library.h"
#include "platform/component/control_site.h"
#include "platform/runtime/face.h"

namespace jv::host {

// The environment variable that names the library when no --library is given.
inline constexpr const char* kLibraryVariable = "JV_CONTROL_LIBRARY";

// Where a host that was told of no library finds one, relative to its own
// executable so that a moved or copied tree still works: Jornavista.ocx in the
// executable's directory, else where the build tree puts it beside the host.
// Empty when neither file exists.
std::string LibraryBesideHost();

// The library to open: `option` (the host's --library) when given, else
// $JV_CONTROL_LIBRARY when set and not empty, else LibraryBesideHost().
std::string ChooseLibrary(const std::optional<std::string>& option);

// A word that names a file rather than a programmatic identifier: it has a '/',
// or ends in ".ocx" or ".so".
bool NamesAFile(std::string_view word);

class FormLibrary {
 public:
  // A file is loaded as it stands and serves the published class; any other word
  // is a programmatic identifier (or a class identifier in registry form) that
  // the registry store turns into a class and its library. Fails with a message,
  // and nothing loaded, for an empty name, a file that cannot be loaded or is no
  // component library, a name the store does not know or a damaged store, a
  // library that does not serve the class, and a class object that takes no site.
  // The status of the step that failed, when asked for, in *status.
  [[nodiscard]] static std::optional<std::string> Open(const std::string& file_or_prog_id,
                                                       std::shared_ptr<FormLibrary>* out,
                                                       HRESULT* status = nullptr);
  FormLibrary(const FormLibrary&) = delete;
  FormLibrary& operator=(const FormLibrary&) = delete;
  ~FormLibrary();

  // A new instance on `site`, through a class object fetched for the call and let
  // go after it, so that the library can unload once its instances have ended.
  [[nodiscard]] HRESULT CreateOnSite(IControlSite* site, IDispatch** out);
  [[nodiscard]] HRESULT CanUnloadNow() { return library_->CanUnloadNow(); }

  const std::string& file() const { return library_->path(); }
  const CLSID& clsid() const { return clsid_; }

 private:
  FormLibrary() = default;

  std::unique_ptr<component::ComponentLibrary> library_;
  CLSID clsid_{};
};

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
  class Site;
  class Sink;
  class Recorder;

  void Changed(DISPID id);

  std::shared_ptr<FormLibrary> library_;
  std::unique_ptr<Recorder> recorder_;
  ComPtr<Site> site_;
  ComPtr<Sink> sink_;
  FontRef ambient_font_;
  std::deque<std::string> changed_;
  std::function<void(const std::string&)> listener_;
};

// The name of a published property's dispatch id; hexadecimal for any other.
std::string PropertyNameOf(DISPID id);

}  // namespace jv::host
