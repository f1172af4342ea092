// SDate: the selected date as text. It has no field of its own: its value is the
// text of txtDate, whoever wrote it last. No trap.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::get_SDate(Text* out) {
  if (out == nullptr) return E_POINTER;
  out->clear();
  Text text;
  JV_TRY(face_->txtDate().get_Text(&text));
  *out = std::move(text);
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
