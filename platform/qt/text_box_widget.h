// A text box whose design colours are system colours: they follow the palette,
// resolved again whenever the inherited palette changes.
#pragma once

#include <QLineEdit>
#include <optional>

#include "platform/automation/types.h"

namespace jv::qt {

class TextBoxWidget final : public QLineEdit {
 public:
  // No colour: the line edit's own from the palette.
  TextBoxWidget(QWidget* parent, std::optional<OLE_COLOR> fore, std::optional<OLE_COLOR> back);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void ApplyColors();

  std::optional<OLE_COLOR> fore_, back_;
};

}  // namespace jv::qt
