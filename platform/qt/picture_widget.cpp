#include "platform/qt/picture_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <utility>

#include "platform/qt/day_grid_reading.h"
#include "platform/qt/design_values.h"
#include "platform/qt/etched_lines.h"
#include "platform/qt/virtual_keys.h"

namespace jv::qt {

namespace {

// The sunken border; the interior, where the day cells are placed, starts inside it.
constexpr int kPictureBorder = 2;

}  // namespace

PictureWidget::PictureWidget(QWidget* parent, OLE_COLOR back) : LabelHost(parent), back_(back) {
  interior = {kPictureBorder, kPictureBorder};
  setFocusPolicy(Qt::StrongFocus);
  // Opaque only from its first paint on (below): until then the frame paints
  // beneath it as well, under a plain rectangular clip, which costs far less
  // than drawing the frame around a hole; the picture box then covers it.
}

std::int16_t PictureWidget::CellAt(QPoint pos) const {
  // The cells' places are the model's, rounded to pixels as they are painted; the
  // last of overlapping cells is the one on top.
  if (model == nullptr) return platform::kNotInArray;
  for (int child = model->count() - 1; child >= 0; --child) {
    const std::int16_t index = model->IndexOfChild(child);
    if (CellRect(index).contains(pos)) return index;
  }
  return platform::kNotInArray;
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  // The sunken border, unless the dirty rectangle lies wholly inside it (a
  // pixel to spare): a repaint of the cells alone leaves it as it is.
  if (!rect().adjusted(kPictureBorder + 1, kPictureBorder + 1, -kPictureBorder - 1, -kPictureBorder - 1)
           .contains(event->rect()))
    DrawSunkenWinPanel(p, rect(), palette());
  const Beneath interior{Resolve(back_, palette()),
                         rect().adjusted(kPictureBorder, kPictureBorder, -kPictureBorder, -kPictureBorder)};
  p.fillRect(interior.area, interior.color);
  PaintLabels(p, event->rect(), interior);
  // Every pixel of the widget is painted above (the border and the interior):
  // later repaints of the cells need nothing from the frame beneath.
  if (!testAttribute(Qt::WA_OpaquePaintEvent)) setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = CellAt(event->position().toPoint());
}

void PictureWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const std::int16_t pressed = std::exchange(pressed_, platform::kNotInArray);
  if (pressed == platform::kNotInArray || CellAt(event->position().toPoint()) != pressed || !on_cell_click) return;
  // The handler may delete this widget, and the callback with it: call a copy, and
  // touch nothing after it.
  const auto click = on_cell_click;
  click(pressed);
}

void PictureWidget::keyPressEvent(QKeyEvent* event) {
  const std::optional<std::int16_t> code = VirtualKeyOf(*event);
  if (!code) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  if (!on_key_down) return;
  const auto key_down = on_key_down;
  key_down(*code, ShiftStateOf(event->modifiers()));
}

}  // namespace jv::qt

namespace jv::qt {

void PictureWidget::focusInEvent(QFocusEvent* event) {
  LabelHost::focusInEvent(event);
  if (reading != nullptr) reading->GridFocused();
}

}  // namespace jv::qt
