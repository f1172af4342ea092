// What the Qt tests share: one QApplication on the offscreen platform for the
// whole run, English regional settings, and pixel reading off real widgets.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <memory>

#include "tests/face/calendar_days.h"

namespace jv::testing {

// The widget as it paints now, in device pixels of `scale` per logical pixel.
inline QImage Grab(QWidget& widget, double scale = 1.0) {
  QImage image(widget.size() * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::magenta);
  widget.render(&image);
  return image;
}

// Shows a top-level window and makes it the active one, so that it has the
// keyboard focus as a user's window would.
void ShowActive(QWidget& window);

}  // namespace jv::testing
