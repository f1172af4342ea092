// form_loader FORM.ui: loads the form with QUiLoader and prints what the widget
// named "calendar" became: its class, its size and its selectedDate. Exit status 1
// when the loader does not offer the calendar or the form does not load.
#include <QApplication>
#include <QFile>
#include <QTextStream>
#include <QUiLoader>
#include <QWidget>
#include <memory>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  if (argc != 2) {
    err << "usage: form_loader FORM.ui\n";
    return 2;
  }
  QUiLoader loader;
  if (!loader.availableWidgets().contains(QStringLiteral("jv::qt::JornavistaWidget"))) {
    err << "the loader offers no jv::qt::JornavistaWidget; plugin paths: "
        << loader.pluginPaths().join(QStringLiteral(":")) << "\n";
    return 1;
  }
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly)) {
    err << "cannot read " << file.fileName() << "\n";
    return 1;
  }
  std::unique_ptr<QWidget> form(loader.load(&file));
  QWidget* calendar = form ? form->findChild<QWidget*>(QStringLiteral("calendar")) : nullptr;
  if (calendar == nullptr) {
    err << "the form has no calendar: " << loader.errorString() << "\n";
    return 1;
  }
  out << "class " << calendar->metaObject()->className() << "\n"
      << "size " << calendar->width() << " x " << calendar->height() << "\n"
      << "selectedDate " << calendar->property("selectedDate").toString() << "\n";
  return 0;
}
