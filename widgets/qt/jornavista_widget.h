// The month-calendar control as a Qt widget: a ctrJornavista on the Qt runtime,
// for any layout or form of a Qt program.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "platform/automation/hresult.h"

namespace jv::control {
class ctrJornavista;
}

namespace jv::qt {

class QtRuntime;

// The widget is the control's container: it sizes the control (which keeps its
// frame's size, 231 x 249 logical pixels, whatever it is given), hands it the
// widget's font as the ambient font, and passes its change notices on as a signal.
class JornavistaWidget final : public QWidget {
  Q_OBJECT

 public:
  // On a runtime of its own: today from the system's clock, the user's regional
  // settings.
  explicit JornavistaWidget(QWidget* parent = nullptr);
  // On a runtime the program shares between instances and sets up itself (its
  // clock, its settings). The runtime must outlive the widget.
  explicit JornavistaWidget(QtRuntime& runtime, QWidget* parent = nullptr);
  ~JornavistaWidget() override;

  // S_OK when the control started; otherwise why not, and the widget stays empty.
  HRESULT status() const;
  // The control, for the members of its automation interface; null when it could
  // not start.
  control::ctrJornavista* control() const;

  // The selected date as the control holds it (its SDate property).
  QString selectedDate() const;
  // The host's put of SDate; false when the control refused it.
  bool setSelectedDate(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A persisted property of the control changed ("SDate" when the user picks a
  // day). A slot that wants to delete the widget must use deleteLater: the
  // control is still running when the signal arrives.
  void propertyChanged(const QString& name);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace jv::qt
