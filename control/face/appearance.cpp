// The six appearance properties and Refresh. They only hold values: nothing is
// applied to the face, and every put notifies, even with an unchanged value.
#include <utility>

#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

namespace {
// Every getter of a held value: a null out-pointer is refused before anything is read.
template <class T>
HRESULT ReadHeld(const T& held, T* out) {
  if (out == nullptr) return E_POINTER;
  *out = held;
  return S_OK;
}
}  // namespace

// Every put stores first and notifies second, so a refused notice keeps the value.
template <class T>
HRESULT ctrJornavista::StoreAndNotify(T& held, T value, TextView property_name) {
  held = std::move(value);
  return NotifyChanged(property_name);
}

HRESULT ctrJornavista::get_BackColor(OLE_COLOR* out) { return ReadHeld(s_.m_BackColor, out); }
HRESULT ctrJornavista::put_BackColor(OLE_COLOR New_BackColor) {
  return StoreAndNotify(s_.m_BackColor, New_BackColor, u"BackColor");
}

HRESULT ctrJornavista::get_ForeColor(OLE_COLOR* out) { return ReadHeld(s_.m_ForeColor, out); }
HRESULT ctrJornavista::put_ForeColor(OLE_COLOR New_ForeColor) {
  return StoreAndNotify(s_.m_ForeColor, New_ForeColor, u"ForeColor");
}

HRESULT ctrJornavista::get_Enabled(VARIANT_BOOL* out) { return ReadHeld(s_.m_Enabled, out); }
HRESULT ctrJornavista::put_Enabled(VARIANT_BOOL New_Enabled) {
  return StoreAndNotify(s_.m_Enabled, New_Enabled, u"Enabled");
}

HRESULT ctrJornavista::get_Font(IFont** out) {
  if (out == nullptr) return E_POINTER;
  *out = s_.m_Font.get();
  if (*out != nullptr) (*out)->AddRef();
  return S_OK;
}
HRESULT ctrJornavista::putref_Font(IFont* New_Font) {
  return StoreAndNotify(s_.m_Font, FontRef(New_Font), u"Font");
}

HRESULT ctrJornavista::get_BackStyle(std::int16_t* out) { return ReadHeld(s_.m_BackStyle, out); }
HRESULT ctrJornavista::put_BackStyle(std::int16_t New_BackStyle) {
  return StoreAndNotify(s_.m_BackStyle, New_BackStyle, u"BackStyle");
}

HRESULT ctrJornavista::get_BorderStyle(std::int16_t* out) { return ReadHeld(s_.m_BorderStyle, out); }
HRESULT ctrJornavista::put_BorderStyle(std::int16_t New_BorderStyle) {
  return StoreAndNotify(s_.m_BorderStyle, New_BorderStyle, u"BorderStyle");
}

HRESULT ctrJornavista::Refresh() { return S_OK; }

}  // namespace jv::control
