#include "platform/qt/paging_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace jv::qt {

const QPalette& SharedStylePalette(const QPalette& palette) {
  // One palette for the widgets' one thread. Equal colours are the whole test
  // (QPalette's == compares every brush of every group, not the identity), so
  // the shared copy never paints anything the caller's would not.
  static QPalette shared;
  static bool held = false;
  if (!held || !(shared == palette)) {
    shared = palette;
    held = true;
  }
  return shared;
}

void PagingButton::paintEvent(QPaintEvent*) {
  // What QPushButton::paintEvent does, with the shared palette in the option.
  QStylePainter p(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.palette = SharedStylePalette(option.palette);
  p.drawControl(QStyle::CE_PushButton, option);
}

}  // namespace jv::qt
