// The Designer plugin as Designer meets it: loaded from its file, a collection
// listing the calendar with its group, header, icon and a domXml that describes a
// new instance, and a factory of working calendars.
#include <QMetaProperty>
#include <QPluginLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>

#include "tests/qt/qt_test_support.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::testing {
namespace {

QDesignerCustomWidgetInterface* LoadCalendarPlugin() {
  static QPluginLoader loader(QStringLiteral(JV_PLUGIN_FILE));
  auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
  EXPECT_NE(collection, nullptr) << loader.errorString().toStdString();
  if (collection == nullptr) return nullptr;
  const QList<QDesignerCustomWidgetInterface*> widgets = collection->customWidgets();
  EXPECT_EQ(widgets.size(), 1);
  return widgets.value(0);
}

// The properties that domXml sets on the widget element, read as the values the
// Qt property system would give them.
struct DomWidget {
  QString class_name;
  std::map<QString, QVariant> properties;
};

DomWidget ParseDomXml(const QString& xml) {
  DomWidget widget;
  QXmlStreamReader r(xml);
  QString property;
  QColor color;
  while (!r.atEnd()) {
    if (r.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView tag = r.name();
    if (tag == u"widget") {
      widget.class_name = r.attributes().value("class").toString();
    } else if (tag == u"property") {
      property = r.attributes().value("name").toString();
    } else if (tag == u"color") {
      color = QColor(0, 0, 0, r.attributes().hasAttribute("alpha") ? r.attributes().value("alpha").toInt() : 255);
      widget.properties[property] = color;
    } else if (tag == u"red" || tag == u"green" || tag == u"blue") {
      const int v = r.readElementText().toInt();
      tag == u"red" ? color.setRed(v) : tag == u"green" ? color.setGreen(v) : color.setBlue(v);
      widget.properties[property] = color;
    } else if (tag == u"bool") {
      widget.properties[property] = r.readElementText() == u"true";
    } else if (tag == u"number") {
      widget.properties[property] = r.readElementText().toInt();
    } else if (tag == u"rect") {
      widget.properties[property] = QStringLiteral("rect");
    }
  }
  EXPECT_FALSE(r.hasError()) << r.errorString().toStdString();
  return widget;
}

TEST(DesignerPluginTest, ListsTheCalendarInItsOwnGroupWithTheToolboxPictureAndHeader) {
  QDesignerCustomWidgetInterface* plugin = LoadCalendarPlugin();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->name(), "jv::qt::JornavistaWidget");
  EXPECT_EQ(plugin->group(), "Jornavista");
  EXPECT_EQ(plugin->includeFile(), "widgets/qt/jornavista_widget.h");
  EXPECT_FALSE(plugin->isContainer());

  // The component library's toolbox bitmap, its grey background see-through.
  const QImage expected(QStringLiteral(JV_TOOLBOX_BITMAP));
  ASSERT_EQ(expected.size(), QSize(16, 15));
  const QImage icon = plugin->icon().pixmap(expected.size()).toImage();
  ASSERT_EQ(icon.size(), expected.size());
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 16; ++x) {
      const QColor want = expected.pixelColor(x, y);
      if (want == QColor(192, 192, 192))
        EXPECT_EQ(icon.pixelColor(x, y).alpha(), 0) << x << "," << y;
      else
        EXPECT_EQ(icon.pixelColor(x, y), want) << x << "," << y;
    }
}

TEST(DesignerPluginTest, DomXmlDescribesWhatANewInstanceReports) {
  QDesignerCustomWidgetInterface* plugin = LoadCalendarPlugin();
  ASSERT_NE(plugin, nullptr);
  const DomWidget dom = ParseDomXml(plugin->domXml());
  EXPECT_EQ(dom.class_name, plugin->name());
  QWidget form;
  QWidget* created = plugin->createWidget(&form);
  auto* calendar = qobject_cast<qt::JornavistaWidget*>(created);
  ASSERT_NE(calendar, nullptr) << "createWidget gives the calendar itself";
  EXPECT_EQ(calendar->parentWidget(), &form);
  EXPECT_EQ(calendar->status(), S_OK);
  EXPECT_EQ(calendar->size(), QSize(231, 249));
  EXPECT_FALSE(calendar->selectedDate().isEmpty()) << "a new instance selects today";
  for (const char* name : {"backColor", "foreColor", "controlEnabled", "backStyle", "borderStyle"}) {
    ASSERT_TRUE(dom.properties.count(name)) << name << " is missing from domXml";
    EXPECT_EQ(dom.properties.at(name), calendar->property(name)) << name;
  }
  EXPECT_TRUE(dom.properties.count("geometry"));
}

// Designer lists and saves only designable, stored properties; the form learns of
// a change through the notify signal.
TEST(DesignerPluginTest, TheSevenPropertiesAreDesignableStoredAndNotified) {
  const QMetaObject& meta = qt::JornavistaWidget::staticMetaObject;
  QStringList names;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    const QMetaProperty p = meta.property(i);
    names << p.name();
    EXPECT_TRUE(p.isDesignable() && p.isStored() && p.isWritable() && p.hasNotifySignal()) << p.name();
  }
  EXPECT_EQ(names, QStringList({"backColor", "foreColor", "controlEnabled", "controlFont", "backStyle",
                                "borderStyle", "selectedDate"}));
}

}  // namespace
}  // namespace jv::testing
