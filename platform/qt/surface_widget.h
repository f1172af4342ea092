// The control's surface on a form: the widget a container places, painting the
// labels laid directly on it and reporting the sizes the container gives it.
#pragma once

#include <QSize>
#include <functional>

#include "platform/qt/label_host.h"

namespace jv::qt {

class SurfaceWidget final : public LabelHost {
 public:
  SurfaceWidget();

  // Every new size of the widget, whoever set it.
  std::function<void(QSize)> on_resized;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace jv::qt
