// The constituent controls whose state every runtime keeps the same way: a frame
// that reports its design size, and the text a text box holds. A runtime derives
// from them to show the value or to count the calls.
#pragma once

#include <cstdint>

#include "platform/face/out_parameter.h"
#include "platform/runtime/controls.h"

namespace jv::platform {

// Frame1 is never resized after it is built: its size is its design size, twips.
class DesignSizedFrame : public Frame {
 public:
  HRESULT get_Width(std::int32_t* out) override { return WriteOut(out, width); }
  HRESULT get_Height(std::int32_t* out) override { return WriteOut(out, height); }

  std::int32_t width = 0, height = 0;
};

// The text is the store; what a runtime shows follows it in its put_Text.
class TextBoxBase : public TextBox {
 public:
  HRESULT get_Text(Text* out) override { return WriteOut(out, text); }

  Text text;

 protected:
  ~TextBoxBase() = default;
};

}  // namespace jv::platform
