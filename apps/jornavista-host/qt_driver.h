// The windowed host's form: instances of ctrJornavista from the component library,
// built on the host's Qt runtime, side by side on one top-level widget, driven by
// real mouse and key events.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "apps/jornavista-host/form_driver.h"

namespace jv::host {

class QtDriver final : public FormDriver {
 public:
  // Needs a QApplication; the form is shown, and made the active window, with
  // its first instance.
  explicit QtDriver(std::shared_ptr<FormLibrary> library);
  ~QtDriver() override;

  void SetToday(DATE today) override;
  void ClearControls() override;
  [[nodiscard]] HRESULT AddControl() override;
  std::size_t ControlCount() override;
  void SelectControl(std::size_t index) override;
  IDispatch* instance() override;
  HRESULT ControlSize(std::int32_t* width, std::int32_t* height) override;
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

  std::optional<std::string> ArmFault(std::string_view operation, std::uint32_t nth) override;

  QWidget& form();
  // A widget of the container's own, kept on the form below the instances.
  void SetFooter(QWidget* footer);
  // Told of each property-change notice with the property's name (null: nobody).
  void SetChangeListener(std::function<void(const std::string&)> listener);

 private:
  // A click in the middle of the paging button `name`.
  [[nodiscard]] HRESULT ClickButton(const char* name);

  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace jv::host
