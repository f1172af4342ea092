// A date as locale-independent text, the form a date variant converts to: the
// regional short date is the date functions' job, not this one.
#pragma once

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv {

// "M/d/yyyy" ("11/9/2003"), followed by " H:mm:ss" when the date has a time of day;
// DISP_E_OVERFLOW outside the date range.
[[nodiscard]] HRESULT InvariantDateText(DATE date, Text* out);

}  // namespace jv
