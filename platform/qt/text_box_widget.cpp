#include "platform/qt/text_box_widget.h"

#include <QApplication>
#include <QEvent>

#include "platform/qt/design_values.h"

namespace jv::qt {

TextBoxWidget::TextBoxWidget(QWidget* parent, std::optional<OLE_COLOR> fore, std::optional<OLE_COLOR> back)
    : QLineEdit(parent), fore_(fore), back_(back) {
  ApplyColors();
}

void TextBoxWidget::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) ApplyColors();
}

void TextBoxWidget::ApplyColors() {
  if (!fore_ && !back_) return;
  const QPalette inherited = parentWidget() ? parentWidget()->palette() : QApplication::palette(this);
  QPalette pal = palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    QPalette source = inherited;
    source.setCurrentColorGroup(group);
    if (fore_) pal.setColor(group, QPalette::Text, Resolve(*fore_, source));
    if (back_) pal.setColor(group, QPalette::Base, Resolve(*back_, source));
  }
  // Setting an equal palette sends no change event, so this settles at once.
  setPalette(pal);
}

}  // namespace jv::qt
