// The first step of every conversion: a variant's value read through one level of
// reference and sorted by how it converts. Internal to the conversions.
#pragma once

#include <cstdint>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/variant.h"

namespace jv::conversion {

enum class Kind { kEmpty, kNull, kInt, kBool, kReal, kDate, kCy, kText, kObject, kError };

struct Value {
  Kind kind = Kind::kEmpty;
  VARTYPE vt = VT_EMPTY;  // the type of the value, without VT_BYREF
  std::int64_t i = 0;     // kInt, kBool (-1 or 0), kCy (ten-thousandths), kError
  double d = 0;           // kReal, kDate
  bool single = false;    // kReal from a float: formatted to float precision
  TextView text;          // kText; points into the source variant
  IUnknown* object = nullptr;
};

// E_POINTER for a reference to nothing, DISP_E_BADVARTYPE for a type this system
// does not hold. One level of VT_BYREF | VT_VARIANT is followed.
[[nodiscard]] HRESULT ReadValue(const VARIANT& v, Value* out);

}  // namespace jv::conversion
