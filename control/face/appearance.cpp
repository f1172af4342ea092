// The six appearance properties and Refresh. They only hold values: nothing is
// applied to the face, and every put notifies, even with an unchanged value.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::get_BackColor(OLE_COLOR* out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_BackColor;
  return S_OK;
}
HRESULT ctrJornavista::put_BackColor(OLE_COLOR New_BackColor) {
  s_.m_BackColor = New_BackColor;
  return NotifyChanged(u"BackColor");
}

HRESULT ctrJornavista::get_ForeColor(OLE_COLOR* out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_ForeColor;
  return S_OK;
}
HRESULT ctrJornavista::put_ForeColor(OLE_COLOR New_ForeColor) {
  s_.m_ForeColor = New_ForeColor;
  return NotifyChanged(u"ForeColor");
}

HRESULT ctrJornavista::get_Enabled(VARIANT_BOOL* out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_Enabled;
  return S_OK;
}
HRESULT ctrJornavista::put_Enabled(VARIANT_BOOL New_Enabled) {
  s_.m_Enabled = New_Enabled;
  return NotifyChanged(u"Enabled");
}

HRESULT ctrJornavista::get_Font(IFont** out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_Font.get();
  if (*out != nullptr) (*out)->AddRef();
  return S_OK;
}
HRESULT ctrJornavista::putref_Font(IFont* New_Font) {
  s_.m_Font = FontRef(New_Font);
  return NotifyChanged(u"Font");
}

HRESULT ctrJornavista::get_BackStyle(std::int16_t* out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_BackStyle;
  return S_OK;
}
HRESULT ctrJornavista::put_BackStyle(std::int16_t New_BackStyle) {
  s_.m_BackStyle = New_BackStyle;
  return NotifyChanged(u"BackStyle");
}

HRESULT ctrJornavista::get_BorderStyle(std::int16_t* out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_BorderStyle;
  return S_OK;
}
HRESULT ctrJornavista::put_BorderStyle(std::int16_t New_BorderStyle) {
  s_.m_BorderStyle = New_BorderStyle;
  return NotifyChanged(u"BorderStyle");
}

HRESULT ctrJornavista::Refresh() { return S_OK; }

}  // namespace jv::control
