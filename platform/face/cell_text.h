// A label's caption as faces and the day-grid model keep it: day numbers are
// written and read hundreds of times a redraw, so short texts live inline and copy
// without touching the allocator or the general string routines; longer ones go to
// the heap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/automation/types.h"

namespace jv::platform {

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

class CellText {
 public:
  CellText() = default;
  explicit CellText(TextView text) { Assign(text); }
  CellText(const CellText& other) { Assign(other.view()); }
  CellText& operator=(const CellText& other) {
    if (this != &other) Assign(other.view());
    return *this;
  }
  CellText(CellText&& other) noexcept { *this = std::move(other); }
  CellText& operator=(CellText&& other) noexcept {
    if (this == &other) return *this;
    std::char_traits<char16_t>::copy(inline_, other.inline_, kInline);
    length_ = other.length_;
    is_long_ = other.is_long_;
    long_ = std::move(other.long_);
    other.length_ = 0;
    other.is_long_ = false;  // left empty, its long string gone with the move
    return *this;
  }

  TextView view() const { return is_long_ ? TextView(*long_) : TextView(inline_, length_); }
  std::size_t size() const { return is_long_ ? long_->size() : length_; }
  bool empty() const { return size() == 0; }
  void Assign(TextView text) {
    if (text.size() <= kInline) {
      CopyShort(inline_, text.data(), text.size());
      length_ = static_cast<std::uint8_t>(text.size());
      is_long_ = false;
    } else {
      AssignLong(text);
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
  // Equal texts; the short case compares in place, without the library's compare.
  friend bool operator==(const CellText& a, TextView b) {
    if (a.is_long_) return TextView(*a.long_) == b;
    if (a.length_ != b.size()) return false;
    if (a.length_ <= 2) return (a.length_ < 1 || a.inline_[0] == b[0]) && (a.length_ < 2 || a.inline_[1] == b[1]);
    return std::char_traits<char16_t>::compare(a.inline_, b.data(), a.length_) == 0;
  }

 private:
  static constexpr std::size_t kInline = 15;
  // A long text goes to a string of its own, made on the first and kept for the next.
  [[gnu::noinline]] void AssignLong(TextView text) {
    if (long_ == nullptr) {
      long_ = std::make_unique<Text>(text);
    } else {
      long_->assign(text);
    }
    is_long_ = true;
  }

  char16_t inline_[kInline] = {};
  std::uint8_t length_ = 0;
  bool is_long_ = false;
  std::unique_ptr<Text> long_;
};

}  // namespace jv::platform
