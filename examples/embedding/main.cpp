// The calendar on a form of a Qt program; it prints each date the user picks.
// With --once it sets a date itself, as a click would, and ends.
#include <QApplication>
#include <QDebug>
#include <QTimer>
#include <QVBoxLayout>

#include "widgets/qt/jornavista_widget.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* calendar = new jv::qt::JornavistaWidget(&form);
  layout->addWidget(calendar);
  QObject::connect(calendar, &jv::qt::JornavistaWidget::selectedDateChanged,
                   [](const QString& date) { qInfo().noquote() << "picked" << date; });
  calendar->setBackColor(QColor(255, 255, 224));  // stored for the program, not painted
  form.show();
  if (app.arguments().contains(QStringLiteral("--once"))) {
    QTimer::singleShot(0, &app, [&] {
      calendar->setSelectedDate(QStringLiteral("14/11/2003"));
      qInfo().noquote() << "size" << calendar->width() << "x" << calendar->height() << "backColor"
                        << calendar->backColor().name();
      app.quit();
    });
  }
  return app.exec();
}
