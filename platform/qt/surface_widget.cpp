#include "platform/qt/surface_widget.h"

#include <QPaintEvent>
#include <QResizeEvent>

namespace jv::qt {

SurfaceWidget::SurfaceWidget() : LabelHost(nullptr) {
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  PaintLabels(p, event->rect());
}

void SurfaceWidget::resizeEvent(QResizeEvent* event) {
  if (on_resized) on_resized(event->size());
}

}  // namespace jv::qt
