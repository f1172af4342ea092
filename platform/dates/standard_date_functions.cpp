#include "platform/dates/standard_date_functions.h"

namespace jv::dates {

HRESULT StandardDateFunctions::Today(DATE* out) {
  // A host-set clock may hold any value, a time of day or one outside the range.
  return DateOnly(clock_.Today(), out);
}

}  // namespace jv::dates
