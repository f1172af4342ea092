// InitProperties, ReadProperties and WriteProperties: the control's properties in
// the host's property bag. No trap: a failing step ends the handler, and what the
// steps before it did stays done.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"
#include "platform/automation/variant_conversions.h"
#include "platform/runtime/property_bag.h"

namespace jv::control {

namespace {

// The default passed with every key but "Font" and "SDate".
const VARIANT& ZeroDefault() {
  static const Variant zero = Variant::I2(0);
  return zero.raw();
}

// A text variant, or the allocation failure that Variant::Str folds into an error value.
HRESULT TextVariant(TextView text, Variant* out) {
  Variant v = Variant::Str(text);
  if (v.vt() != VT_BSTR) return E_OUTOFMEMORY;
  *out = std::move(v);
  return S_OK;
}

// The font travels as an object variant, VT_UNKNOWN until every font a container
// hands out answers for IDispatch; ToFont takes VT_DISPATCH as well on the way back.
Variant FontVariant(IFont* font) { return Variant::Object(font); }

HRESULT Read(platform::PropertyBag& bag, TextView key, const VARIANT& default_value, Variant* out) {
  return bag.ReadProperty(key, default_value, out->put());
}

}  // namespace

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

// Each key is read and converted into a local first, so that a failing read or
// conversion leaves its field, and every field after it, as it was.
HRESULT ctrJornavista::ReadProperties(platform::PropertyBag& bag) {
  Variant value;

  std::int32_t back_color = 0;
  JV_TRY(Read(bag, u"BackColor", ZeroDefault(), &value));
  JV_TRY(ToInt32(value, &back_color));
  s_.m_BackColor = static_cast<OLE_COLOR>(back_color);

  std::int32_t fore_color = 0;
  JV_TRY(Read(bag, u"ForeColor", ZeroDefault(), &value));
  JV_TRY(ToInt32(value, &fore_color));
  s_.m_ForeColor = static_cast<OLE_COLOR>(fore_color);

  VARIANT_BOOL enabled = VARIANT_FALSE;
  JV_TRY(Read(bag, u"Enabled", ZeroDefault(), &value));
  JV_TRY(ToBool(value, &enabled));
  s_.m_Enabled = enabled;

  // The ambient font is fetched for this read alone: the container may have
  // changed it since the instance was created.
  FontRef ambient;
  JV_TRY(face_->UserControl().get_AmbientFont(ambient.put()));
  FontRef font;
  JV_TRY(Read(bag, u"Font", FontVariant(ambient.get()).raw(), &value));
  JV_TRY(ToFont(value, &font));
  s_.m_Font = std::move(font);

  std::int16_t back_style = 0;
  JV_TRY(Read(bag, u"BackStyle", ZeroDefault(), &value));
  JV_TRY(ToInt16(value, &back_style));
  s_.m_BackStyle = back_style;

  std::int16_t border_style = 0;
  JV_TRY(Read(bag, u"BorderStyle", ZeroDefault(), &value));
  JV_TRY(ToInt16(value, &border_style));
  s_.m_BorderStyle = border_style;

  // SDate lives in txtDate; the grid and m_SelDate stay as start-up drew them.
  Variant empty_text;
  JV_TRY(TextVariant(u"", &empty_text));
  Text sdate;
  JV_TRY(Read(bag, u"SDate", empty_text.raw(), &value));
  JV_TRY(ToText(value, &sdate));
  return face_->txtDate().put_Text(sdate);
}

HRESULT ctrJornavista::WriteProperties(platform::PropertyBag& bag) {
  JV_TRY(bag.WriteProperty(u"BackColor", Variant::I4(static_cast<std::int32_t>(s_.m_BackColor)).raw(),
                           ZeroDefault()));
  JV_TRY(bag.WriteProperty(u"ForeColor", Variant::I4(static_cast<std::int32_t>(s_.m_ForeColor)).raw(),
                           ZeroDefault()));
  // Written as a Boolean: any non-zero field is True, as the coercion to Boolean has it.
  JV_TRY(bag.WriteProperty(u"Enabled", Variant::Bool(s_.m_Enabled != VARIANT_FALSE).raw(), ZeroDefault()));

  FontRef ambient;
  JV_TRY(face_->UserControl().get_AmbientFont(ambient.put()));
  JV_TRY(bag.WriteProperty(u"Font", FontVariant(s_.m_Font.get()).raw(), FontVariant(ambient.get()).raw()));

  JV_TRY(bag.WriteProperty(u"BackStyle", Variant::I2(s_.m_BackStyle).raw(), ZeroDefault()));
  JV_TRY(bag.WriteProperty(u"BorderStyle", Variant::I2(s_.m_BorderStyle).raw(), ZeroDefault()));

  Text sdate;
  JV_TRY(face_->txtDate().get_Text(&sdate));
  Variant sdate_value;
  Variant empty_text;
  JV_TRY(TextVariant(sdate, &sdate_value));
  JV_TRY(TextVariant(u"", &empty_text));
  return bag.WriteProperty(u"SDate", sdate_value.raw(), empty_text.raw());
}

}  // namespace jv::control
