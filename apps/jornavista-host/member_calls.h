// Calls of the current instance's members through IDispatch::Invoke by their
// published dispatch ids, as any automation client makes them, and the font
// values those calls take and give.
#pragma once

#include "apps/jornavista-host/form_driver.h"
#include "housing/jornavista_members.h"
#include "platform/automation/variant.h"

namespace jv::host {

// A get or a method when `value` is null, else a put with `value` as its one
// named argument. E_UNEXPECTED when the form has no instance.
[[nodiscard]] HRESULT CallMember(FormDriver& form, DISPID id, WORD flags, const Variant* value,
                                 Variant* result);
// A property's put, by reference for a property that takes an object.
[[nodiscard]] HRESULT PutProperty(FormDriver& form, const component::MemberDesc& property,
                                  const Variant& value);
[[nodiscard]] HRESULT GetProperty(FormDriver& form, DISPID id, Variant* result);

// A font as the interface takes it: its dispatch view, or Nothing for null.
[[nodiscard]] HRESULT FontArgument(IFont* font, Variant* out);
// The font a get handed back (as its dispatch view or as the object), or null.
FontRef FontOf(const Variant& value);

}  // namespace jv::host
