// The resize rule: whatever size the container asks for, the control takes its
// frame's size, width first. No trap: a failed step ends the handler.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::Resize() {
  std::int32_t width = 0, height = 0;
  JV_TRY(face_->Frame1().get_Width(&width));
  JV_TRY(face_->UserControl().put_Width(width));
  JV_TRY(face_->Frame1().get_Height(&height));
  return face_->UserControl().put_Height(height);
}

}  // namespace jv::control
