// The picture box that holds the day cells: a sunken panel in its background
// colour. It hit-tests the cells (a press and a release on the same cell is a
// click) and turns key presses into virtual-key codes while it has the focus.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/qt/label_host.h"

namespace jv::qt {

class DayGridReading;

class PictureWidget final : public LabelHost {
 public:
  PictureWidget(QWidget* parent, OLE_COLOR back);

  // A click on the day cell of that index. The call may delete this widget.
  std::function<void(std::int16_t index)> on_cell_click;
  // A key with its virtual-key code and shift state.
  std::function<void(std::int16_t key_code, std::int16_t shift)> on_key_down;
  // What the day cells in it say to an assistive technology; none for a picture
  // box that holds no day grid.
  DayGridReading* reading = nullptr;

  // The day cell of the model under `pos`, or kNotInArray over a gap.
  std::int16_t CellAt(QPoint pos) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  OLE_COLOR back_;
  std::int16_t pressed_ = platform::kNotInArray;
};

}  // namespace jv::qt
