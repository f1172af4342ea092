// A frame: an etched rectangle with its caption on the top edge, painting the
// labels placed in it (the weekday headings and their band).
#pragma once

#include <QFont>
#include <QString>

#include "platform/qt/label_host.h"

namespace jv::qt {

class FrameWidget final : public LabelHost {
 public:
  FrameWidget(QWidget* parent, QString caption) : LabelHost(parent), caption_(std::move(caption)) {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The caption's line height and width in the widget's font, measured again
  // when the font is another one.
  struct Measure {
    QFont font;
    int height = 0;
    int caption_width = 0;
  };
  const Measure& Measured();

  QString caption_;
  Measure measured_;
};

}  // namespace jv::qt
