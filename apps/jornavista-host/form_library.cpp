#include "apps/jornavista-host/form_library.h"

#include "platform/automation/literal_text.h"
#include "platform/component/guid_text.h"

namespace jv::host {

std::optional<std::string> FormLibrary::Open(const std::string& what, std::shared_ptr<FormLibrary>* out,
                                             HRESULT* status) {
  HRESULT ignored = S_OK;
  HRESULT& hr = status != nullptr ? *status : ignored;
  hr = E_POINTER;
  if (out == nullptr) return "no place for the library";
  out->reset();
  hr = E_INVALIDARG;
  if (what.empty())
    return std::string("no control library: none beside the host, and neither --library nor ") +
           kLibraryVariable + " names one";
  std::shared_ptr<FormLibrary> lib(new FormLibrary());
  OpenedLibrary opened;
  std::string error;
  if (hr = OpenLibrary(what, &opened, &error); FAILED(hr)) return error;
  lib->library_ = std::move(opened.library);
  lib->clsid_ = opened.clsid;
  const std::string& file = opened.file;
  // The form hands every instance its own runtime, so the class object must take a site.
  ComPtr<IClassFactory> factory;
  hr = lib->library_->GetClassObject(lib->clsid_, IID_IClassFactory, reinterpret_cast<void**>(factory.put()));
  if (FAILED(hr))
    return file + " does not serve the class " + component::GuidToString(lib->clsid_) + ": " +
           Hex32(static_cast<std::uint32_t>(hr));
  ComPtr<IClassFactorySite> with_site;
  hr = factory->QueryInterface(IID_IClassFactorySite, reinterpret_cast<void**>(with_site.put()));
  if (FAILED(hr)) return file + ": the class object takes no site, so the form cannot give it its runtime";
  *out = std::move(lib);
  return std::nullopt;
}

FormLibrary::~FormLibrary() = default;

HRESULT FormLibrary::CreateOnSite(IControlSite* site, IDispatch** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  ComPtr<IClassFactorySite> factory;
  JV_TRY(library_->GetClassObject(clsid_, IID_IClassFactorySite, reinterpret_cast<void**>(factory.put())));
  return factory->CreateInstanceOnSite(site, IID_IDispatch, reinterpret_cast<void**>(out));
}

}  // namespace jv::host
