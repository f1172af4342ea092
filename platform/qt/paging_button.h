// A push button whose face the style draws once for every button alike. Styles
// that cache what they draw (Fusion keeps each bevel as a pixmap) key the cache
// by the palette's identity, and every widget holds a palette of its own even
// when its colours are those of every other button: so each button would draw
// and keep its own copy of the same pixmap. This one hands the style one shared
// palette whenever its own has the same colours, and the style finds the pixmap
// another button drew. What is painted stays exactly what the button's palette
// gives.
#pragma once

#include <QPalette>
#include <QPushButton>

namespace jv::qt {

class PagingButton final : public QPushButton {
 public:
  PagingButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// `palette`, or an equal palette shared by every caller: the first palette of its
// colours that was asked for, kept until one with other colours is asked for
// (a palette change makes the next call keep the new colours instead).
const QPalette& SharedStylePalette(const QPalette& palette);

}  // namespace jv::qt
