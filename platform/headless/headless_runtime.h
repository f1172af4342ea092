// The headless runtime: in-memory constituent controls built from a FaceLayout, a
// clock the host sets, a container that records every change notice, keyboard
// focus tracking, a journal of every write, and fault injection on every operation.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dates/standard_date_functions.h"
#include "platform/face/face_roles.h"
#include "platform/headless/fault_injector.h"
#include "platform/runtime/face.h"

namespace jv::headless {

class ManualClock final : public platform::Clock {
 public:
  DATE Today() const override { return today_; }
  void Set(DATE today) { today_ = today; }

 private:
  DATE today_ = dates::SystemToday();
};

// The container side: records the names of PropertyChanged in order and hands out
// its ambient font.
class RecordingContainer final : public platform::Container {
 public:
  HRESULT OnPropertyChanged(TextView name) override;
  HRESULT GetAmbientFont(IFont** out) override;

  void SetAmbientFont(FontRef font) { ambient_font_ = std::move(font); }
  const std::vector<std::string>& changed() const { return changed_; }
  // The names recorded since the previous call.
  std::vector<std::string> TakeChanged() { return std::exchange(changed_, {}); }

 private:
  std::vector<std::string> changed_;
  FontRef ambient_font_;
};

// Every write to a constituent control, every focus change and every change notice,
// in order, while enabled: the sequence tests compare with the expected one.
class Journal {
 public:
  // While it records, every operation of `faults` is watched, so that the faces'
  // fast paths leave every write to the checked path, which records it.
  explicit Journal(FaultInjector& faults) : faults_(faults) {}
  void Enable(bool on) {
    enabled_ = on;
    faults_.WatchAll(on);
  }
  bool enabled() const { return enabled_; }
  void Record(std::string entry) {
    if (enabled_) entries_.push_back(std::move(entry));
  }
  const std::vector<std::string>& entries() const { return entries_; }
  std::vector<std::string> Take() { return std::exchange(entries_, {}); }

 private:
  FaultInjector& faults_;
  bool enabled_ = false;
  std::vector<std::string> entries_;
};

class HeadlessFace;
class FaultingDateFunctions;

class HeadlessRuntime final : public platform::ControlRuntime {
 public:
  // The runtime keeps its own copy of the settings, so a temporary may be passed.
  explicit HeadlessRuntime(dates::RegionalSettings settings = dates::RegionalSettings::Current());
  ~HeadlessRuntime();

  HRESULT CreateFace(const platform::FaceLayout& layout, platform::Container& container,
                     std::unique_ptr<platform::Face>* out) override;

  ManualClock& clock() { return clock_; }
  FaultInjector& faults() { return faults_; }
  Journal& journal() { return journal_; }
  platform::DateFunctions& dates();
  // The same, by their own type, for a face that calls them directly.
  FaultingDateFunctions& faulting_dates() { return *dates_; }

  // The name of the constituent control that has the keyboard focus ("" for none).
  const std::string& focus() const { return focus_; }
  void SetFocusTo(std::string name);

 private:
  // The roles of the last constant layout this runtime built a face from, and
  // where that layout's table lies: a constant table never changes, so a face
  // built from the same table again needs no second check.
  struct ResolvedLayout {
    const platform::ControlDesign* controls = nullptr;
    std::size_t size = 0;
    std::int32_t design_width = 0, design_height = 0;
    platform::FaceRoles roles;
    bool Matches(const platform::FaceLayout& layout) const {
      return layout.constant && layout.controls.data() == controls && layout.controls.size() == size &&
             layout.design_width == design_width && layout.design_height == design_height;
    }
  };

  dates::RegionalSettings settings_;
  ManualClock clock_;
  FaultInjector faults_;
  Journal journal_{faults_};
  std::unique_ptr<FaultingDateFunctions> dates_;
  std::string focus_;
  std::optional<ResolvedLayout> resolved_;
};

}  // namespace jv::headless
