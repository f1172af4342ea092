// The user's and the container's side of one form holding instances of
// ctrJornavista, each created through the component library: what a script does
// to it (create, click, page, press keys) and what it can see (cells, captions,
// focus, change notices). The headless runtime and the window each have one.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "apps/jornavista-host/form_host.h"
#include "platform/automation/dispatch.h"

namespace jv::host {

struct CellView {
  Text caption;
  OLE_COLOR fore = 0;
  OLE_COLOR back = 0;
};

class FormDriver {
 public:
  virtual ~FormDriver() = default;

  // The runtime's clock, read by the next instance's start-up.
  virtual void SetToday(DATE today) = 0;
  // The form holds any number of instances; commands act on the current one.
  // Removes every instance from the form.
  virtual void ClearControls() = 0;
  // Creates another instance, which becomes the current one; its Initialize runs.
  [[nodiscard]] virtual HRESULT AddControl() = 0;
  // The form's only instance afterwards: ClearControls, then AddControl.
  [[nodiscard]] HRESULT CreateControl() {
    ClearControls();
    return AddControl();
  }
  virtual std::size_t ControlCount() = 0;
  virtual void SelectControl(std::size_t index) = 0;
  // The current instance's dispatch interface, or null; the form keeps the reference.
  virtual IDispatch* instance() = 0;
  // The current instance's size on the form, in twips, as its surface reports it.
  [[nodiscard]] virtual HRESULT ControlSize(std::int32_t* width, std::int32_t* height) = 0;
  // The container's ambient font, handed to every instance that asks.
  virtual void SetAmbientFont(FontRef font) = 0;

  // The user's input.
  [[nodiscard]] virtual HRESULT ClickCell(std::int16_t index) = 0;
  [[nodiscard]] virtual HRESULT ClickNext() = 0;
  [[nodiscard]] virtual HRESULT ClickPrevious() = 0;
  [[nodiscard]] virtual HRESULT PressKey(std::int16_t key_code, std::int16_t shift) = 0;

  // What the form shows.
  virtual std::int16_t CellCount() = 0;
  virtual CellView Cell(std::int16_t index) = 0;
  virtual Text YearText() = 0;
  virtual Text DateText() = 0;
  // The constituent control that has the keyboard focus, if any.
  virtual std::optional<std::string> Focus() = 0;
  // The property names the container was told of since the previous call.
  virtual std::vector<std::string> TakeChanged() = 0;

  // Makes a runtime operation fail; a message when the runtime cannot.
  [[nodiscard]] virtual std::optional<std::string> ArmFault(std::string_view operation,
                                                            std::uint32_t nth) = 0;
  // What an armed fault makes this call of a container operation report
  // ("bag.ReadProperty", "bag.WriteProperty"); S_OK for a runtime without faults.
  [[nodiscard]] virtual HRESULT ContainerFault(std::string_view operation) {
    (void)operation;
    return S_OK;
  }
};

// A form on the headless runtime whose instances come from `library`.
std::unique_ptr<FormDriver> MakeHeadlessDriver(std::shared_ptr<FormLibrary> library);

}  // namespace jv::host
