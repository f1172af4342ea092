// A ctrJornavista on the headless runtime with English regional settings, and the
// small helpers the control's tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "control/ctr_jornavista.h"
#include "platform/headless/headless_face.h"
#include "tests/face/calendar_days.h"

namespace jv::testing {


class ControlTest : public ::testing::Test {
 protected:
  ControlTest() : runtime_(English()) {}

  void Start(DATE today) {
    runtime_.clock().Set(today);
    ASSERT_EQ(control::ctrJornavista::Create(runtime_, container_, &control_), S_OK);
    container_.TakeChanged();
  }
  void Start(int y, int m, int d) { Start(Day(y, m, d)); }

  control::ctrJornavista& ctl() { return *control_; }
  const control::State& s() { return control_->state(); }
  headless::HeadlessFace& face() { return static_cast<headless::HeadlessFace&>(control_->face()); }
  std::string Caption(int index) { return ToUtf8Lossy(face().cell(static_cast<std::int16_t>(index)).caption.view()); }
  std::string DateText() { return ToUtf8Lossy(face().date_text()); }
  std::string YearText() { return ToUtf8Lossy(face().year_text()); }
  bool Highlighted(int index) {
    const headless::ModelLabel& c = face().cell(static_cast<std::int16_t>(index));
    return c.fore == kSysHighlightText && c.back == kSysHighlight;
  }
  // The cells in the highlight colours, as a list of indexes.
  std::vector<int> HighlightedCells() {
    std::vector<int> cells;
    for (int i = 1; i <= kGridCells; ++i)
      if (Highlighted(i)) cells.push_back(i);
    return cells;
  }
  void Key(std::int16_t code) { ASSERT_EQ(face().PressKey(code, 0), S_OK); }
  void Click(std::int16_t index) { ASSERT_EQ(face().ClickCell(index), S_OK); }

  headless::HeadlessRuntime runtime_;
  headless::RecordingContainer container_;
  std::unique_ptr<control::ctrJornavista> control_;
};

inline constexpr std::int16_t kUp = 38, kDown = 40, kLeft = 37, kRight = 39, kPageDown = 34, kPageUp = 33;

}  // namespace jv::testing
