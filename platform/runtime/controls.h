// The constituent controls as the control sees them: only the properties and
// methods it uses, each reporting an automation status. A runtime (the headless
// one, the Qt widgets) implements them; the control owns them through its Face.
#pragma once

#include <cstdint>

#include "platform/automation/font.h"
#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv::platform {

// A windowless label: a day cell of the array l, or a weekday heading.
class Label {
 public:
  [[nodiscard]] virtual HRESULT get_Caption(Text* out) = 0;
  [[nodiscard]] virtual HRESULT put_Caption(TextView caption) = 0;
  [[nodiscard]] virtual HRESULT put_ForeColor(OLE_COLOR color) = 0;
  [[nodiscard]] virtual HRESULT put_BackColor(OLE_COLOR color) = 0;

 protected:
  ~Label() = default;
};

// A control array of labels. Item fails with CTL_E_ARRAYELEMENTMISSING for an
// index without a member; the returned label belongs to the array.
class LabelArray {
 public:
  [[nodiscard]] virtual HRESULT get_Count(std::int16_t* out) = 0;
  [[nodiscard]] virtual HRESULT get_LBound(std::int16_t* out) = 0;
  [[nodiscard]] virtual HRESULT get_UBound(std::int16_t* out) = 0;
  [[nodiscard]] virtual HRESULT Item(std::int16_t index, Label** out) = 0;

 protected:
  ~LabelArray() = default;
};

class TextBox {
 public:
  [[nodiscard]] virtual HRESULT get_Text(Text* out) = 0;
  [[nodiscard]] virtual HRESULT put_Text(TextView text) = 0;

 protected:
  ~TextBox() = default;
};

class PictureBox {
 public:
  // Gives this control the keyboard focus; fails while it cannot take it.
  [[nodiscard]] virtual HRESULT SetFocus() = 0;

 protected:
  ~PictureBox() = default;
};

// Lengths are twips.
class Frame {
 public:
  [[nodiscard]] virtual HRESULT get_Width(std::int32_t* out) = 0;
  [[nodiscard]] virtual HRESULT get_Height(std::int32_t* out) = 0;

 protected:
  ~Frame() = default;
};

// The control's own surface (UserControl). A put of Width or Height resizes the
// control and raises Resize again, synchronously, when the size changed.
class Surface {
 public:
  [[nodiscard]] virtual HRESULT get_Width(std::int32_t* out) = 0;
  [[nodiscard]] virtual HRESULT put_Width(std::int32_t twips) = 0;
  [[nodiscard]] virtual HRESULT get_Height(std::int32_t* out) = 0;
  [[nodiscard]] virtual HRESULT put_Height(std::int32_t twips) = 0;
  // Tells the container that the persisted property of that name changed.
  [[nodiscard]] virtual HRESULT PropertyChanged(TextView name) = 0;
  // The container's current ambient font; a new reference in *out.
  [[nodiscard]] virtual HRESULT get_AmbientFont(IFont** out) = 0;

 protected:
  ~Surface() = default;
};

}  // namespace jv::platform
