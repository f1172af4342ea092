// ShowSelection and the date-text rule: the start-up day highlighted in the shown
// month, and the selected date rebuilt from that cell. Resume-next.
#include <algorithm>

#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::SelectedDateOf(TextView day_text, DATE* out) {
  platform::DateFunctions& dates = face_->Dates();
  std::int16_t month = 0, year = 0;
  JV_TRY(dates.Month(s_.m_CurDate, &month));
  JV_TRY(dates.Year(s_.m_CurDate, &year));
  Text month_text, year_text;
  JV_TRY(dates.NumberToText(month, &month_text));
  JV_TRY(dates.NumberToText(year, &year_text));
  // Day texts are short; the joined text is built on the stack unless a caption
  // is unusually long.
  const std::size_t length = day_text.size() + month_text.size() + year_text.size() + 2;
  char16_t stack[32];
  Text heap;
  char16_t* joined = stack;
  if (length > sizeof stack / sizeof stack[0]) {
    heap.resize(length);
    joined = heap.data();
  }
  char16_t* p = joined;
  for (TextView part : {day_text, TextView(u"/"), TextView(month_text), TextView(u"/"), TextView(year_text)})
    p = std::copy(part.begin(), part.end(), p);
  return dates.TextToDate(TextView(joined, length), out);
}

HRESULT ctrJornavista::SelectedDateOfCell(platform::Label& cell, DATE* out) {
  Text day_text;
  JV_TRY(cell.get_Caption(&day_text));
  return SelectedDateOf(day_text, out);
}

HRESULT ctrJornavista::ShowSelectedDateText() {
  SpareText::Borrowed text(spare_text_);
  JV_TRY(face_->Dates().FormatShortDate(s_.m_SelDate, text.get()));
  return face_->txtDate().put_Text(*text);
}

HRESULT ctrJornavista::PublishSelectedDate() {
  SpareText::Borrowed text(spare_text_);
  JV_TRY(face_->Dates().FormatShortDate(s_.m_SelDate, text.get()));
  return put_SDate(*text);
}

void ctrJornavista::ShowSelection() {
  platform::LabelArray& l = face_->l();
  std::int16_t lower = 0, upper = 0;
  ResumeNext([&] { return l.get_LBound(&lower); });
  ResumeNext([&] { return l.get_UBound(&upper); });

  Text caption;  // reused for every cell: the day texts mostly share a length
  for (int i = lower; i <= upper; ++i) {
    platform::Label* cell = nullptr;
    // A cell that cannot be fetched or read is skipped whole: neither branch runs.
    if (FAILED(l.Item(static_cast<std::int16_t>(i), &cell)) || FAILED(cell->get_Caption(&caption))) continue;
    if (TextView(caption) == TextView(s_.m_StartDayText)) {  // lengths first, then the characters
      ResumeNext([&] { return cell->put_ForeColor(kSysHighlightText); });
      ResumeNext([&] { return cell->put_BackColor(kSysHighlight); });
      ResumeNext([&] { return SelectedDateOfCell(*cell, &s_.m_SelDate); });
      ResumeNext([&] { return ShowSelectedDateText(); });
    } else {
      ResumeNext([&] { return cell->put_ForeColor(kColorBlack); });
      ResumeNext([&] { return cell->put_BackColor(kSysWindow); });
    }
  }
}

}  // namespace jv::control
