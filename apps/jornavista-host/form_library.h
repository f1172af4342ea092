// How the host's forms reach the control: only through its component library,
// opened by path or by programmatic identifier through the registry store, whose
// class object must take a site, so that each instance runs on the form's runtime.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "apps/jornavista-host/library_location.h"
#include "platform/component/component_library.h"
#include "platform/component/control_site.h"

namespace jv::host {

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

}  // namespace jv::host
