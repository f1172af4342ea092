#include "apps/jornavista-host/member_calls.h"

#include "platform/automation/font_disp.h"

namespace jv::host {

HRESULT CallMember(FormDriver& form, DISPID id, WORD flags, const Variant* value, Variant* result) {
  IDispatch* const instance = form.instance();
  if (instance == nullptr) return E_UNEXPECTED;
  VARIANT arg;
  if (value != nullptr) arg = value->raw();  // Invoke does not own its arguments
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{value != nullptr ? &arg : nullptr, value != nullptr ? &named : nullptr,
                    value != nullptr ? 1u : 0u, value != nullptr ? 1u : 0u};
  return instance->Invoke(id, IID_NULL, 0x0409, flags, &params, result != nullptr ? result->put() : nullptr,
                          nullptr, nullptr);
}

HRESULT PutProperty(FormDriver& form, const component::MemberDesc& property, const Variant& value) {
  const WORD flags =
      property.kind == component::MemberKind::kPropertyByRef ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  return CallMember(form, property.id, flags, &value, nullptr);
}

HRESULT GetProperty(FormDriver& form, DISPID id, Variant* result) {
  return CallMember(form, id, DISPATCH_PROPERTYGET, nullptr, result);
}

HRESULT FontArgument(IFont* font, Variant* out) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = nullptr;
  if (font != nullptr) {
    IFontDisp* view = nullptr;
    JV_TRY(font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&view)));
    v.pdispVal = view;
  }
  *out = Variant::Attach(v);
  return S_OK;
}

FontRef FontOf(const Variant& value) {
  FontRef font;
  if ((value.vt() == VT_DISPATCH || value.vt() == VT_UNKNOWN) && value.raw().punkVal != nullptr)
    (void)value.raw().punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
  return font;
}

}  // namespace jv::host
