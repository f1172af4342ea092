#include "platform/headless/headless_runtime.h"

#include "platform/headless/headless_face.h"

namespace jv::headless {

// The standard date functions with every call passing the fault injector first.
class FaultingDateFunctions final : public platform::DateFunctions {
 public:
  FaultingDateFunctions(FaultInjector& faults, const platform::Clock& clock,
                        const dates::RegionalSettings& settings)
      : faults_(faults), inner_(clock, settings) {}

#define JV_FAULTING(op, call)                              \
  if (HRESULT hr = faults_.Check(Operation::op); FAILED(hr)) \
    return hr;                                             \
  return inner_.call

  HRESULT Today(DATE* out) override { JV_FAULTING(Today, Today(out)); }
  HRESULT DayOfMonth(DATE d, std::int16_t* out) override { JV_FAULTING(DayOfMonth, DayOfMonth(d, out)); }
  HRESULT Month(DATE d, std::int16_t* out) override { JV_FAULTING(Month, Month(d, out)); }
  HRESULT Year(DATE d, std::int16_t* out) override { JV_FAULTING(Year, Year(d, out)); }
  HRESULT Weekday(DATE d, std::int16_t* out) override { JV_FAULTING(Weekday, Weekday(d, out)); }
  HRESULT AddDays(DATE d, double n, DATE* out) override { JV_FAULTING(AddDays, AddDays(d, n, out)); }
  HRESULT AddMonths(DATE d, std::int32_t n, DATE* out) override {
    JV_FAULTING(AddMonths, AddMonths(d, n, out));
  }
  HRESULT FormatMonthCaption(DATE d, Text* out) override {
    JV_FAULTING(FormatMonthCaption, FormatMonthCaption(d, out));
  }
  HRESULT FormatShortDate(DATE d, Text* out) override { JV_FAULTING(FormatShortDate, FormatShortDate(d, out)); }
  HRESULT TextToDate(TextView t, DATE* out) override { JV_FAULTING(TextToDate, TextToDate(t, out)); }
  HRESULT NumberToText(std::int32_t n, Text* out) override {
    JV_FAULTING(NumberToText, NumberToText(n, out));
  }
#undef JV_FAULTING

 private:
  FaultInjector& faults_;
  dates::StandardDateFunctions inner_;
};

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
  platform::FaceRoles roles;
  JV_TRY(platform::ResolveRoles(layout, &roles));
  *out = std::make_unique<HeadlessFace>(*this, container, layout, roles);
  return S_OK;
}

void HeadlessRuntime::SetFocusTo(std::string name) {
  if (name == focus_) return;
  journal_.Record("focus " + name);
  focus_ = std::move(name);
}

}  // namespace jv::headless
