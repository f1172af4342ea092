// JornavistaWidget's Qt properties: every value the control holds survives the trip
// through them, every put reaches its own change signal, and what the control
// changes by itself reaches the same signals.
#include <QSignalSpy>

#include "control/ctr_jornavista.h"
#include "platform/automation/std_font.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"
#include "widgets/qt/property_values.h"

namespace jv::testing {
namespace {

using qt::JornavistaWidget;

class WidgetPropertiesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    runtime_.clock().Set(Day(2003, 11, 9));
    widget_ = std::make_unique<JornavistaWidget>(runtime_);
    ASSERT_EQ(widget_->status(), S_OK);
  }
  control::ctrJornavista& control() { return *widget_->control(); }
  template <class T, class Get>
  T Raw(Get get) {
    T value{};
    EXPECT_EQ((control().*get)(&value), S_OK);
    return value;
  }
  FontDescription HeldFont() {
    FontRef font = FontRef::Adopt(Raw<IFont*>(&control::ctrJornavista::get_Font));
    FontDescription d;
    EXPECT_EQ(DescribeFont(font.get(), &d), S_OK);
    return d;
  }

  qt::QtRuntime runtime_{English()};
  std::unique_ptr<JornavistaWidget> widget_;
};

TEST_F(WidgetPropertiesTest, ANewInstanceReportsTheDefaultsWithTheWidgetsFontAsItsFont) {
  EXPECT_EQ(widget_->backColor(), QColor(0, 0, 0));
  EXPECT_EQ(widget_->foreColor(), QColor(0, 0, 0));
  EXPECT_FALSE(widget_->controlEnabled());
  EXPECT_TRUE(widget_->isEnabled()) << "the control's Enabled is stored, not applied to the widget";
  EXPECT_EQ(widget_->controlFont().family(), widget_->font().family());
  EXPECT_EQ(HeldFont().name, widget_->font().family().toStdU16String()) << "InitProperties took the ambient font";
  EXPECT_EQ(widget_->backStyle(), 0);
  EXPECT_EQ(widget_->borderStyle(), 0);
  EXPECT_EQ(widget_->selectedDate(), "11/9/2003");
  EXPECT_STREQ(widget_->metaObject()->userProperty().name(), "selectedDate");
}

// One put through QObject::setProperty (as QUiLoader and Designer call it), with
// the value the control must then hold and the signals it must raise.
struct PutCase {
  const char* property;
  QVariant value;
  const char* control_name;
  std::int64_t raw;  // the control's field afterwards; for SDate unused
};

class WidgetPutTest : public WidgetPropertiesTest, public ::testing::WithParamInterface<PutCase> {};

std::int64_t RawOf(control::ctrJornavista& c, std::string_view name) {
  OLE_COLOR color = 0;
  VARIANT_BOOL flag = 0;
  std::int16_t style = 0;
  HRESULT status = E_INVALIDARG;
  std::int64_t value = 0;
  if (name == "BackColor") status = c.get_BackColor(&color), value = color;
  if (name == "ForeColor") status = c.get_ForeColor(&color), value = color;
  if (name == "Enabled") status = c.get_Enabled(&flag), value = flag;
  if (name == "BackStyle") status = c.get_BackStyle(&style), value = style;
  if (name == "BorderStyle") status = c.get_BorderStyle(&style), value = style;
  EXPECT_EQ(status, S_OK) << name;
  return value;
}

TEST_P(WidgetPutTest, StoresTheValueUnchangedAndRaisesItsSignalsEvenWhenUnchanged) {
  const PutCase& c = GetParam();
  const QMetaProperty meta = widget_->metaObject()->property(widget_->metaObject()->indexOfProperty(c.property));
  ASSERT_TRUE(meta.hasNotifySignal()) << c.property;
  QSignalSpy own(widget_.get(), meta.notifySignal());
  QSignalSpy any(widget_.get(), &JornavistaWidget::propertyChanged);
  for (int round = 1; round <= 2; ++round) {
    ASSERT_TRUE(widget_->setProperty(c.property, c.value)) << c.property;
    EXPECT_EQ(widget_->property(c.property), c.value) << c.property;
    ASSERT_EQ(own.count(), round) << c.property << ": a put notifies even with the value already held";
    EXPECT_EQ(own.last().at(0), c.value) << c.property;
    ASSERT_EQ(any.count(), round);
    EXPECT_EQ(any.last().at(0).toString(), c.control_name);
  }
  if (std::string_view(c.control_name) == "SDate") {
    Text text;
    ASSERT_EQ(control().get_SDate(&text), S_OK);
    EXPECT_EQ(text, c.value.toString().toStdU16String());
  } else {
    EXPECT_EQ(RawOf(control(), c.control_name), c.raw) << c.property;
  }
}

const PutCase kPuts[] = {
    {"backColor", QColor(255, 0, 0), "BackColor", 0x000000FF},
    {"backColor", qt::SystemColor(13), "BackColor", 0x8000000D},
    {"backColor", QColor(0x10, 0x20, 0x30, 0), "BackColor", 0xFF302010},
    {"foreColor", qt::SystemColor(8), "ForeColor", 0x80000008},
    {"foreColor", QColor(1, 2, 3, 254), "ForeColor", 0x01030201},  // a palette index
    {"controlEnabled", true, "Enabled", VARIANT_TRUE},
    {"controlEnabled", false, "Enabled", VARIANT_FALSE},
    {"backStyle", -1, "BackStyle", -1},
    {"backStyle", INT16_MIN, "BackStyle", INT16_MIN},
    {"borderStyle", 7, "BorderStyle", 7},
    {"borderStyle", INT16_MAX, "BorderStyle", INT16_MAX},
    {"selectedDate", QString("abc"), "SDate", 0},
    {"selectedDate", QString(""), "SDate", 0},
    {"selectedDate", QString::fromUtf8("31/12/9999 não é data 😀"), "SDate", 0},
};
INSTANTIATE_TEST_SUITE_P(Values, WidgetPutTest, ::testing::ValuesIn(kPuts));

