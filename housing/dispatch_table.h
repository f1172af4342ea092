// Calls by dispatch id on a ctrJornavista: one binding per row of the member
// table, each coercing its argument by the row's type and calling the member.
#pragma once

#include "control/ctr_jornavista.h"
#include "platform/automation/dispatch.h"

namespace jv::housing {

// What an instance keeps between its calls so that the get of a text member
// allocates only the string it hands back: the text the member is read into,
// whose buffer stays. Its content means nothing between calls; a nested call,
// finding it in use, reads into a text of its own.
class InvokeBuffers {
 public:
  // Hands `read` the spare text (or a fresh one while the spare is in use).
  template <class Read>
  HRESULT WithText(Read read) {
    if (text_in_use_) {
      Text own;
      return read(own);
    }
    struct InUse {
      bool& flag;
      explicit InUse(bool& f) : flag(f) { flag = true; }
      ~InUse() { flag = false; }
    } in_use(text_in_use_);
    return read(text_);
  }

 private:
  Text text_;
  bool text_in_use_ = false;
};

// Invoke's work once the interface id is checked and the instance is held: the
// member by id (DISP_E_MEMBERNOTFOUND for an id or a kind of call it does not
// have), the argument rules, the coercion of a put's value (its failure with
// *arg_err = 0, the argument's index) and the member's own status.
[[nodiscard]] HRESULT InvokeMember(control::ctrJornavista& control, InvokeBuffers& buffers, DISPID id,
                                   WORD flags, DISPPARAMS* params, VARIANT* result, UINT* arg_err);

// A colour argument: any 32-bit integer pattern, or a whole number from 0 to
// 0xFFFFFFFF (a colour with the system bit set does not fit a signed integer).
[[nodiscard]] HRESULT ToColor(const VARIANT& in, OLE_COLOR* out);

}  // namespace jv::housing
