// A text buffer that the control's routines borrow for a text they format and
// pass straight on (the month caption, the short date): its capacity stays with
// the control, so that a redraw formats without allocating. Only capacity is
// kept: a borrowed text starts empty. A routine that borrows it while another
// holds it (a nested call) gets an empty text of its own.
#pragma once

#include <utility>

#include "platform/automation/types.h"

namespace jv::control {

class SpareText {
 public:
  class Borrowed {
   public:
    explicit Borrowed(SpareText& spare) : spare_(spare), text_(std::move(spare.text_)) { text_.clear(); }
    ~Borrowed() { spare_.text_ = std::move(text_); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;

    Text* get() { return &text_; }
    const Text& operator*() const { return text_; }

   private:
    SpareText& spare_;
    Text text_;
  };

 private:
  Text text_;
};

}  // namespace jv::control
