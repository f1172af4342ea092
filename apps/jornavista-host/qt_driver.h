// The windowed host's form: instances of ctrJornavista on the Qt runtime, side by
// side on one top-level widget, driven by real mouse and key events.
#pragma once

#include <QWidget>
#include <memory>

#include "apps/jornavista-host/form_driver.h"

namespace jv::host {

class QtDriver final : public FormDriver {
 public:
  // Needs a QApplication; the form is shown, and made the active window, with
  // its first instance.
  QtDriver();
  ~QtDriver() override;

  void SetToday(DATE today) override;
  void ClearControls() override;
  [[nodiscard]] HRESULT AddControl() override;
  std::size_t ControlCount() override;
  void SelectControl(std::size_t index) override;
  control::ctrJornavista* control() override;
  void SetAmbientFont(FontRef font) override;

  // A click goes to the centre of the real cell or button; a key, with its shift
  // state, to whichever widget has the focus, as one press and release. E_INVALIDARG
  // for a cell index without a cell and for a code that no key produces.
  [[nodiscard]] HRESULT ClickCell(std::int16_t index) override;
  [[nodiscard]] HRESULT ClickNext() override;
  [[nodiscard]] HRESULT ClickPrevious() override;
  [[nodiscard]] HRESULT PressKey(std::int16_t key_code, std::int16_t shift) override;

  std::int16_t CellCount() override;
  CellView Cell(std::int16_t index) override;
  Text YearText() override;
  Text DateText() override;
  std::optional<std::string> Focus() override;
  std::vector<std::string> TakeChanged() override;

  bool ArmFault(std::string_view operation, std::uint32_t nth, std::string* error) override;

  QWidget& form();

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace jv::host
