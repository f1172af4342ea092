#include "control/ctr_jornavista.h"

#include "control/face/layout.h"
#include "control/failure_modes.h"

namespace jv::control {

HRESULT ctrJornavista::Create(platform::ControlRuntime& runtime, platform::Container& container,
                              std::unique_ptr<ctrJornavista>* out) {
  if (out == nullptr) return E_POINTER;
  std::unique_ptr<platform::Face> face;
  JV_TRY(runtime.CreateFace(face::JornavistaLayout(), container, &face));
  std::unique_ptr<ctrJornavista> control(new ctrJornavista(std::move(face)));
  control->face_->ConnectEvents(control.get());
  JV_TRY(control->Initialize());
  *out = std::move(control);
  return S_OK;
}

ctrJornavista::ctrJornavista(std::unique_ptr<platform::Face> face) : face_(std::move(face)) {}

ctrJornavista::~ctrJornavista() {
  if (face_) face_->ConnectEvents(nullptr);
}

HRESULT ctrJornavista::Initialize() { return StartOnToday(); }

HRESULT ctrJornavista::StartOnToday() {
  platform::DateFunctions& dates = face_->Dates();
  JV_TRY(dates.Today(&s_.m_MonthStart));
  JV_TRY(dates.Today(&s_.m_CurDate));
  std::int16_t day = 0;
  JV_TRY(dates.DayOfMonth(s_.m_MonthStart, &day));
  JV_TRY(dates.NumberToText(day, &s_.m_StartDayText));
  return ShowMonth();
}

HRESULT ctrJornavista::ShowMonth() {
  FillMonthGrid();
  ShowSelection();
  SpareText::Borrowed caption(spare_text_);
  JV_TRY(face_->Dates().FormatMonthCaption(s_.m_CurDate, caption.get()));
  return face_->txtYear().put_Text(*caption);
}

}  // namespace jv::control
