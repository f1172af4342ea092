// Failure on demand for the headless runtime: any named operation can be made to
// fail, on every call or only on its Nth call after arming, so that each failure
// path of the control is exercised rather than assumed.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/automation/hresult.h"

namespace jv::headless {

// Every operation of the runtime and the container that the control calls.
#define JV_MODEL_OPERATIONS(X)                         \
  X(l_Count, "l.Count")                                \
  X(l_LBound, "l.LBound")                              \
  X(l_UBound, "l.UBound")                              \
  X(l_Item, "l.Item")                                  \
  X(Caption_get, "l.Caption.get")                      \
  X(Caption_put, "l.Caption.put")                      \
  X(ForeColor_put, "l.ForeColor.put")                  \
  X(BackColor_put, "l.BackColor.put")                  \
  X(txtYear_Text_get, "txtYear.Text.get")              \
  X(txtYear_Text_put, "txtYear.Text.put")              \
  X(txtDate_Text_get, "txtDate.Text.get")              \
  X(txtDate_Text_put, "txtDate.Text.put")              \
  X(Picture1_SetFocus, "Picture1.SetFocus")            \
  X(Frame1_Width_get, "Frame1.Width.get")              \
  X(Frame1_Height_get, "Frame1.Height.get")            \
  X(UserControl_Width_put, "UserControl.Width.put")    \
  X(UserControl_Height_put, "UserControl.Height.put")  \
  X(PropertyChanged, "PropertyChanged")                \
  X(AmbientFont, "AmbientFont")                        \
  X(Today, "Today")                                    \
  X(DayOfMonth, "DayOfMonth")                          \
  X(Month, "Month")                                    \
  X(Year, "Year")                                      \
  X(Weekday, "Weekday")                                \
  X(AddDays, "AddDays")                                \
  X(AddMonths, "AddMonths")                            \
  X(FormatMonthCaption, "FormatMonthCaption")          \
  X(FormatShortDate, "FormatShortDate")                \
  X(TextToDate, "TextToDate")                          \
  X(NumberToText, "NumberToText")                      \
  X(ReadProperty, "bag.ReadProperty")                  \
  X(WriteProperty, "bag.WriteProperty")

enum class Operation : std::uint8_t {
#define JV_X(id, name) id,
  JV_MODEL_OPERATIONS(JV_X)
#undef JV_X
      kCount
};

inline constexpr std::size_t kOperationCount = static_cast<std::size_t>(Operation::kCount);

std::string_view OperationName(Operation op);
std::optional<Operation> OperationByName(std::string_view name);

class FaultInjector {
 public:
  // From now on `op` fails with `status`: on every call (nth 0), or only on the
  // nth call counted from this arming.
  void Arm(Operation op, std::uint32_t nth = 0, HRESULT status = E_FAIL);
  void Disarm(Operation op);
  void DisarmAll();

  // Whether a fault is armed for the operation: while none is, Check reports
  // S_OK and counts nothing, so a caller may skip it.
  bool Armed(Operation op) const { return slots_[static_cast<std::size_t>(op)].armed; }
  // Whether a call of the operation must take its checked path: a fault is armed
  // for it, or every call is watched (the journal records them). One look for a
  // face's fast paths; it may stay set after a one-shot fault is spent, which only
  // sends calls the checked way, never the other.
  bool Watched(Operation op) const { return watched_[static_cast<std::size_t>(op)]; }
  // Watches every operation (on), or again only those with a fault armed.
  void WatchAll(bool on);

  // What the operation reports for this call; S_OK unless armed.
  [[nodiscard]] HRESULT Check(Operation op) {
    Slot& s = slots_[static_cast<std::size_t>(op)];
    if (!s.armed) return S_OK;
    return Trip(s);
  }

 private:
  struct Slot {
    bool armed = false;
    std::uint32_t nth = 0;
    std::uint32_t calls = 0;
    HRESULT status = E_FAIL;
  };
  static HRESULT Trip(Slot& s);

  std::array<Slot, kOperationCount> slots_{};
  // watched_[i] is slots_[i].armed or watch_all_, kept by every change of either.
  std::array<bool, kOperationCount> watched_{};
  bool watch_all_ = false;
};

}  // namespace jv::headless
