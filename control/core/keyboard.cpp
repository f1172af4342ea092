// Picture1's KeyDown: arrows move the cursor within the shown month, Page Down and
// Page Up step 32 days and redraw, and every key that is not refused commits the
// cursor's day as the selected date. The first failure ends the handling quietly.
#include "control/ctr_jornavista.h"
#include "control/failure_modes.h"

namespace jv::control {

namespace {
enum KeyCode : std::int16_t {
  kPageUp = 33,
  kPageDown = 34,
  kLeft = 37,
  kUp = 38,
  kRight = 39,
  kDown = 40,
};
}  // namespace

HRESULT ctrJornavista::Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& /*Shift*/) {
  return EndQuietly(KeyDownSteps(KeyCode));
}

HRESULT ctrJornavista::KeyDownSteps(std::int16_t key_code) {
  switch (key_code) {
    case kUp:
      return ArrowKey(-7);
    case kDown:
      return ArrowKey(+7);
    case kLeft:
      return ArrowKey(-1);
    case kRight:
      return ArrowKey(+1);
    case kPageDown:
      JV_TRY(StepDays(+32.0));
      break;
    case kPageUp:
      JV_TRY(StepDays(-32.0));
      break;
    default:
      break;
  }
  return CommitSelection();
}

// An arrow is refused once the cursor stands outside the month on the side it
// points to; otherwise the cursor moves and its day is committed.
HRESULT ctrJornavista::ArrowKey(std::int16_t step) {
  const bool outside = step < 0 ? s_.m_SelCell < s_.m_FirstCell : s_.m_SelCell > s_.m_LastCell;
  if (outside) return S_FALSE;
  JV_TRY(MoveCursor(step));
  return CommitSelection();
}

HRESULT ctrJornavista::MoveCursor(std::int16_t step) {
  JV_TRY(AddInt16(s_.m_SelCell, step, &s_.m_SelCell));
  platform::Label* cell = nullptr;
  Text caption;
  JV_TRY(face_->l().Item(s_.m_SelCell, &cell));
  JV_TRY(cell->get_Caption(&caption));
  if (caption.empty()) return S_OK;  // a blank cell: the highlight stays where it was
  return HighlightCursorCell();
}

HRESULT ctrJornavista::HighlightCursorCell() {
  platform::LabelArray& l = face_->l();
  std::int16_t upper = 0, lower = 0;
  JV_TRY(l.get_UBound(&upper));
  JV_TRY(l.get_LBound(&lower));
  for (int i = lower; i <= upper; ++i) {
    platform::Label* cell = nullptr;
    JV_TRY(l.Item(static_cast<std::int16_t>(i), &cell));
    JV_TRY(cell->put_ForeColor(kColorBlack));
    JV_TRY(cell->put_BackColor(kSysWindow));
  }
  platform::Label* selected = nullptr;
  JV_TRY(l.Item(s_.m_SelCell, &selected));
  JV_TRY(selected->put_ForeColor(kSysHighlightText));
  return selected->put_BackColor(kSysHighlight);
}

HRESULT ctrJornavista::StepDays(double days) {
  DATE target = 0;
  JV_TRY(face_->Dates().AddDays(s_.m_CurDate, days, &target));
  s_.m_CurDate = target;
  JV_TRY(ShowMonth());
  return face_->Picture1().SetFocus();
}

HRESULT ctrJornavista::CommitSelection() {
  platform::Label* cell = nullptr;
  JV_TRY(face_->l().Item(s_.m_SelCell, &cell));
  DATE selected = 0;
  JV_TRY(SelectedDateOfCell(*cell, &selected));
  s_.m_SelDate = selected;
  JV_TRY(ShowSelectedDateText());
  return PublishSelectedDate();
}

}  // namespace jv::control
