// The form on the headless runtime: the in-memory face and the recording container.
#include "apps/jornavista-host/form_driver.h"
#include "platform/model/headless_face.h"

namespace jv::host {

namespace {

class HeadlessDriver final : public FormDriver {
 public:
  void SetToday(DATE today) override { runtime_.clock().Set(today); }

  HRESULT CreateControl() override {
    control_.reset();
    container_.TakeChanged();
    std::unique_ptr<control::ctrJornavista> created;
    const HRESULT hr = control::ctrJornavista::Create(runtime_, container_, &created);
    control_ = std::move(created);
    return hr;
  }
  control::ctrJornavista* control() override { return control_.get(); }

  HRESULT ClickCell(std::int16_t index) override { return face().ClickCell(index); }
  HRESULT ClickNext() override { return face().ClickNext(); }
  HRESULT ClickPrevious() override { return face().ClickPrevious(); }
  HRESULT PressKey(std::int16_t key_code, std::int16_t shift) override {
    return face().PressKey(key_code, shift);
  }

  std::int16_t CellCount() override { return face().cell_count(); }
  CellView Cell(std::int16_t index) override {
    const model::ModelLabel& cell = face().cell(index);
    return {cell.caption, cell.fore, cell.back};
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

 private:
  model::HeadlessFace& face() { return static_cast<model::HeadlessFace&>(control_->face()); }

  model::HeadlessRuntime runtime_;
  model::RecordingContainer container_;
  std::unique_ptr<control::ctrJornavista> control_;
};

}  // namespace

std::unique_ptr<FormDriver> MakeHeadlessDriver() { return std::make_unique<HeadlessDriver>(); }

}  // namespace jv::host
