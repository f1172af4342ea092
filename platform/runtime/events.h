// The events a runtime delivers to the control: the surface's life-cycle events
// and the user's input on the constituent controls. One handler each, run to its
// end on the user-interface thread; the returned status goes back to the runtime.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"

namespace jv::platform {

class PropertyBag;

class ControlEvents {
 public:
  [[nodiscard]] virtual HRESULT Initialize() = 0;
  [[nodiscard]] virtual HRESULT Resize() = 0;
  [[nodiscard]] virtual HRESULT InitProperties() = 0;
  [[nodiscard]] virtual HRESULT ReadProperties(PropertyBag& bag) = 0;
  [[nodiscard]] virtual HRESULT WriteProperties(PropertyBag& bag) = 0;
  [[nodiscard]] virtual HRESULT l_Click(std::int16_t& Index) = 0;
  [[nodiscard]] virtual HRESULT cmdNext_Click() = 0;
  [[nodiscard]] virtual HRESULT cmdPrevious_Click() = 0;
  [[nodiscard]] virtual HRESULT Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) = 0;

 protected:
  ~ControlEvents() = default;
};

}  // namespace jv::platform
