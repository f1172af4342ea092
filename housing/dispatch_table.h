// Calls by dispatch id on a ctrJornavista: one binding per row of the member
// table, each coercing its argument by the row's type and calling the member.
#pragma once

#include "control/ctr_jornavista.h"
#include "platform/automation/dispatch.h"

namespace jv::housing {

// Invoke's work once the interface id is checked and the instance is held: the
// member by id (DISP_E_MEMBERNOTFOUND for an id or a kind of call it does not
// have), the argument rules, the coercion of a put's value (its failure with
// *arg_err = 0, the argument's index) and the member's own status.
[[nodiscard]] HRESULT InvokeMember(control::ctrJornavista& control, DISPID id, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, UINT* arg_err);

// A colour argument: any 32-bit integer pattern, or a whole number from 0 to
// 0xFFFFFFFF (a colour with the system bit set does not fit a signed integer).
[[nodiscard]] HRESULT ToColor(const VARIANT& in, OLE_COLOR* out);

}  // namespace jv::housing
