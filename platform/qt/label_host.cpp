#include "platform/qt/label_host.h"

#include <QStaticText>

#include "platform/qt/design_values.h"
#include "platform/qt/shaped_text_cache.h"

namespace jv::qt {

LabelHost::~LabelHost() {
  for (LabelState* label : labels) label->host = nullptr;
}

void LabelHost::Place(LabelState& label) {
  label.host = this;
  labels.push_back(&label);
}

QRect LabelHost::CellRect(std::int16_t index) const {
  if (model == nullptr || !model->Has(index)) return {};
  const platform::TwipsRect r = model->RectOf(index);
  return ToPixels(r.left, r.top, r.width, r.height).translated(interior);
}

QRect LabelHost::RectOf(const LabelState& label) const {
  return label.day_cell && model != nullptr ? CellRect(label.index) : label.rect;
}

TextView LabelHost::CaptionOf(const LabelState& label) const {
  return label.day_cell && model != nullptr ? model->CaptionOf(label.index) : TextView(label.caption);
}

void LabelHost::PaintLabels(QPainter& p, const QRect& dirty) {
  const QPalette& pal = palette();
  p.setFont(font());
  const QFont* current = nullptr;
  QString font_key = p.font().key();
  // The colours and font are the ones written to the label; the model holds none.
  for (const LabelState* label : labels) {
    const QRect rect = RectOf(*label);
    if (!rect.intersects(dirty)) continue;
    p.fillRect(rect, Resolve(label->back, pal));
    const TextView caption = CaptionOf(*label);
    if (caption.empty()) continue;
    const QFont* wanted = label->font.get();
    if (wanted != current) {
      p.setFont(wanted ? *wanted : font());
      current = wanted;
      font_key = p.font().key();
    }
    const QStaticText& text = ShapedText(ToQString(caption), p.font(), font_key);
    const QSizeF size = text.size();
    const int x = label->alignment == platform::TextAlignment::Center
                      ? rect.left() + static_cast<int>((rect.width() - size.width()) / 2)
                      : rect.left();
    const bool overflows = size.width() > rect.width() || size.height() > rect.height();
    if (overflows) {
      p.save();
      p.setClipRect(rect, Qt::IntersectClip);
    }
    p.setPen(Resolve(label->fore, pal));
    p.drawStaticText(QPoint(x, rect.top()), text);
    if (overflows) p.restore();
  }
}

}  // namespace jv::qt
