// The calendar's entry in Designer's task menu (and its double-click): the user
// picks a day on a calendar of its own, and the pick becomes the form's
// selectedDate as any edit in Designer does, with an undo step.
#pragma once

#include <QDesignerTaskMenuExtension>
#include <QDialog>
#include <QExtensionFactory>

class QAction;

namespace jv::qt {

class JornavistaWidget;

// A calendar and OK/Cancel. In Designer's edit mode clicks never reach the
// calendar on the form, so the picking happens here.
class SelectedDateDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit SelectedDateDialog(QWidget* parent = nullptr);
  // The date text the user picked; empty while no day was picked.
  QString picked() const { return picked_; }
  JornavistaWidget* calendar() const { return calendar_; }

 private:
  JornavistaWidget* calendar_;
  QString picked_;
};

class SelectedDateTaskMenu final : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  SelectedDateTaskMenu(JornavistaWidget* widget, QObject* parent);
  QAction* preferredEditAction() const override;
  QList<QAction*> taskActions() const override;

 private:
  void PickDate();

  JornavistaWidget* widget_;
  QAction* pick_;
};

class SelectedDateTaskMenuFactory final : public QExtensionFactory {
  Q_OBJECT

 public:
  explicit SelectedDateTaskMenuFactory(QExtensionManager* parent = nullptr);

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace jv::qt
