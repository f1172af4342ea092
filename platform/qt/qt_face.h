// One instance's face on Qt Widgets: the surface widget that a container puts on
// its form, holding the constituent controls built from the layout. Clicks, key
// presses and the container's size requests reach the connected handlers.
#pragma once

#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/face/day_cell_array.h"
#include "platform/face/face_base.h"
#include "platform/qt/day_grid_reading.h"
#include "platform/qt/qt_controls.h"

namespace jv::qt {

class QtRuntime;

class QtFace final : public platform::HeldControlsFace {
 public:
  // Builds every control of `layout` (qt_face_builder.cpp); see QtRuntime::CreateFace
  // for the failures.
  [[nodiscard]] static HRESULT Build(QtRuntime& runtime, platform::Container& container,
                                     const platform::FaceLayout& layout, std::unique_ptr<QtFace>* out);
  ~QtFace() override;
  QtFace(const QtFace&) = delete;
  QtFace& operator=(const QtFace&) = delete;

  // The control's surface, created without a parent: the container puts it on its
  // form. The face deletes it unless the container deleted it first; after that
  // the face keeps working on its own state and shows nothing.
  QWidget* surface() const { return surface_.widget.data(); }
  // The widget of a constituent control by its design name (the frame, the
  // picture box, the buttons, the text boxes); null for a windowless or unknown name.
  QWidget* widget(std::string_view name) const;
  // The name of the constituent control that has the keyboard focus within its
  // window, "" when none of this face's has it.
  std::string FocusedControl() const;

  // Where day cell `index` lies in Picture1's coordinates; empty for no such cell.
  QRect CellRect(std::int16_t index) const;
  // What day cell `index` shows: its caption and colours; none for no such cell.
  struct CellLook {
    Text caption;
    OLE_COLOR fore = 0, back = 0;
  };
  std::optional<CellLook> cell(std::int16_t index) const;
  std::int16_t cell_count() const { return l_.count(); }
  const Text& year_text() const { return txtYear_.text; }
  const Text& date_text() const { return txtDate_.text; }
  std::int32_t width() const { return surface_.width(); }  // twips
  std::int32_t height() const { return surface_.height(); }

  // The container asks for a size in twips; Resize runs even when the size is
  // already that. E_INVALIDARG for a negative or oversized length, which changes
  // nothing.
  HRESULT RequestSize(std::int32_t width, std::int32_t height) { return surface_.Request(width, height); }

  // The user's day click and key press as the widgets deliver them (the accessible
  // day cell's action too). The handler's status has nobody to go to.
  void ClickCell(std::int16_t index);
  void PressKey(std::int16_t key_code, std::int16_t shift);

 private:
  QtFace(QtRuntime& runtime, platform::Container& container);

  // Runs one input event with the grid's reading following the cursor; the face
  // is left alone afterwards if the handler destroyed it.
  template <class Deliver>
  void DeliverInput(Deliver deliver);
  // Records the widget made for a control; a later one of the same name replaces it.
  void Keep(std::string_view name, QWidget* made);

  QtRuntime& runtime_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  DayCells l_;
  std::vector<HeadingLabel> other_labels_;  // sized once: widgets point at them
  LineEditTextBox txtYear_, txtDate_;
  WidgetPictureBox picture_;
  platform::DesignSizedFrame frame_;
  WidgetSurface surface_;
  // The constituent controls' widgets by design name, in the layout's order.
  std::vector<std::pair<std::string, QPointer<QWidget>>> widgets_;
  std::unique_ptr<DayGridReading> reading_;  // made with the model, in Build
};

}  // namespace jv::qt
