#include "platform/qt/frame_widget.h"

#include <qdrawutil.h>

#include <QPaintEvent>

#include "platform/qt/design_values.h"

namespace jv::qt {

void FrameWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(rect(), Resolve(kSysButtonFace, pal));
  const QFontMetrics metrics(font());
  const int line = metrics.height() / 2;
  qDrawShadeRect(&p, 0, line, width(), height() - line, pal, true, 1, 0);
  if (!caption_.isEmpty()) {
    const QRect text(8, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
    p.fillRect(text, Resolve(kSysButtonFace, pal));
    p.setPen(Resolve(kSysButtonText, pal));
    p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption_);
  }
  PaintLabels(p, event->rect());
}

}  // namespace jv::qt
