// SDate: the selected date as text. It has no field of its own: its value is the
// text of txtDate, whoever wrote it last. No trap.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::get_SDate(Text* out) {
  if (out == nullptr) return E_POINTER;
  // Read straight into the caller's string, whose buffer a caller may keep between
  // calls; a failed read leaves it empty.
  out->clear();
  if (const HRESULT hr = face_->txtDate().get_Text(out); FAILED(hr)) {
    out->clear();
    return hr;
  }
  return S_OK;
}

HRESULT ctrJornavista::put_SDate(TextView New_SDate) {
  JV_TRY(face_->txtDate().put_Text(New_SDate));
  return NotifyChanged(u"SDate");
}

HRESULT ctrJornavista::NotifyChanged(TextView property_name) {
  return face_->UserControl().PropertyChanged(property_name);
}

}  // namespace jv::control
