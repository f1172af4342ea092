#include "apps/jornavista-host/form_library.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "housing/jornavista_members.h"
#include "platform/automation/literal_text.h"
#include "platform/automation/ref_counted.h"
#include "platform/component/guid_text.h"
#include "platform/component/registry_store.h"

namespace jv::host {

namespace fs = std::filesystem;

std::string LibraryBesideHost() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  const fs::path dir = exe.parent_path();
  // JV_LIBRARY_FROM_HOST: where the build tree puts the library, relative to the
  // host's own directory.
  for (const fs::path& candidate : {dir / "Jornavista.ocx", dir / JV_LIBRARY_FROM_HOST}) {
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  }
  return {};
}

std::string ChooseLibrary(const std::optional<std::string>& option) {
  if (option) return *option;
  if (const char* named = std::getenv(kLibraryVariable); named != nullptr && *named != '\0') return named;
  return LibraryBesideHost();
}

bool NamesAFile(std::string_view word) {
  return word.find('/') != std::string_view::npos || word.ends_with(".ocx") || word.ends_with(".so");
}

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
  lib->clsid_ = jornavista::CLSID_ctrJornavista;
  std::string file = what;
  std::string error;
  if (!NamesAFile(what)) {
    component::RegisteredClass found;
    const component::RegistryStore store(component::DefaultRegistryPath());
    if (hr = component::FindRegisteredClass(store, what, &found, &error); FAILED(hr)) return error;
    lib->clsid_ = found.clsid;
    file = found.server;
  }
  if (hr = component::ComponentLibrary::Load(file, &lib->library_, &error); FAILED(hr)) return error;
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

FormInstance::~FormInstance() {
  if (notify) (void)notify->Unadvise(cookie);
  notify.reset();
  dispatch.reset();
}

std::string PropertyNameOf(DISPID id) {
  const component::MemberDesc* member = housing::MemberWithId(id);
  if (member != nullptr && member->kind != component::MemberKind::kMethod) return std::string(member->name);
  return Hex32(static_cast<std::uint32_t>(id));
}

// Builds faces on the form's runtime and remembers the last one, which the form
// then places and drives as the user would.
class FormHost::Recorder final : public platform::ControlRuntime {
 public:
  explicit Recorder(platform::ControlRuntime& inner) : inner_(inner) {}

  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override {
    JV_TRY(inner_.CreateFace(layout, container, out));
    last_ = out->get();
    return S_OK;
  }
  platform::Face* TakeLast() { return std::exchange(last_, nullptr); }

 private:
  platform::ControlRuntime& inner_;
  platform::Face* last_ = nullptr;
};

// An object the form hands out that reaches the form until the form detaches it
// on the way out: instances may hold on to it for longer than the form lives.
namespace {

template <class Interface>
class FormLink : public RefCounted<Interface> {
 public:
  FormLink(FormHost* host, const IID& own) : host_(host), own_(own) {}
  void Detach() { host_ = nullptr; }

  HRESULT QueryInterface(REFIID riid, void** object) override { return this->Answer(riid, object, {own_}); }

 protected:
  FormHost* host_;

 private:
  const IID& own_;
};

}  // namespace

// What every instance of the form holds on to. It lives as long as the last
// instance does; once the form has gone it hands out nothing more.
class FormHost::Site final : public FormLink<IControlSite> {
 public:
  explicit Site(FormHost* host) : FormLink(host, IID_IControlSite) {}

  HRESULT GetControlRuntime(platform::ControlRuntime** runtime) override {
    if (runtime == nullptr) return E_POINTER;
    *runtime = nullptr;
    if (host_ == nullptr) return E_UNEXPECTED;
    *runtime = host_->recorder_.get();
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** font) override {
    if (font == nullptr) return E_POINTER;
    *font = nullptr;
    if (host_ == nullptr) return E_UNEXPECTED;
    *font = host_->ambient_font_.get();
    if (*font != nullptr) (*font)->AddRef();
    return S_OK;
  }
};

class FormHost::Sink final : public FormLink<IPropertyNotifySink> {
 public:
  explicit Sink(FormHost* host) : FormLink(host, IID_IPropertyNotifySink) {}

  HRESULT OnChanged(DISPID id) override {
    if (host_ != nullptr) host_->Changed(id);
    return S_OK;
  }
  HRESULT OnRequestEdit(DISPID) override { return S_OK; }
};

FormHost::FormHost(std::shared_ptr<FormLibrary> library, platform::ControlRuntime& runtime)
    : library_(std::move(library)),
      recorder_(std::make_unique<Recorder>(runtime)),
      site_(ComPtr<Site>::Adopt(new Site(this))),
      sink_(ComPtr<Sink>::Adopt(new Sink(this))) {}

FormHost::~FormHost() {
  site_->Detach();
  sink_->Detach();
}

void FormHost::Changed(DISPID id) {
  std::string name = PropertyNameOf(id);
  if (listener_) {
    listener_(name);
    return;
  }
  if (changed_.size() == kMaxPendingChanges) changed_.pop_front();
  changed_.push_back(std::move(name));
}

std::vector<std::string> FormHost::TakeChanged() {
  std::vector<std::string> taken(std::make_move_iterator(changed_.begin()),
                                 std::make_move_iterator(changed_.end()));
  changed_.clear();
  return taken;
}

HRESULT FormHost::Create(std::unique_ptr<FormInstance>* out) {
  if (out == nullptr) return E_POINTER;
  out->reset();
  auto instance = std::make_unique<FormInstance>();
  (void)recorder_->TakeLast();
  JV_TRY(library_->CreateOnSite(site_.get(), instance->dispatch.put()));
  instance->face = recorder_->TakeLast();
  // An instance that answered without building a face on the form's runtime
  // would show nowhere the form can reach.
  if (instance->face == nullptr) return E_UNEXPECTED;
  ComPtr<IConnectionPointContainer> points;
  JV_TRY(instance->dispatch->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(points.put())));
  ComPtr<IConnectionPoint> notify;
  JV_TRY(points->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()));
  JV_TRY(notify->Advise(sink_.get(), &instance->cookie));
  instance->notify = std::move(notify);
  *out = std::move(instance);
  return S_OK;
}

}  // namespace jv::host
