// The state record of one ctrJornavista instance: thirteen fields, zeroed at
// creation. The calendar fields are the control's own; the six appearance fields
// only hold what the host sets and what the document stores.
#pragma once

#include <cstdint>

#include "platform/automation/font.h"
#include "platform/automation/types.h"

namespace jv::control {

struct State {
  std::int16_t m_SelCell = 0;    // the cursor: last cell chosen by click or arrow key (-6..44)
  std::int16_t m_LastCell = 0;   // cell of the shown month's last day
  std::int16_t m_FirstCell = 0;  // cell of the shown month's day 1, its weekday (Sunday 1)
  Text m_StartDayText;           // today's day number at start-up; every redraw highlights it
  DATE m_MonthStart = 0;         // first day of the shown month
  DATE m_CurDate = 0;            // reference date: the month shown is its month
  DATE m_SelDate = 0;            // the selected date
  OLE_COLOR m_BackColor = 0;
  OLE_COLOR m_ForeColor = 0;
  VARIANT_BOOL m_Enabled = VARIANT_FALSE;
  FontRef m_Font;
  std::int16_t m_BackStyle = 0;
  std::int16_t m_BorderStyle = 0;
};

}  // namespace jv::control
