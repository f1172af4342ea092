// The form on the headless runtime: instances from the component library, built
// on the host's in-memory runtime, whose clock and faults the script sets.
#include "apps/jornavista-host/form_driver.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/automation/std_font.h"
#include "platform/headless/headless_face.h"

namespace jv::host {

namespace {

class HeadlessDriver final : public FormDriver {
 public:
  // A container always has an ambient font; this one starts with a new standard font.
  explicit HeadlessDriver(std::shared_ptr<FormLibrary> library) : host_(std::move(library), runtime_) {
    IFont* font = nullptr;
    if (SUCCEEDED(CreateStdFont(FontDescription{}, &font))) host_.SetAmbientFont(FontRef::Adopt(font));
  }
  ~HeadlessDriver() override { controls_.clear(); }

  void SetToday(DATE today) override { runtime_.clock().Set(today); }

  void ClearControls() override {
    controls_.clear();
    current_ = 0;
    host_.TakeChanged();
  }
  HRESULT AddControl() override {
    std::unique_ptr<FormInstance> created;
    JV_TRY(host_.Create(&created));
    controls_.push_back(std::move(created));
    current_ = controls_.size() - 1;
    return S_OK;
  }
  std::size_t ControlCount() override { return controls_.size(); }
  void SelectControl(std::size_t index) override {
    if (index < controls_.size()) current_ = index;
  }
  IDispatch* instance() override {
    return current_ < controls_.size() ? controls_[current_]->dispatch.get() : nullptr;
  }
  HRESULT ControlSize(std::int32_t* width, std::int32_t* height) override {
    if (width == nullptr || height == nullptr) return E_POINTER;
    if (current_ >= controls_.size()) return E_UNEXPECTED;
    platform::Surface& surface = face().UserControl();
    JV_TRY(surface.get_Width(width));
    return surface.get_Height(height);
  }
  void SetAmbientFont(FontRef font) override { host_.SetAmbientFont(std::move(font)); }

  HRESULT ClickCell(std::int16_t index) override { return face().ClickCell(index); }
  HRESULT ClickNext() override { return face().ClickNext(); }
  HRESULT ClickPrevious() override { return face().ClickPrevious(); }
  HRESULT PressKey(std::int16_t key_code, std::int16_t shift) override {
    return face().PressKey(key_code, shift);
  }

  std::int16_t CellCount() override { return face().cell_count(); }
  CellView Cell(std::int16_t index) override {
    const headless::ModelLabel& cell = face().cell(index);
    return {Text(cell.caption.view()), cell.fore, cell.back};
  }
  Text YearText() override { return face().year_text(); }
  Text DateText() override { return face().date_text(); }
  std::optional<std::string> Focus() override {
    if (runtime_.focus().empty()) return std::nullopt;
    return runtime_.focus();
  }
  std::vector<std::string> TakeChanged() override { return host_.TakeChanged(); }

  std::optional<std::string> ArmFault(std::string_view operation, std::uint32_t nth) override {
    const auto op = headless::OperationByName(operation);
    if (!op) return "unknown operation '" + Shown(operation) + "' (see --help)";
    runtime_.faults().Arm(*op, nth);
    return std::nullopt;
  }
  HRESULT ContainerFault(std::string_view operation) override {
    const auto op = headless::OperationByName(operation);
    return op ? runtime_.faults().Check(*op) : S_OK;
  }

 private:
  // The runtime built every face, so each one is a HeadlessFace. Commands that
  // reach here run only once the form has an instance.
  headless::HeadlessFace& face() { return static_cast<headless::HeadlessFace&>(*controls_[current_]->face); }

  // Destroyed bottom up: the instances, then the container side, then the
  // runtime their faces were built on.
  headless::HeadlessRuntime runtime_;
  FormHost host_;
  std::vector<std::unique_ptr<FormInstance>> controls_;
  std::size_t current_ = 0;
};

}  // namespace

std::unique_ptr<FormDriver> MakeHeadlessDriver(std::shared_ptr<FormLibrary> library) {
  return std::make_unique<HeadlessDriver>(std::move(library));
}

}  // namespace jv::host
