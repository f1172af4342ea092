// The mouse: the paging buttons move m_CurDate by one calendar month and redraw
// (no trap); a day click moves the highlight and publishes the date (resume-next).
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::PageMonths(std::int32_t months) {
  DATE target = 0;
  JV_TRY(face_->Dates().AddMonths(s_.m_CurDate, months, &target));
  s_.m_CurDate = target;
  return ShowMonth();
}

HRESULT ctrJornavista::cmdNext_Click() { return PageMonths(+1); }

HRESULT ctrJornavista::cmdPrevious_Click() { return PageMonths(-1); }

HRESULT ctrJornavista::l_Click(std::int16_t& Index) {
  platform::LabelArray& l = face_->l();
  s_.m_SelCell = Index;

  ResumeNext([&] {
    platform::Label* clicked = nullptr;
    Text caption;
    JV_TRY(l.Item(Index, &clicked));
    JV_TRY(clicked->get_Caption(&caption));
    if (caption.empty()) return S_OK;  // a blank cell keeps every colour
    std::int16_t lower = 0, upper = 0;
    if (SUCCEEDED(l.get_LBound(&lower)) && SUCCEEDED(l.get_UBound(&upper))) {
      for (int i = lower; i <= upper; ++i) {
        platform::Label* cell = nullptr;
        if (FAILED(l.Item(static_cast<std::int16_t>(i), &cell))) continue;
        ResumeNext([&] { return cell->put_ForeColor(kColorBlack); });
        ResumeNext([&] { return cell->put_BackColor(kSysWindow); });
      }
    }
    ResumeNext([&] { return clicked->put_ForeColor(kSysHighlightText); });
    ResumeNext([&] { return clicked->put_BackColor(kSysHighlight); });
    return S_OK;
  });
  ResumeNext([&] {
    platform::Label* clicked = nullptr;
    JV_TRY(l.Item(Index, &clicked));
    return SelectedDateOfCell(*clicked, &s_.m_SelDate);
  });
  ResumeNext([&] { return ShowSelectedDateText(); });
  ResumeNext([&] { return PublishSelectedDate(); });
  ResumeNext([&] { return face_->Picture1().SetFocus(); });
  return S_OK;
}

}  // namespace jv::control
