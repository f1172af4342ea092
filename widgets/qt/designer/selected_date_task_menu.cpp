#include "widgets/qt/designer/selected_date_task_menu.h"

#include <QAction>
#include <QDesignerFormWindowCursorInterface>
#include <QDesignerFormWindowInterface>
#include <QDialogButtonBox>
#include <QExtensionManager>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/qt/jornavista_widget.h"

namespace jv::qt {

SelectedDateDialog::SelectedDateDialog(QWidget* parent)
    : QDialog(parent), calendar_(new JornavistaWidget(this)) {
  setWindowTitle(tr("Selected date"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setEnabled(false);
  // Only a date the user picks counts: the calendar's start-up date is today's,
  // which the form does not need to keep.
  connect(calendar_, &JornavistaWidget::selectedDateChanged, this, [this, ok](const QString& text) {
    picked_ = text;
    ok->setEnabled(true);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(calendar_);
  layout->addWidget(buttons);
}

SelectedDateTaskMenu::SelectedDateTaskMenu(JornavistaWidget* widget, QObject* parent)
    : QObject(parent), widget_(widget), pick_(new QAction(tr("Pick the selected date..."), this)) {
  connect(pick_, &QAction::triggered, this, &SelectedDateTaskMenu::PickDate);
}

QAction* SelectedDateTaskMenu::preferredEditAction() const { return pick_; }
QList<QAction*> SelectedDateTaskMenu::taskActions() const { return {pick_}; }

void SelectedDateTaskMenu::PickDate() {
  SelectedDateDialog dialog(widget_->window());
  if (dialog.exec() != QDialog::Accepted || dialog.picked().isEmpty()) return;
  // Through the form's cursor, as the property editor sets a value: the form is
  // marked modified, the change can be undone, and the property editor shows it.
  if (QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(widget_))
    form->cursor()->setWidgetProperty(widget_, QStringLiteral("selectedDate"), dialog.picked());
  else
    widget_->setSelectedDate(dialog.picked());
}

SelectedDateTaskMenuFactory::SelectedDateTaskMenuFactory(QExtensionManager* parent) : QExtensionFactory(parent) {}

QObject* SelectedDateTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const {
  if (iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
  auto* calendar = qobject_cast<JornavistaWidget*>(object);
  return calendar ? new SelectedDateTaskMenu(calendar, parent) : nullptr;
}

}  // namespace jv::qt
