// A program may delete the widget in any of its own signals, directly or with
// deleteLater, whether the signal comes from a user's day click or from the
// program's own put: the control is still running below the signal's handler, and
// must finish on what it had. Under AddressSanitizer any use of what the delete
// freed is a failure.
#include <QPointer>
#include <QTest>
#include <functional>

#include "control/ctr_jornavista.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::testing {
namespace {

using qt::JornavistaWidget;

using Handler = std::function<void()>;

struct Case {
  const char* name;
  // Connects the handler to one of the widget's signals.
  void (*connect)(JornavistaWidget* widget, Handler handler);
  // What makes the control raise the signal.
  void (*act)(JornavistaWidget& widget);
  enum { kDelete, kDeleteLater, kDeleteForm } how;
};

template <auto Signal>
void On(JornavistaWidget* widget, Handler handler) {
  QObject::connect(widget, Signal, widget, [handler] { handler(); });
}

void ClickDay14(JornavistaWidget& widget) {
  auto& face = static_cast<qt::QtFace&>(widget.control()->face());
  QWidget* const grid = face.widget("Picture1");
  const QPoint at = face.CellRect(20).center();  // day 14 of November 2003
  QTest::mouseClick(grid, Qt::LeftButton, {}, at);
}
void PutSDate(JornavistaWidget& widget) { widget.setSelectedDate(QStringLiteral("any text")); }
void PutBackColor(JornavistaWidget& widget) { widget.setBackColor(QColor(1, 2, 3)); }
void PutFont(JornavistaWidget& widget) { widget.setControlFont(QFont(QStringLiteral("Arial"), 12)); }

constexpr auto kSDate = &On<&JornavistaWidget::selectedDateChanged>;
constexpr auto kAny = &On<&JornavistaWidget::propertyChanged>;

const Case kCases[] = {
    {"DayClickInSelectedDateChanged", kSDate, ClickDay14, Case::kDelete},
    {"DayClickInPropertyChanged", kAny, ClickDay14, Case::kDelete},
    {"PutSDateInSelectedDateChanged", kSDate, PutSDate, Case::kDelete},
    {"PutSDateInPropertyChanged", kAny, PutSDate, Case::kDelete},
    {"PutBackColorInBackColorChanged", &On<&JornavistaWidget::backColorChanged>, PutBackColor, Case::kDelete},
    {"PutFontInControlFontChanged", &On<&JornavistaWidget::controlFontChanged>, PutFont, Case::kDelete},
    {"DayClickLaterInSelectedDateChanged", kSDate, ClickDay14, Case::kDeleteLater},
    {"PutSDateLaterInPropertyChanged", kAny, PutSDate, Case::kDeleteLater},
    // A dialog closed with the day picked in it: the form goes, and the widget with it.
    {"DayClickDeletesTheForm", kSDate, ClickDay14, Case::kDeleteForm},
    {"PutSDateDeletesTheForm", kAny, PutSDate, Case::kDeleteForm},
};

class WidgetLifetimeTest : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { runtime_.clock().Set(Day(2003, 11, 9)); }
  // Whatever the event loop still has to delete goes now, before the runtime.
  void TearDown() override {
    delete form_.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  qt::QtRuntime runtime_{English()};
  QPointer<QWidget> form_ = new QWidget();
};

TEST_P(WidgetLifetimeTest, AWidgetDeletedInItsOwnSignalLetsTheControlFinish) {
  const Case& c = GetParam();
  auto* widget = new JornavistaWidget(runtime_, form_);
  ASSERT_EQ(widget->status(), S_OK);
  ShowActive(*form_);
  QPointer<JornavistaWidget> alive(widget);
  int heard = 0;
  c.connect(widget, [&] {
    if (heard++ > 0) return;
    if (c.how == Case::kDeleteLater)
      widget->deleteLater();
    else if (c.how == Case::kDeleteForm)
      delete form_.data();
    else
      delete widget;
  });
  c.act(*widget);
  EXPECT_EQ(heard, 1) << "no signal of a deleted widget";
  EXPECT_EQ(alive.isNull(), c.how != Case::kDeleteLater);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(alive.isNull());
  // The form, if it stays, goes on without it.
  EXPECT_EQ(form_.isNull(), c.how == Case::kDeleteForm);
  if (form_) {
    EXPECT_TRUE(form_->findChildren<QWidget*>().isEmpty());
  }
  QCoreApplication::processEvents();
}

INSTANTIATE_TEST_SUITE_P(Signals, WidgetLifetimeTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace jv::testing
