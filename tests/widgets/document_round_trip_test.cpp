// A program sets the widget's properties, the host's document saves them to disk,
// and a widget loaded from that document reports the same values.
#include <unistd.h>

#include <filesystem>

#include "apps/document/document_file.h"
#include "control/ctr_jornavista.h"
#include "platform/qt/qt_runtime.h"
#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"
#include "widgets/qt/property_values.h"

namespace jv::testing {
namespace {

namespace fs = std::filesystem;
using qt::JornavistaWidget;

TEST(WidgetDocumentTest, PropertiesSetFromTheProgramComeBackFromTheSavedDocument) {
  qt::QtRuntime runtime(English());
  runtime.clock().Set(Day(2003, 11, 9));
  QFont font("DejaVu Serif");
  font.setPointSizeF(14.25);
  font.setBold(true);
  font.setItalic(true);
  const std::vector<std::pair<const char*, QVariant>> values = {
      {"backColor", qt::SystemColor(13)},
      {"foreColor", QColor(0x12, 0x34, 0x56)},
      {"controlEnabled", true},
      {"controlFont", font},
      {"backStyle", INT16_MIN},
      {"borderStyle", 7},
      {"selectedDate", QString::fromUtf8("não é data ✓")},
  };

  JornavistaWidget saved(runtime);
  for (const auto& [name, value] : values) ASSERT_TRUE(saved.setProperty(name, value)) << name;
  document::FormDocument document;
  document.controls.emplace_back();
  document.controls[0].class_name = "ctrJornavista";
  document.controls[0].name = "ctrJornavista1";
  ASSERT_EQ(saved.control()->WriteProperties(document.controls[0].properties), S_OK);
  const fs::path file = fs::temp_directory_path() / ("jv-widget-" + std::to_string(::getpid()) + ".jvf");
  ASSERT_EQ(document::SaveDocument(file.string(), document), std::nullopt);

  document::FormDocument loaded;
  ASSERT_EQ(document::LoadDocument(file.string(), &loaded), std::nullopt);
  fs::remove(file);
  ASSERT_EQ(loaded.controls.size(), 1u);
  JornavistaWidget restored(runtime);
  ASSERT_EQ(restored.control()->ReadProperties(loaded.controls[0].properties), S_OK);
  for (const auto& [name, value] : values) {
    if (std::string_view(name) == "controlFont") continue;
    EXPECT_EQ(restored.property(name), value) << name;
  }
  const QFont back = restored.controlFont();
  EXPECT_EQ(std::tuple(back.family(), back.pointSizeF(), back.bold(), back.italic()),
            std::tuple(QString("DejaVu Serif"), 14.25, true, true));
}

}  // namespace
}  // namespace jv::testing
