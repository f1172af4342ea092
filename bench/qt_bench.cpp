// The windowed control against Qt's own QCalendarWidget on the same offscreen
// platform: creating and showing an instance until its first paint is done, a
// paging click until the repaint is done, and the heap an instance holds. Prints
// the ratios at the end.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCalendarWidget>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "control/ctr_jornavista.h"
#include "platform/dates/calendar.h"
#include "platform/qt/design_values.h"
#include "widgets/qt/jornavista_widget.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"

namespace {

using Clock = std::chrono::steady_clock;

// Counts the paints a widget receives, so a timing can end when one is done.
class PaintCounter final : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// Runs the event loop until `watched` has been painted again; painting a window
// is one synchronous pass, so every widget of it is done when this returns.
void WaitForPaint(PaintCounter& counter, int before) {
  while (counter.paints == before) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QWidget& Form() {
  static QWidget* form = [] {
    auto* f = new QWidget;
    f->resize(640, 480);
    f->show();
    (void)QTest::qWaitForWindowExposed(f);
    return f;
  }();
  return *form;
}

jv::qt::QtRuntime& Runtime() {
  static jv::qt::QtRuntime runtime(jv::dates::RegionalSettings::ForLocale("en_US"));
  return runtime;
}

// The two widgets under test, each with the part that paints last and the button
// that pages forward.
struct Jornavista {
  using Widget = jv::qt::JornavistaWidget;
  static Widget* Make(QWidget* parent) { return new Widget(Runtime(), parent); }
  static QWidget* Painted(Widget* w) {
    return static_cast<jv::qt::QtFace&>(w->control()->face()).widget("Picture1");
  }
  static QWidget* NextButton(Widget* w) {
    return static_cast<jv::qt::QtFace&>(w->control()->face()).widget("cmdNext");
  }
};

struct QtCalendar {
  using Widget = QCalendarWidget;
  static Widget* Make(QWidget* parent) { return new Widget(parent); }
  static QWidget* Painted(Widget* w) { return w->findChild<QAbstractScrollArea*>()->viewport(); }
  static QWidget* NextButton(Widget* w) { return w->findChild<QToolButton*>("qt_calendar_nextmonth"); }
};

template <class Subject>
void BM_CreateAndShowToFirstPaint(benchmark::State& state) {
  QWidget& form = Form();
  for (auto _ : state) {
    const auto start = Clock::now();
    auto* w = Subject::Make(&form);
    PaintCounter counter;
    Subject::Painted(w)->installEventFilter(&counter);
    w->show();
    WaitForPaint(counter, 0);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
    delete w;
    QCoreApplication::processEvents();
  }
}

template <class Subject>
void BM_PagingClickToRepaint(benchmark::State& state) {
  QWidget& form = Form();
  std::unique_ptr<typename Subject::Widget> w(Subject::Make(&form));
  w->show();
  PaintCounter counter;
  Subject::Painted(w.get())->installEventFilter(&counter);
  WaitForPaint(counter, 0);
  QWidget* next = Subject::NextButton(w.get());
  for (auto _ : state) {
    const int before = counter.paints;
    const auto start = Clock::now();
    QTest::mouseClick(next, Qt::LeftButton);
    WaitForPaint(counter, before);
    state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
  }
}

std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// 200 instances shown and painted on one form, after one of the same kind has
// filled Qt's shared caches (fonts, style, locale).
template <class Subject>
void BM_HeapPerInstance(benchmark::State& state) {
  constexpr int kInstances = 200;
  for (auto _ : state) {
    QWidget form;
    form.resize(640, 480);
    form.show();
    (void)QTest::qWaitForWindowExposed(&form);
    {
      std::unique_ptr<typename Subject::Widget> warm(Subject::Make(&form));
      warm->show();
      QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    malloc_trim(0);
    const std::size_t before = HeapInUse();
    std::vector<typename Subject::Widget*> made;
    for (int i = 0; i < kInstances; ++i) {
      auto* w = Subject::Make(&form);
      w->move((i % 8) * 10, (i / 8) * 10);
      w->show();
      PaintCounter counter;
      Subject::Painted(w)->installEventFilter(&counter);
      WaitForPaint(counter, 0);
      Subject::Painted(w)->removeEventFilter(&counter);
      made.push_back(w);
    }
    const std::size_t after = HeapInUse();
    state.counters["bytes_per_instance"] = static_cast<double>(after - before) / kInstances;
  }
}

BENCHMARK(BM_CreateAndShowToFirstPaint<Jornavista>)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CreateAndShowToFirstPaint<QtCalendar>)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PagingClickToRepaint<Jornavista>)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PagingClickToRepaint<QtCalendar>)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeapPerInstance<Jornavista>)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeapPerInstance<QtCalendar>)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Both widgets on the same platform, style and palette; the offscreen platform
  // makes the run the same with or without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qt_argc = 1;
  char* qt_argv[] = {argv[0], nullptr};
  QApplication app(qt_argc, qt_argv);
  QApplication::setStyle(QStringLiteral("Fusion"));
  QApplication::setPalette(QApplication::style()->standardPalette());
  QApplication::setFont(jv::qt::DefaultFont());
  Runtime().clock().Set([] {
    DATE d = 0;
    (void)jv::dates::FromCivil({2003, 11, 9}, &d);
    return d;
  }());

  using jv::bench::Goal;
  const int status = jv::bench::RunAgainstGoals(
      &argc, argv, "qt_bench", "QCalendarWidget / Jornavista (how many times faster, or smaller)",
      [](auto& reporter) {
        const auto against_qt = [&reporter](const char* what, const std::string& name, const Goal& goal,
                                            const std::string& counter = {}) {
          reporter.PrintRatio(what, name + "<QtCalendar>", name + "<Jornavista>", goal, counter);
        };
        against_qt("create and show to first paint", "BM_CreateAndShowToFirstPaint", Goal::AtLeast(10));
        against_qt("paging click to repaint", "BM_PagingClickToRepaint", Goal::AtLeast(8));
        against_qt("heap per instance", "BM_HeapPerInstance", Goal::AtLeast(8), "bytes_per_instance");
      });
  delete &Form();
  return status;
}
