#include "platform/headless/headless_runtime.h"

#include "platform/headless/faulting_date_functions.h"
#include "platform/headless/headless_face.h"

namespace jv::headless {

HRESULT RecordingContainer::OnPropertyChanged(TextView name) {
  changed_.push_back(ToUtf8Lossy(name));
  return S_OK;
}

HRESULT RecordingContainer::GetAmbientFont(IFont** out) {
  if (out == nullptr) return E_POINTER;
  *out = ambient_font_.get();
  if (*out != nullptr) (*out)->AddRef();
  return S_OK;
}

HeadlessRuntime::HeadlessRuntime(dates::RegionalSettings settings)
    : settings_(std::move(settings)),
      dates_(std::make_unique<FaultingDateFunctions>(faults_, clock_, settings_)) {}

HeadlessRuntime::~HeadlessRuntime() = default;

platform::DateFunctions& HeadlessRuntime::dates() { return *dates_; }

HRESULT HeadlessRuntime::CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                                    std::unique_ptr<platform::Face>* out) {
  if (out == nullptr) return E_POINTER;
  if (resolved_ && resolved_->Matches(layout)) {
    *out = std::make_unique<HeadlessFace>(*this, container, layout, resolved_->roles);
    return S_OK;
  }
  platform::FaceRoles roles;
  JV_TRY(platform::ResolveRoles(layout, &roles));
  *out = std::make_unique<HeadlessFace>(*this, container, layout, roles);
  if (layout.constant)
    resolved_ = ResolvedLayout{layout.controls.data(), layout.controls.size(), layout.design_width,
                               layout.design_height, std::move(roles)};
  return S_OK;
}

void HeadlessRuntime::SetFocusTo(std::string name) {
  if (name == focus_) return;
  journal_.Record("focus " + name);
  focus_ = std::move(name);
}

}  // namespace jv::headless
