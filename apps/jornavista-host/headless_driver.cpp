// The form on the headless runtime: the in-memory face and the recording container.
#include "apps/jornavista-host/form_driver.h"
#include "control/failure_modes.h"
#include "platform/automation/std_font.h"
#include "platform/model/headless_face.h"

namespace jv::host {

namespace {

class HeadlessDriver final : public FormDriver {
 public:
  // A container always has an ambient font; this one starts with a new standard font.
  HeadlessDriver() {
    IFont* font = nullptr;
    if (SUCCEEDED(CreateStdFont(FontDescription{}, &font))) container_.SetAmbientFont(FontRef::Adopt(font));
  }

  void SetToday(DATE today) override { runtime_.clock().Set(today); }

  void ClearControls() override {
    controls_.clear();
    current_ = 0;
    container_.TakeChanged();
  }
  HRESULT AddControl() override {
    std::unique_ptr<control::ctrJornavista> created;
    JV_TRY(control::ctrJornavista::Create(runtime_, container_, &created));
    controls_.push_back(std::move(created));
    current_ = controls_.size() - 1;
    return S_OK;
  }
  std::size_t ControlCount() override { return controls_.size(); }
  void SelectControl(std::size_t index) override {
    if (index < controls_.size()) current_ = index;
  }
  control::ctrJornavista* control() override {
    return current_ < controls_.size() ? controls_[current_].get() : nullptr;
  }
  void SetAmbientFont(FontRef font) override { container_.SetAmbientFont(std::move(font)); }

  HRESULT ClickCell(std::int16_t index) override { return face().ClickCell(index); }
  HRESULT ClickNext() override { return face().ClickNext(); }
  HRESULT ClickPrevious() override { return face().ClickPrevious(); }
  HRESULT PressKey(std::int16_t key_code, std::int16_t shift) override {
    return face().PressKey(key_code, shift);
  }

  std::int16_t CellCount() override { return face().cell_count(); }
  CellView Cell(std::int16_t index) override {
    const model::ModelLabel& cell = face().cell(index);
    return {Text(cell.caption.view()), cell.fore, cell.back};
  }
  Text YearText() override { return face().year_text(); }
  Text DateText() override { return face().date_text(); }
  std::optional<std::string> Focus() override {
    if (runtime_.focus().empty()) return std::nullopt;
    return runtime_.focus();
  }
  std::vector<std::string> TakeChanged() override { return container_.TakeChanged(); }

  bool ArmFault(std::string_view operation, std::uint32_t nth, std::string* error) override {
    const auto op = model::OperationByName(operation);
    if (!op) {
      *error = "unknown operation '" + std::string(operation) + "' (see --help)";
      return false;
    }
    runtime_.faults().Arm(*op, nth);
    return true;
  }
  HRESULT ContainerFault(std::string_view operation) override {
    const auto op = model::OperationByName(operation);
    return op ? runtime_.faults().Check(*op) : S_OK;
  }

 private:
  model::HeadlessFace& face() { return static_cast<model::HeadlessFace&>(control()->face()); }

  model::HeadlessRuntime runtime_;
  model::RecordingContainer container_;
  std::vector<std::unique_ptr<control::ctrJornavista>> controls_;
  std::size_t current_ = 0;
};

}  // namespace

std::unique_ptr<FormDriver> MakeHeadlessDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace jv::host
