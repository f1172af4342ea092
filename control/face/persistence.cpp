// InitProperties, ReadProperties and WriteProperties: the control's properties in
// the host's property bag. No trap: a failing step ends the handler.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::InitProperties() {
  s_.m_BackColor = 0;
  s_.m_ForeColor = 0;
  s_.m_Enabled = VARIANT_FALSE;
  FontRef ambient;
  JV_TRY(face_->UserControl().get_AmbientFont(ambient.put()));
  s_.m_Font = std::move(ambient);
  s_.m_BackStyle = 0;
  s_.m_BorderStyle = 0;
  return S_OK;
}

HRESULT ctrJornavista::ReadProperties(platform::PropertyBag&) { return E_NOTIMPL; }

HRESULT ctrJornavista::WriteProperties(platform::PropertyBag&) { return E_NOTIMPL; }

}  // namespace jv::control
