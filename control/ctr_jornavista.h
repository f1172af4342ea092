// ctrJornavista, the month-calendar control: its state record, its event handlers
// and the members of its automation interface. It reaches the world only through
// the Face a ControlRuntime builds for it, so the same code runs headless and in a
// window.
#pragma once

#include <memory>

#include "control/spare_text.h"
#include "control/state.h"
#include "platform/runtime/face.h"

namespace jv::control {

class ctrJornavista final : public platform::ControlEvents {
 public:
  // Builds the face from the control's layout on `runtime`, connects the event
  // handlers and runs Initialize. A failed start-up is the creation's failure.
  [[nodiscard]] static HRESULT Create(platform::ControlRuntime& runtime, platform::Container& container,
                                      std::unique_ptr<ctrJornavista>* out);
  ~ctrJornavista();
  ctrJornavista(const ctrJornavista&) = delete;
  ctrJornavista& operator=(const ctrJornavista&) = delete;

  // Members of the automation interface.
  [[nodiscard]] HRESULT get_SDate(Text* out);
  [[nodiscard]] HRESULT put_SDate(TextView New_SDate);
  [[nodiscard]] HRESULT get_BackColor(OLE_COLOR* out);
  [[nodiscard]] HRESULT put_BackColor(OLE_COLOR New_BackColor);
  [[nodiscard]] HRESULT get_ForeColor(OLE_COLOR* out);
  [[nodiscard]] HRESULT put_ForeColor(OLE_COLOR New_ForeColor);
  [[nodiscard]] HRESULT get_Enabled(VARIANT_BOOL* out);
  [[nodiscard]] HRESULT put_Enabled(VARIANT_BOOL New_Enabled);
  [[nodiscard]] HRESULT get_Font(IFont** out);
  [[nodiscard]] HRESULT putref_Font(IFont* New_Font);
  [[nodiscard]] HRESULT get_BackStyle(std::int16_t* out);
  [[nodiscard]] HRESULT put_BackStyle(std::int16_t New_BackStyle);
  [[nodiscard]] HRESULT get_BorderStyle(std::int16_t* out);
  [[nodiscard]] HRESULT put_BorderStyle(std::int16_t New_BorderStyle);
  [[nodiscard]] HRESULT Refresh();

  // Event handlers, called by the runtime's dispatch.
  HRESULT Initialize() override;
  HRESULT Resize() override;
  HRESULT InitProperties() override;
  HRESULT ReadProperties(platform::PropertyBag& bag) override;
  HRESULT WriteProperties(platform::PropertyBag& bag) override;
  HRESULT l_Click(std::int16_t& Index) override;
  HRESULT cmdNext_Click() override;
  HRESULT cmdPrevious_Click() override;
  HRESULT Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) override;

  // For hosts that show or check the control's inner state.
  const State& state() const { return s_; }
  platform::Face& face() { return *face_; }

 private:
  explicit ctrJornavista(std::unique_ptr<platform::Face> face);

  // Start-up and the one redraw sequence.
  HRESULT StartOnToday();
  HRESULT ShowMonth();
  // The grid fill and the highlight of the start-up day; both resume next.
  void FillMonthGrid();
  void ShowSelection();
  // The date-text rule: day text t becomes "t/month/year" of m_CurDate, read back
  // as a date. Fails when t names no day of that month.
  HRESULT SelectedDateOf(TextView day_text, DATE* out);
  // The same rule applied to a cell's caption.
  HRESULT SelectedDateOfCell(platform::Label& cell, DATE* out);
  // The selected date as short-date text, into the text box and into SDate.
  HRESULT ShowSelectedDateText();
  HRESULT PublishSelectedDate();
  // Paging by calendar months, no trap.
  HRESULT PageMonths(std::int32_t months);
  // The key handler's steps; its first failure ends the handling.
  HRESULT KeyDownSteps(std::int16_t key_code);
  HRESULT ArrowKey(std::int16_t step);
  HRESULT MoveCursor(std::int16_t step);
  HRESULT HighlightCursorCell();
  HRESULT StepDays(double days);
  HRESULT CommitSelection();
  // Stores a value, then tells the container; every put of a stored property.
  HRESULT NotifyChanged(TextView property_name);
  template <class T>
  HRESULT StoreAndNotify(T& held, T value, TextView property_name);

  std::unique_ptr<platform::Face> face_;
  State s_;
  SpareText spare_text_;
};

}  // namespace jv::control
