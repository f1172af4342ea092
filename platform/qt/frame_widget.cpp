#include "platform/qt/frame_widget.h"

#include <QPaintEvent>

#include "platform/qt/design_values.h"
#include "platform/qt/etched_lines.h"

namespace jv::qt {

const FrameWidget::Measure& FrameWidget::Measured() {
  if (measured_.height == 0 || !measured_.font.isCopyOf(font())) {
    const QFontMetrics metrics(font());
    measured_ = {font(), metrics.height(), metrics.horizontalAdvance(caption_)};
  }
  return measured_;
}

void FrameWidget::paintEvent(QPaintEvent* event) {
  // A repaint under a button or a text box touches neither the etched border nor
  // the caption: what lies wholly outside the dirty rectangle (the bound of the
  // painter's clip) is left out, which paints the same pixels.
  const QRect dirty = event->rect();
  QPainter p(this);
  const QPalette& pal = palette();
  p.fillRect(dirty & rect(), Resolve(kSysButtonFace, pal));
  const Measure& metrics = Measured();
  const int line = metrics.height / 2;
  const QRect shade(0, line, width(), height() - line);
  // The two-pixel etched lines, with a pixel to spare.
  constexpr int kShadeBand = 3;
  if (!shade.adjusted(kShadeBand, kShadeBand, -kShadeBand, -kShadeBand).contains(dirty))
    DrawSunkenShadeRect(p, shade, pal);
  if (!caption_.isEmpty()) {
    const QRect text(8, 0, metrics.caption_width + 4, metrics.height);
    // Glyphs may reach a little past their advance.
    if (text.adjusted(-kShadeBand, -kShadeBand, kShadeBand, kShadeBand).intersects(dirty)) {
      p.fillRect(text, Resolve(kSysButtonFace, pal));
      p.setPen(Resolve(kSysButtonText, pal));
      p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption_);
    }
  }
  PaintLabels(p, dirty);
}

}  // namespace jv::qt
