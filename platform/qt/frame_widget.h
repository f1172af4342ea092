// A frame: an etched rectangle with its caption on the top edge, painting the
// labels placed in it (the weekday headings and their band).
#pragma once

#include <QString>

#include "platform/qt/label_host.h"

namespace jv::qt {

class FrameWidget final : public LabelHost {
 public:
  FrameWidget(QWidget* parent, QString caption) : LabelHost(parent), caption_(std::move(caption)) {}

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString caption_;
};

}  // namespace jv::qt
