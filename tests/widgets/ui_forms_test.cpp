// Forms holding the calendar with non-default values of all seven properties, one
// written at the edges of each value's range and one saved by Qt Designer itself:
// loaded at run time through QUiLoader and the plugin, and built by uic's code,
// each gives a calendar with exactly those values.
#include <QFile>
#include <QFileInfo>
#include <QUiLoader>

#include "control/ctr_jornavista.h"
#include "tests/qt/qt_test_support.h"
#include "ui_designer_saved.h"
#include "ui_edge_values.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::testing {
namespace {

struct FormValues {
  const char* file;
  QColor back_color;
  OLE_COLOR back_ole;
  QColor fore_color;
  OLE_COLOR fore_ole;
  bool enabled;
  const char* font_family;
  int font_points;
  std::int16_t back_style;
  std::int16_t border_style;
  const char* selected_date;  // UTF-8
};

const FormValues kEdgeValues{"edge_values.ui", QColor(5, 0, 0, 127), 0x80000005, QColor(255, 255, 255, 0),
                             0xFFFFFFFF, true, "DejaVu Serif", 11, INT16_MIN, INT16_MAX,
                             "Dezembro é 日本 😀"};
const FormValues kDesignerSaved{"designer_saved.ui", QColor(13, 0, 0, 127), 0x8000000D, QColor(255, 128, 0),
                                0x000080FF, true, "Sans Serif", 14, -1, INT16_MAX, "31/12/9999 não é data"};

void ExpectValues(const FormValues& want, QWidget* widget, const char* how) {
  ASSERT_NE(widget, nullptr) << how << ": no widget named calendar";
  // A loader without the plugin makes a plain QWidget carrying the same values
  // as dynamic properties: the class tells the two apart.
  ASSERT_STREQ(widget->metaObject()->className(), "jv::qt::JornavistaWidget") << how;
  auto* calendar = qobject_cast<qt::JornavistaWidget*>(widget);
  ASSERT_NE(calendar, nullptr) << how;
  ASSERT_TRUE(widget->dynamicPropertyNames().isEmpty()) << how << ": a value missed its property";
  SCOPED_TRACE(std::string(how) + " " + want.file);
  EXPECT_EQ(calendar->backColor(), want.back_color);
  EXPECT_EQ(calendar->foreColor(), want.fore_color);
  EXPECT_EQ(calendar->controlEnabled(), want.enabled);
  const QFont font = calendar->controlFont();
  EXPECT_EQ(font.family(), want.font_family);
  EXPECT_EQ(font.pointSizeF(), want.font_points);
  EXPECT_TRUE(font.bold() && font.italic() && !font.underline() && !font.strikeOut());
  EXPECT_EQ(calendar->backStyle(), want.back_style);
  EXPECT_EQ(calendar->borderStyle(), want.border_style);
  EXPECT_EQ(calendar->selectedDate(), QString::fromUtf8(want.selected_date));

  // And the control holds the automation values themselves.
  control::ctrJornavista& control = *calendar->control();
  OLE_COLOR back = 0, fore = 0;
  VARIANT_BOOL enabled = 0;
  std::int16_t back_style = 0, border_style = 0;
  ASSERT_EQ(control.get_BackColor(&back) | control.get_ForeColor(&fore) | control.get_Enabled(&enabled) |
                control.get_BackStyle(&back_style) | control.get_BorderStyle(&border_style),
            S_OK);
  EXPECT_EQ(back, want.back_ole);
  EXPECT_EQ(fore, want.fore_ole);
  EXPECT_EQ(enabled, want.enabled ? VARIANT_TRUE : VARIANT_FALSE);
  EXPECT_EQ(std::pair(back_style, border_style), std::pair(want.back_style, want.border_style));
}

class UiFormTest : public ::testing::TestWithParam<FormValues> {};

TEST_P(UiFormTest, QUiLoaderBuildsTheCalendarThroughThePluginWithEveryValue) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(JV_PLUGIN_FILE)).absolutePath());
  ASSERT_TRUE(loader.availableWidgets().contains("jv::qt::JornavistaWidget"));
  QFile file(QStringLiteral(JV_FORMS_DIR "/") + GetParam().file);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam().file;
  std::unique_ptr<QWidget> form(loader.load(&file));
  ASSERT_NE(form, nullptr) << loader.errorString().toStdString();
  ExpectValues(GetParam(), form->findChild<QWidget*>("calendar"), "QUiLoader");
}

INSTANTIATE_TEST_SUITE_P(Forms, UiFormTest, ::testing::Values(kEdgeValues, kDesignerSaved),
                         [](const auto& info) { return std::string(info.param.file).substr(0, 4); });

TEST(UicFormTest, UicCodeBuildsTheCalendarWithEveryValue) {
  QWidget edge_host;
  Ui::EdgeValuesForm edge;
  edge.setupUi(&edge_host);
  ExpectValues(kEdgeValues, edge.calendar, "uic");

  QWidget saved_host;
  Ui::CalendarForm saved;
  saved.setupUi(&saved_host);
  ExpectValues(kDesignerSaved, saved.calendar, "uic");
}

}  // namespace
}  // namespace jv::testing
