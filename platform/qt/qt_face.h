// One instance's face on Qt Widgets: the surface widget that a container puts on
// its form, holding the constituent controls built from the layout. Clicks, key
// presses and the container's size requests reach the connected handlers.
#pragma once

#include <QFont>
#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime/face.h"

namespace jv::qt {

class QtRuntime;

// A windowless label (a day cell or a heading) as its parent widget paints it.
struct LabelState {
  std::string name;  // "l" for the day cells
  std::int16_t index = platform::kNotInArray;
  Text caption;
  OLE_COLOR fore = 0;
  OLE_COLOR back = 0;
  QRect rect;  // logical pixels, in the parent widget
  platform::TextAlignment alignment = platform::TextAlignment::Left;
  std::optional<QFont> font;  // none: the parent widget's font
};

class QtFace final : public platform::Face {
 public:
  // Builds every control of `layout`; see QtRuntime::CreateFace for the failures.
  [[nodiscard]] static HRESULT Build(QtRuntime& runtime, platform::Container& container,
                                     const platform::FaceLayout& layout, std::unique_ptr<QtFace>* out);
  ~QtFace() override;
  QtFace(const QtFace&) = delete;
  QtFace& operator=(const QtFace&) = delete;

  platform::LabelArray& l() override;
  platform::TextBox& txtYear() override;
  platform::TextBox& txtDate() override;
  platform::PictureBox& Picture1() override;
  platform::Frame& Frame1() override;
  platform::Surface& UserControl() override;
  platform::DateFunctions& Dates() override;
  void ConnectEvents(platform::ControlEvents* handlers) override;

  // The control's surface, created without a parent: the container puts it on its
  // form. The face deletes it unless the container deleted it first; after that
  // the face keeps working on its own state and shows nothing.
  QWidget* surface() const;
  // The widget of a constituent control ("Frame1", "Picture1", "cmdNext",
  // "cmdPrevious", "txtYear", "txtDate"); null for a windowless or unknown name.
  QWidget* widget(std::string_view name) const;
  // The name of the constituent control that has the keyboard focus within its
  // window, "" when none of this face's has it.
  std::string FocusedControl() const;

  // Where day cell `index` lies in Picture1's coordinates; empty for no such cell.
  QRect CellRect(std::int16_t index) const;
  const LabelState* cell(std::int16_t index) const;
  std::int16_t cell_count() const;
  const Text& year_text() const;
  const Text& date_text() const;
  std::int32_t width() const;  // twips
  std::int32_t height() const;

  // The container asks for a size in twips; Resize runs even when the size is
  // already that. E_INVALIDARG for a negative or oversized length, which changes
  // nothing.
  HRESULT RequestSize(std::int32_t width, std::int32_t height);

  struct Parts;

 private:
  explicit QtFace(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace jv::qt
