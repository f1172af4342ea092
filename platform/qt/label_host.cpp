#include "platform/qt/label_host.h"

#include <QStaticText>

#include "platform/qt/design_values.h"
#include "platform/qt/shaped_text_cache.h"

namespace jv::qt {

void LabelHost::PaintLabels(QPainter& p, const QRect& dirty) {
  const QPalette& pal = palette();
  p.setFont(font());
  const QFont* current = nullptr;
  QString font_key = p.font().key();
  for (const LabelState* label : labels) {
    if (!label->rect.intersects(dirty)) continue;
    p.fillRect(label->rect, Resolve(label->back, pal));
    if (label->caption.empty()) continue;
    const QFont* wanted = label->font ? &*label->font : nullptr;
    if (wanted != current) {
      p.setFont(wanted ? *wanted : font());
      current = wanted;
      font_key = p.font().key();
    }
    const QStaticText& text = ShapedText(ToQString(label->caption), p.font(), font_key);
    const QSizeF size = text.size();
    const int x = label->alignment == platform::TextAlignment::Center
                      ? label->rect.left() + static_cast<int>((label->rect.width() - size.width()) / 2)
                      : label->rect.left();
    const bool overflows = size.width() > label->rect.width() || size.height() > label->rect.height();
    if (overflows) {
      p.save();
      p.setClipRect(label->rect, Qt::IntersectClip);
    }
    p.setPen(Resolve(label->fore, pal));
    p.drawStaticText(QPoint(x, label->rect.top()), text);
    if (overflows) p.restore();
  }
}

}  // namespace jv::qt
