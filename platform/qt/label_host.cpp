#include "platform/qt/label_host.h"

#include <QPointer>
#include <QStaticText>
#include <QVarLengthArray>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/design_values.h"
#include "platform/qt/shaped_text_cache.h"

namespace jv::qt {

namespace {

// The batches open now, and the repaints they hold back: each host once, with its
// rectangles. A host deleted meanwhile drops out of `hosts` by itself.
struct PendingRepaints {
  int depth = 0;
  std::vector<QPointer<LabelHost>> hosts;
  std::vector<std::pair<const LabelHost*, QRect>> rects;
};

PendingRepaints& Pending() {
  static PendingRepaints pending;
  return pending;
}

// The font's key, which the shaped-text cache is keyed by. Computing a key costs
// more than drawing a caption, and a painter set to a widget's font shares that
// font's data, so the last few fonts are remembered by identity (each kept
// alive here, so that its data cannot be reused by another font meanwhile).
const QString& KeyOf(const QFont& font) {
  struct Keyed {
    QFont font;
    QString key;
  };
  static std::vector<Keyed> recent;
  constexpr std::size_t kRemembered = 4;
  for (const Keyed& k : recent)
    if (k.font.isCopyOf(font)) return k.key;
  if (recent.size() >= kRemembered) recent.erase(recent.begin());
  recent.push_back({font, font.key()});
  return recent.back().key;
}

// Past this many distinct rectangles a host is updated once, by their bound.
constexpr std::size_t kSeparateUpdates = 8;

void Flush(PendingRepaints& pending) {
  // Taken out first: an update may run nothing, but nothing here may see the
  // lists change while it walks them.
  std::vector<QPointer<LabelHost>> hosts;
  std::vector<std::pair<const LabelHost*, QRect>> rects;
  hosts.swap(pending.hosts);
  rects.swap(pending.rects);
  for (const QPointer<LabelHost>& host : hosts) {
    if (host.isNull()) continue;
    QVarLengthArray<QRect, 16> own;
    for (const auto& [whose, rect] : rects)
      if (whose == host.data() && std::find(own.begin(), own.end(), rect) == own.end()) own.append(rect);
    if (own.size() <= static_cast<qsizetype>(kSeparateUpdates)) {
      for (const QRect& rect : own) host->update(rect);
    } else {
      QRect bound;
      for (const QRect& rect : own) bound |= rect;
      host->update(bound);
    }
  }
  // The storage is kept for the next batch.
  hosts.clear();
  rects.clear();
  if (pending.hosts.empty()) pending.hosts.swap(hosts);
  if (pending.rects.empty()) pending.rects.swap(rects);
}

}  // namespace

RepaintBatch::RepaintBatch() { ++Pending().depth; }

RepaintBatch::~RepaintBatch() {
  PendingRepaints& pending = Pending();
  if (--pending.depth == 0 && !pending.rects.empty()) Flush(pending);
}

void LabelHost::Invalidate(const LabelState& label) {
  const QRect rect = RectOf(label);
  PendingRepaints& pending = Pending();
  if (pending.depth == 0) {
    update(rect);
    return;
  }
  if (std::none_of(pending.hosts.begin(), pending.hosts.end(),
                   [this](const QPointer<LabelHost>& host) { return host.data() == this; }))
    pending.hosts.emplace_back(this);
  pending.rects.emplace_back(this, rect);
}

LabelHost::~LabelHost() { DropLabels(); }

void LabelHost::DropLabels() {
  for (LabelState* label : labels) label->host = nullptr;
  labels.clear();
  label_fonts.clear();
  model = nullptr;
}

void LabelHost::Place(LabelState& label, std::optional<QFont> font) {
  label.host = this;
  labels.push_back(&label);
  overlap_ = Overlap::Unknown;
  if (font) label_fonts.emplace_back(&label, std::move(*font));
}

QRect LabelHost::CellRect(std::int16_t index) const {
  if (model == nullptr || !model->Has(index)) return {};
  const platform::TwipsRect r = model->RectOf(index);
  return ToPixels(r.left, r.top, r.width, r.height).translated(interior);
}

QRect LabelHost::RectOf(const LabelState& label) const {
  return label.day_cell ? CellRect(label.index) : static_cast<const HeadingState&>(label).rect;
}

TextView LabelHost::CaptionOf(const LabelState& label) const {
  if (!label.day_cell) return static_cast<const HeadingState&>(label).caption;
  return model != nullptr ? model->CaptionOf(label.index) : TextView();
}

bool LabelHost::LabelsOverlap() {
  // Labels keep their places for good (the layout's, or the model's for a day
  // cell), so whether any two overlap is worked out once, when first painted.
  if (overlap_ == Overlap::Unknown) {
    QVarLengthArray<QRect, 64> rects;
    for (const LabelState* label : labels) rects.append(RectOf(*label));
    overlap_ = Overlap::None;
    for (qsizetype i = 0; i < rects.size() && overlap_ == Overlap::None; ++i)
      for (qsizetype j = 0; j < i; ++j)
        if (rects[i].intersects(rects[j])) overlap_ = Overlap::Some;
  }
  return overlap_ == Overlap::Some;
}

void LabelHost::PaintLabels(QPainter& p, const QRect& dirty, const Beneath& beneath) {
  const QPalette& pal = palette();
  const bool labels_overlap = LabelsOverlap();
  // The labels painted so far in this pass, where labels overlap: a label over
  // none of them lies on the host's own fill alone.
  QVarLengthArray<QRect, 64> painted;
  // The pen the painter holds, while known.
  QColor pen;
  p.setFont(font());
  const QFont* current = nullptr;
  QString font_key = KeyOf(p.font());
  // The colours and font are the ones written to the label; the model holds none.
  for (const LabelState* label : labels) {
    const QRect rect = RectOf(*label);
    if (!rect.intersects(dirty)) continue;
    const QColor back = Resolve(label->back, pal);
    // Filling an opaque colour over the same colour changes no pixel: a day cell
    // in the grid's own background colour is not filled again.
    const bool on_same_fill = back.alpha() == 255 && back == beneath.color && beneath.area.contains(rect) &&
                              (!labels_overlap ||
                               std::none_of(painted.begin(), painted.end(),
                                            [&rect](const QRect& under) { return under.intersects(rect); }));
    if (!on_same_fill) p.fillRect(rect, back);
    if (labels_overlap) painted.append(rect);
    const TextView caption = CaptionOf(*label);
    if (caption.empty()) continue;
    const QFont* wanted = nullptr;
    for (const auto& [whose, own] : label_fonts)
      if (whose == label) wanted = &own;
    if (wanted != current) {
      p.setFont(wanted ? *wanted : font());
      current = wanted;
      font_key = KeyOf(p.font());
    }
    const QStaticText& text = ShapedText(caption, p.font(), font_key);
    const QSizeF size = text.size();
    const int x = label->centered
                      ? rect.left() + static_cast<int>((rect.width() - size.width()) / 2)
                      : rect.left();
    const bool overflows = size.width() > rect.width() || size.height() > rect.height();
    if (overflows) {
      p.save();
      p.setClipRect(rect, Qt::IntersectClip);
    }
    if (const QColor fore = Resolve(label->fore, pal); overflows || fore != pen) {
      p.setPen(fore);
      pen = overflows ? QColor() : fore;
    }
    p.drawStaticText(QPoint(x, rect.top()), text);
    if (overflows) p.restore();
  }
}

}  // namespace jv::qt
