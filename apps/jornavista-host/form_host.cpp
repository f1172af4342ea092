#include "apps/jornavista-host/form_host.h"

#include <utility>

#include "housing/jornavista_members.h"
#include "platform/automation/literal_text.h"

namespace jv::host {

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

FormHost::FormHost(std::shared_ptr<FormLibrary> library, platform::ControlRuntime& runtime)
    : library_(std::move(library)),
      recorder_(std::make_unique<Recorder>(runtime)),
      site_(ComPtr<ContainerSite>::Adopt(new ContainerSite(recorder_.get(), &ambient_font_))),
      sink_(ComPtr<ChangeNoticeSink>::Adopt(new ChangeNoticeSink([this](DISPID id) { Changed(id); }))) {}

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
  JV_TRY(ConnectSink(instance->dispatch.get(), IID_IPropertyNotifySink, sink_.get(), &instance->notify,
                     &instance->cookie));
  *out = std::move(instance);
  return S_OK;
}

}  // namespace jv::host
