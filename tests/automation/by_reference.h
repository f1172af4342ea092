// By-reference variants for tests: a VARIANT that points at a value the test
// keeps and owns nothing, so it is never cleared.
#pragma once

#include "platform/automation/variant.h"

namespace jv::testing {

inline VARIANT ReferenceTo(VARTYPE vt, void* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = static_cast<VARTYPE>(VT_BYREF | vt);
  v.byref = value;
  return v;
}

}  // namespace jv::testing
