// The two sunken borders the face draws (the frame's etched rectangle and the
// picture box's panel), as the same pixels Qt's qDrawShadeRect and qDrawWinPanel
// draw, made of filled rectangles. Qt strokes each line with a cosmetic pen,
// which under the clip of a partly covered widget costs more than the rest of
// the frame's painting; a filled rectangle is clipped span by span. Where the
// two could differ (a scaled or transformed painter, translucent colours, a
// border too small to have an inside) Qt's own function draws instead.
#pragma once

#include <QPainter>
#include <QPalette>
#include <QRect>

namespace jv::qt {

// qDrawShadeRect(p, r, pal, sunken = true, lineWidth = 1, midLineWidth = 0).
void DrawSunkenShadeRect(QPainter& p, const QRect& r, const QPalette& pal);
// qDrawWinPanel(p, r, pal, sunken = true, fill = nullptr).
void DrawSunkenWinPanel(QPainter& p, const QRect& r, const QPalette& pal);

}  // namespace jv::qt
