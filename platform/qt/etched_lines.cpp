#include "platform/qt/etched_lines.h"

#include <qdrawutil.h>

#include <QPaintDevice>
#include <algorithm>
#include <initializer_list>

namespace jv::qt {

namespace {

// Whether filled rectangles draw what Qt's aliased one-pixel lines draw: one
// device pixel to the logical pixel, no transform, plain source-over painting,
// opaque colours (a translucent one would be blended twice where two lines
// meet), and room for every line.
bool FillsMatchLines(const QPainter& p, const QRect& r, std::initializer_list<QColor> colors) {
  if (r.width() <= 5 || r.height() <= 5) return false;
  if (!qFuzzyCompare(p.device()->devicePixelRatio(), qreal(1))) return false;
  if (!p.transform().isIdentity() || p.opacity() != 1.0 || p.testRenderHint(QPainter::Antialiasing) ||
      p.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  return std::all_of(colors.begin(), colors.end(), [](const QColor& c) { return c.alpha() == 255; });
}

// A line from `a` to `b`, both ends included, along a row or a column.
void Line(QPainter& p, QPoint a, QPoint b, const QColor& color) {
  p.fillRect(QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                   QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))),
             color);
}

}  // namespace

void DrawSunkenShadeRect(QPainter& p, const QRect& r, const QPalette& pal) {
  const QColor dark = pal.dark().color(), light = pal.light().color();
  if (!FillsMatchLines(p, r, {dark, light})) {
    qDrawShadeRect(&p, r.x(), r.y(), r.width(), r.height(), pal, true, 1, 0);
    return;
  }
  const int x1 = r.x(), y1 = r.y(), x2 = r.x() + r.width() - 1, y2 = r.y() + r.height() - 1;
  // The dark rectangle one pixel short of the right and bottom edges...
  Line(p, {x1, y1}, {x2 - 1, y1}, dark);
  Line(p, {x1, y2 - 1}, {x2 - 1, y2 - 1}, dark);
  Line(p, {x1, y1}, {x1, y2 - 1}, dark);
  Line(p, {x2 - 1, y1}, {x2 - 1, y2 - 1}, dark);
  // ...and the light lines inside its top and left and along the outer bottom
  // and right.
  Line(p, {x1 + 1, y1 + 1}, {x2 - 2, y1 + 1}, light);
  Line(p, {x1 + 1, y1 + 2}, {x1 + 1, y2 - 2}, light);
  Line(p, {x1, y2}, {x2, y2}, light);
  Line(p, {x2, y1}, {x2, y2 - 1}, light);
}

void DrawSunkenWinPanel(QPainter& p, const QRect& r, const QPalette& pal) {
  const QColor outer_top = pal.dark().color(), outer_bottom = pal.light().color();
  const QColor inner_top = pal.shadow().color(), inner_bottom = pal.midlight().color();
  if (!FillsMatchLines(p, r, {outer_top, outer_bottom, inner_top, inner_bottom})) {
    qDrawWinPanel(&p, r, pal, true, nullptr);
    return;
  }
  const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
  // Four corners, each two lines, drawn in Qt's order: the outer top-left, the
  // outer bottom-right, the inner top-left, the inner bottom-right.
  Line(p, {x, y + h - 2}, {x, y}, outer_top);
  Line(p, {x, y}, {x + w - 2, y}, outer_top);
  Line(p, {x, y + h - 1}, {x + w - 1, y + h - 1}, outer_bottom);
  Line(p, {x + w - 1, y + h - 1}, {x + w - 1, y}, outer_bottom);
  Line(p, {x + 1, y + h - 3}, {x + 1, y + 1}, inner_top);
  Line(p, {x + 1, y + 1}, {x + w - 3, y + 1}, inner_top);
  Line(p, {x + 1, y + h - 2}, {x + w - 2, y + h - 2}, inner_bottom);
  Line(p, {x + w - 2, y + h - 2}, {x + w - 2, y + 1}, inner_bottom);
}

}  // namespace jv::qt