TEST_F(WidgetPropertiesTest, ValuesTheControlCannotHoldAreRefusedAndChangeNothing) {
  QSignalSpy any(widget_.get(), &JornavistaWidget::propertyChanged);
  EXPECT_FALSE(widget_->setBackStyle(INT16_MAX + 1));
  EXPECT_FALSE(widget_->setBorderStyle(INT16_MIN - 1));
  EXPECT_FALSE(widget_->setBackColor(QColor()));
  EXPECT_FALSE(widget_->setForeColor(QColor()));
  QFont nameless;
  nameless.setFamilies({QString()});
  nameless.setFamily(QString());
  EXPECT_FALSE(widget_->setControlFont(nameless)) << "a font object needs a name";
  EXPECT_EQ(any.count(), 0);
  EXPECT_EQ(widget_->backStyle(), 0);
  EXPECT_EQ(widget_->borderStyle(), 0);
  EXPECT_EQ(widget_->backColor(), QColor(0, 0, 0));
}

TEST(ColorMappingTest, EveryAutomationColourSurvivesAQColorAndItsFourBytes) {
  for (const OLE_COLOR value : {0x00000000u, 0x000000FFu, 0x00FFFFFFu, 0x80000000u, 0x8000000Du, 0x800000FFu,
                                0x01020304u, 0x02FFFFFFu, 0xFF000000u, 0xFFFFFFFFu}) {
    const QColor color = qt::ColorFromOle(value);
    // What a .ui file keeps of a colour: the four 8-bit channels.
    const QColor kept(color.red(), color.green(), color.blue(), color.alpha());
    EXPECT_EQ(qt::OleFromColor(kept), value) << std::hex << value;
  }
  EXPECT_EQ(qt::ColorFromOle(0x00336699), QColor(0x99, 0x66, 0x33)) << "RGB values are opaque colours";
  EXPECT_EQ(qt::OleFromColor(QColor::fromHsv(0, 255, 255)), 0x000000FFu) << "other specs convert to RGB";
  EXPECT_EQ(qt::OleFromColor(QColor()), std::nullopt);
}

TEST_F(WidgetPropertiesTest, WhatTheControlChangesByItselfReachesTheSameSignals) {
  QSignalSpy date(widget_.get(), &JornavistaWidget::selectedDateChanged);
  QSignalSpy color(widget_.get(), &JornavistaWidget::backColorChanged);
  std::int16_t cell = 26;  // the 20th of November 2003
  ASSERT_EQ(control().l_Click(cell), S_OK);
  ASSERT_EQ(date.count(), 1);
  EXPECT_EQ(date.at(0).at(0).toString(), "11/20/2003");
  ASSERT_EQ(control().put_BackColor(kSysHighlightText), S_OK);
  ASSERT_EQ(color.count(), 1);
  EXPECT_EQ(color.at(0).at(0).value<QColor>(), qt::SystemColor(14));
}

TEST_F(WidgetPropertiesTest, AFontSharedByReferenceIsReadThroughAndCopiesItsDescriptionOnASet) {
  FontDescription shared_description;
  shared_description.name = u"DejaVu Serif";
  shared_description.size_cy = 82500;  // 8.25 points
  shared_description.weight = 700;
  shared_description.bold = true;
  shared_description.italic = true;
  shared_description.strikethrough = true;
  FontRef shared;
  ASSERT_EQ(CreateStdFont(shared_description, shared.put()), S_OK);
  JornavistaWidget other(runtime_);
  ASSERT_EQ(control().putref_Font(shared.get()), S_OK);
  ASSERT_EQ(other.control()->putref_Font(shared.get()), S_OK);

  // The holder changes the object: both widgets report the change.
  ASSERT_EQ(shared->put_Size(CY{.int64 = 120000}), S_OK);
  for (JornavistaWidget* w : {widget_.get(), &other}) {
    const QFont f = w->controlFont();
    EXPECT_EQ(f.family(), "DejaVu Serif");
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 12.0);
    EXPECT_TRUE(f.bold() && f.italic() && f.strikeOut() && !f.underline());
  }

  // Through the Qt property the description travels, not the object.
  QSignalSpy changed(&other, &JornavistaWidget::controlFontChanged);
  ASSERT_EQ(shared->put_Size(CY{.int64 = 82500}), S_OK);
  ASSERT_TRUE(other.setProperty("controlFont", widget_->property("controlFont")));
  EXPECT_EQ(changed.count(), 1);
  FontRef copy = FontRef::Adopt(nullptr);
  ASSERT_EQ(other.control()->get_Font(copy.put()), S_OK);
  EXPECT_NE(copy.get(), shared.get());
  FontDescription copied;
  ASSERT_EQ(DescribeFont(copy.get(), &copied), S_OK);
  EXPECT_EQ(copied.name, shared_description.name);
  EXPECT_EQ(copied.size_cy, 82500) << "a size in ten-thousandths of a point survives the QFont";
  EXPECT_EQ(std::tuple(copied.weight, copied.bold, copied.italic, copied.underline, copied.strikethrough),
            std::tuple(std::int16_t{700}, true, true, false, true));
}

TEST_F(WidgetPropertiesTest, WithNoFontObjectTheControlFontIsTheWidgetsFont) {
  ASSERT_EQ(control().putref_Font(nullptr), S_OK);
  widget_->setFont(QFont("DejaVu Sans", 15));
  EXPECT_EQ(widget_->controlFont(), widget_->font());
}

}  // namespace
}  // namespace jv::testing
