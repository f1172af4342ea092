// One instance's in-memory face on the headless runtime, with the user's input
// (clicks, keys, a container's size request) delivered to the connected handlers.
#pragma once

#include <string>
#include <vector>

#include "platform/face/face_base.h"
#include "platform/face/face_roles.h"
#include "platform/headless/headless_runtime.h"

namespace jv::headless {

// Copies n code units; one- and two-character texts (every day number) without a
// call into the library's general copy.
inline void CopyShort(char16_t* to, const char16_t* from, std::size_t n) {
  if (n <= 2) {
    if (n > 0) to[0] = from[0];
    if (n > 1) to[1] = from[1];
  } else {
    std::char_traits<char16_t>::copy(to, from, n);
  }
}

// A label's caption: day numbers are written and read hundreds of times a
// redraw, so short texts live inline and copy without touching the allocator or
// the general string routines; longer ones go to the heap.
class LabelText {
 public:
  LabelText() = default;
  explicit LabelText(TextView text) { Assign(text); }
  TextView view() const { return is_long_ ? TextView(long_) : TextView(inline_, length_); }
  void Assign(TextView text) {
    if (text.size() <= kInline) {
      CopyShort(inline_, text.data(), text.size());
      length_ = static_cast<std::uint8_t>(text.size());
      is_long_ = false;
    } else {
      long_.assign(text);
      is_long_ = true;
    }
  }
  // Copies into *out, in place when the lengths already agree.
  void CopyTo(Text* out) const {
    const TextView v = view();
    if (out->size() == v.size()) {
      CopyShort(out->data(), v.data(), v.size());
    } else {
      out->assign(v);
    }
  }
  friend bool operator==(const LabelText& a, TextView b) { return a.view() == b; }

 private:
  static constexpr std::size_t kInline = 15;
  char16_t inline_[kInline] = {};
  std::uint8_t length_ = 0;
  bool is_long_ = false;
  Text long_;
};

struct ModelLabel {
  std::string name;          // the design name: the array's for day cells, a heading's own
  std::int16_t index = platform::kNotInArray;
  LabelText caption;
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
  platform::DateFunctions& Dates() override { return noted_dates(); }

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
