// The month-calendar control as a Qt widget: a ctrJornavista on the Qt runtime,
// for any layout, .ui form or Qt Designer form of a Qt program.
#pragma once

#include <QColor>
#include <QFont>
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
// widget's font as the ambient font, and passes its change notices on as signals.
//
// The control's seven persisted properties are Qt properties, so Designer edits
// them and .ui files, uic and QUiLoader carry them. Each setter is the control's
// put: it stores the value unchanged (nothing is applied to what the calendar
// paints) and raises the property's change signal, even when the value is the
// one already held. widgets/qt/property_values.h says how values map.
class JornavistaWidget final : public QWidget {
  Q_OBJECT
  // Automation colours; system colours and the other high-byte values included.
  Q_PROPERTY(QColor backColor READ backColor WRITE setBackColor NOTIFY backColorChanged)
  Q_PROPERTY(QColor foreColor READ foreColor WRITE setForeColor NOTIFY foreColorChanged)
  // The control's Enabled: a stored truth value. QWidget's own `enabled` is not it.
  Q_PROPERTY(bool controlEnabled READ controlEnabled WRITE setControlEnabled NOTIFY controlEnabledChanged)
  // The control's Font object, read out as a QFont; QWidget's `font` is the
  // ambient font a new instance starts with.
  Q_PROPERTY(QFont controlFont READ controlFont WRITE setControlFont NOTIFY controlFontChanged)
  // Any signed 16-bit number; others are refused.
  Q_PROPERTY(int backStyle READ backStyle WRITE setBackStyle NOTIFY backStyleChanged)
  Q_PROPERTY(int borderStyle READ borderStyle WRITE setBorderStyle NOTIFY borderStyleChanged)
  // The control's SDate: any text, a date or not.
  Q_PROPERTY(QString selectedDate READ selectedDate WRITE setSelectedDate NOTIFY selectedDateChanged USER true)

 public:
  // A new instance on a runtime of its own: today from the system's clock, the
  // user's regional settings.
  explicit JornavistaWidget(QWidget* parent = nullptr);
  // A new instance on a runtime the program shares between instances and sets
  // up itself (its clock, its settings). The runtime must outlive the widget
  // (and, for a widget deleted in one of its signals, the event loop's deletion
  // of its control).
  explicit JornavistaWidget(QtRuntime& runtime, QWidget* parent = nullptr);
  ~JornavistaWidget() override;

  // S_OK when the control started and took a new instance's defaults; otherwise
  // why not. A widget whose control could not start stays empty and refuses
  // every set.
  HRESULT status() const;
  // The control, for the members of its automation interface (putref_Font with a
  // font object shared with other holders, Refresh, ReadProperties); null when it
  // could not start.
  control::ctrJornavista* control() const;

  QColor backColor() const;
  QColor foreColor() const;
  bool controlEnabled() const;
  // With no font object held, the widget's font, which is what the control
  // would be handed as ambient font.
  QFont controlFont() const;
  int backStyle() const;
  int borderStyle() const;
  QString selectedDate() const;

  // The setters answer false when the value was refused (an invalid colour, a
  // style outside 16 bits, a font a font object cannot hold) or the control's
  // put failed; nothing changes then.
  bool setBackColor(const QColor& color);
  bool setForeColor(const QColor& color);
  bool setControlEnabled(bool enabled);
  // A new font object with the font's description.
  bool setControlFont(const QFont& font);
  bool setBackStyle(int style);
  bool setBorderStyle(int style);
  bool setSelectedDate(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // One of the control's persisted properties changed, by its name in the
  // control ("SDate" when the user picks a day), after its own signal below.
  // A slot may delete the widget, directly or with deleteLater: the control is
  // still running when a signal arrives, so it is then deleted by the event loop
  // after the control's call has returned, and no later signal is emitted.
  void propertyChanged(const QString& name);
  void backColorChanged(const QColor& color);
  void foreColorChanged(const QColor& color);
  void controlEnabledChanged(bool enabled);
  void controlFontChanged(const QFont& font);
  void backStyleChanged(int style);
  void borderStyleChanged(int style);
  void selectedDateChanged(const QString& text);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> d_;
};

}  // namespace jv::qt
