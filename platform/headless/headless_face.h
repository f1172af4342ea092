// One instance's in-memory face on the headless runtime, with the user's input
// (clicks, keys, a container's size request) delivered to the connected handlers.
#pragma once

#include <string>
#include <vector>

#include "platform/face/cell_text.h"
#include "platform/face/face_base.h"
#include "platform/face/face_roles.h"
#include "platform/headless/headless_runtime.h"

namespace jv::headless {

// A label's caption as the face holds it. A day cell's lives in the face's
// day-grid model, which every caption write feeds, so that it is stored once; a
// heading's is its own.
class LabelCaption {
 public:
  LabelCaption() = default;
  explicit LabelCaption(TextView own) : own_(own) {}
  // From now on the caption is the one the model keeps for that cell.
  void ReadFrom(platform::DayGridModel::CellEntry in_model) {
    in_model_ = in_model;
    is_in_model_ = true;
  }
  TextView view() const { return is_in_model_ ? in_model_.caption() : own_.view(); }
  friend bool operator==(const LabelCaption& a, TextView b) { return a.view() == b; }

 private:
  platform::DayGridModel::CellEntry in_model_;
  bool is_in_model_ = false;
  platform::CellText own_;
};

struct ModelLabel {
  std::string name;          // the design name: the array's for day cells, a heading's own
  std::int16_t index = platform::kNotInArray;
  LabelCaption caption;
  OLE_COLOR fore = 0;
  OLE_COLOR back = 0;
};

class HeadlessFace final : public platform::FaceBase {
 public:
  // `roles` were resolved from `layout`.
  HeadlessFace(HeadlessRuntime& runtime, platform::Container& container, const platform::FaceLayout& layout,
               const platform::FaceRoles& roles);
  ~HeadlessFace() override;

  platform::LabelArray& l() override;
  platform::TextBox& txtYear() override;
  platform::TextBox& txtDate() override;
  platform::PictureBox& Picture1() override;
  platform::Frame& Frame1() override;
  platform::Surface& UserControl() override;
  platform::DateFunctions& Dates() override;

  // The user's input. A click on an index without a cell is refused with
  // E_INVALIDARG and reaches no handler. A button click takes the keyboard focus,
  // as a push button does; a key press goes to Picture1.
  HRESULT ClickCell(std::int16_t index);
  HRESULT ClickNext();
  HRESULT ClickPrevious();
  HRESULT PressKey(std::int16_t key_code, std::int16_t shift);
  // The container asks for a size; Resize runs once both lengths are set.
  HRESULT RequestSize(std::int32_t width, std::int32_t height);

  // Inspection for hosts and tests.
  const ModelLabel& cell(std::int16_t index) const;  // 1..42
  std::int16_t cell_count() const;
  const Text& year_text() const;
  const Text& date_text() const;
  std::int32_t width() const;
  std::int32_t height() const;

  struct Parts;

 private:
  HeadlessRuntime& runtime_;
  std::unique_ptr<Parts> parts_;
};

}  // namespace jv::headless
