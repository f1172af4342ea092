// The windowing runtime on Qt Widgets: builds each instance's face as real widgets
// from a FaceLayout, and supplies the date functions with a clock the host sets.
#pragma once

#include <memory>
#include <optional>

#include "platform/dates/regional_settings.h"
#include "platform/dates/standard_date_functions.h"
#include "platform/runtime/clock.h"
#include "platform/runtime/face.h"

namespace jv::qt {

// Today from the system's local date until a host sets one.
class SettableClock final : public platform::Clock {
 public:
  DATE Today() const override;
  void Set(DATE today) { today_ = today; }
  void UseSystemDate() { today_.reset(); }

 private:
  std::optional<DATE> today_;
};

class QtFace;

// Faces are built on the thread of the QApplication, which must exist first; the
// runtime outlives every face it built.
class QtRuntime final : public platform::ControlRuntime {
 public:
  // The runtime keeps its own copy of the settings, so a temporary may be passed.
  explicit QtRuntime(dates::RegionalSettings settings = dates::RegionalSettings::Current());
  ~QtRuntime();
  QtRuntime(const QtRuntime&) = delete;
  QtRuntime& operator=(const QtRuntime&) = delete;

  // E_UNEXPECTED without a QApplication, RPC_E_WRONG_THREAD off its thread,
  // E_INVALIDARG for a layout that lacks a control the face needs or names a parent
  // before building it.
  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override;

  SettableClock& clock() { return clock_; }
  platform::DateFunctions& dates() { return dates_; }
  const dates::RegionalSettings& settings() const { return settings_; }

 private:
  // In this order: the date functions keep references to the two before them.
  dates::RegionalSettings settings_;
  SettableClock clock_;
  dates::StandardDateFunctions dates_;
};

}  // namespace jv::qt
