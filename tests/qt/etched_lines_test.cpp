// The face's sunken borders drawn with filled rectangles must be Qt's own
// qDrawShadeRect and qDrawWinPanel pixel for pixel, wherever they take over from
// them: every size, under a clip with a hole, in any palette, and where they
// hand back to Qt (a scaled device, translucent colours, a tiny border).
#include <qdrawutil.h>

#include <QPainter>
#include <QRegion>

#include "platform/qt/etched_lines.h"
#include "tests/qt/qt_test_support.h"

namespace jv::testing {
namespace {

// Every role the two borders use in a colour of its own, so that a line in the
// wrong colour or place shows.
QPalette Distinct(int alpha = 255) {
  QPalette pal;
  pal.setColor(QPalette::Dark, QColor(10, 20, 200, alpha));
  pal.setColor(QPalette::Light, QColor(200, 30, 20, alpha));
  pal.setColor(QPalette::Shadow, QColor(20, 180, 40, alpha));
  pal.setColor(QPalette::Midlight, QColor(230, 220, 10, alpha));
  pal.setColor(QPalette::Button, QColor(90, 90, 90, alpha));
  pal.setColor(QPalette::Mid, QColor(150, 10, 150, alpha));
  return pal;
}

enum class Border { ShadeRect, WinPanel };

QImage Draw(Border border, bool ours, QSize size, const QPalette& pal, bool clipped, qreal scale) {
  QImage image(QSize(90, 80) * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(QColor(255, 0, 255));
  QPainter p(&image);
  if (clipped) p.setClipRegion(QRegion(0, 0, 90, 80) - QRegion(9, 7, 30, 12));
  const QRect r(QPoint(3, 2), size);
  if (border == Border::ShadeRect) {
    if (ours)
      qt::DrawSunkenShadeRect(p, r, pal);
    else
      qDrawShadeRect(&p, r.x(), r.y(), r.width(), r.height(), pal, true, 1, 0);
  } else {
    if (ours)
      qt::DrawSunkenWinPanel(p, r, pal);
    else
      qDrawWinPanel(&p, r, pal, true, nullptr);
  }
  return image;
}

TEST(EtchedLinesTest, EachBorderIsQtsOwnPixelForPixel) {
  struct Case {
    const char* what;
    QPalette pal;
    qreal scale;
  };
  const Case cases[] = {
      {"the application's palette", QApplication::palette(), 1.0},
      {"a colour for every role", Distinct(), 1.0},
      {"translucent colours, drawn by Qt", Distinct(128), 1.0},
      {"two device pixels to the pixel, drawn by Qt", Distinct(), 2.0},
  };
  for (const Case& c : cases)
    for (const Border border : {Border::ShadeRect, Border::WinPanel})
      for (const bool clipped : {false, true})
        for (int w = 1; w <= 60; w += (w < 12 ? 1 : 7))
          for (int h = 1; h <= 50; h += (h < 12 ? 1 : 9)) {
            const QSize size(w, h);
            ASSERT_EQ(Draw(border, true, size, c.pal, clipped, c.scale),
                      Draw(border, false, size, c.pal, clipped, c.scale))
                << c.what << (border == Border::ShadeRect ? ", shade rectangle " : ", panel ") << w << " x " << h
                << (clipped ? ", clipped" : "");
          }
}

}  // namespace
}  // namespace jv::testing
