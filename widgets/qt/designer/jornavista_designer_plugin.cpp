#include "widgets/qt/designer/jornavista_designer_plugin.h"

#include <QBitmap>
#include <QDesignerFormEditorInterface>
#include <QExtensionManager>
#include <QIcon>
#include <QPixmap>

#include "widgets/qt/designer/selected_date_task_menu.h"
#include "widgets/qt/jornavista_widget.h"

namespace jv::qt {

JornavistaWidgetDescription::JornavistaWidgetDescription(QObject* parent) : QObject(parent) {}

QString JornavistaWidgetDescription::name() const { return QStringLiteral("jv::qt::JornavistaWidget"); }
QString JornavistaWidgetDescription::group() const { return QStringLiteral("Jornavista"); }
QString JornavistaWidgetDescription::toolTip() const { return QStringLiteral("Month calendar"); }
QString JornavistaWidgetDescription::whatsThis() const {
  return QStringLiteral(
      "A month calendar. The user pages by month and picks a day; selectedDate holds the picked date as "
      "text. The colours, controlEnabled, controlFont and the styles are kept and saved, not painted.");
}
// What uic writes into the code it generates, relative to the installed include
// folder (or the source tree).
QString JornavistaWidgetDescription::includeFile() const {
  return QStringLiteral("widgets/qt/jornavista_widget.h");
}

// The component library's toolbox picture; its grey background is see-through,
// as a form designer's toolbox shows it.
QIcon JornavistaWidgetDescription::icon() const {
  QPixmap picture(QStringLiteral(":/jornavista/toolbox.bmp"));
  if (picture.isNull()) return {};
  picture.setMask(picture.createMaskFromColor(QColor(192, 192, 192)));
  return QIcon(picture);
}

bool JornavistaWidgetDescription::isContainer() const { return false; }

bool JornavistaWidgetDescription::isInitialized() const { return initialized_; }

void JornavistaWidgetDescription::initialize(QDesignerFormEditorInterface* core) {
  if (initialized_) return;
  initialized_ = true;
  if (core == nullptr || core->extensionManager() == nullptr) return;
  QExtensionManager* manager = core->extensionManager();
  manager->registerExtensions(new SelectedDateTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
}

QWidget* JornavistaWidgetDescription::createWidget(QWidget* parent) { return new JornavistaWidget(parent); }

// A new instance as it starts: the control's size, and the defaults it takes
// (black colours, Enabled false, both styles 0). The font is the form's and
// selectedDate is today, so neither is fixed here.
QString JornavistaWidgetDescription::domXml() const {
  return QStringLiteral(R"(<ui language="c++" displayname="Jornavista calendar">
 <widget class="jv::qt::JornavistaWidget" name="calendar">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>231</width><height>249</height></rect>
  </property>
  <property name="backColor">
   <color alpha="255"><red>0</red><green>0</green><blue>0</blue></color>
  </property>
  <property name="foreColor">
   <color alpha="255"><red>0</red><green>0</green><blue>0</blue></color>
  </property>
  <property name="controlEnabled">
   <bool>false</bool>
  </property>
  <property name="backStyle">
   <number>0</number>
  </property>
  <property name="borderStyle">
   <number>0</number>
  </property>
 </widget>
</ui>
)");
}

JornavistaDesignerPlugins::JornavistaDesignerPlugins(QObject* parent) : QObject(parent) {
  widgets_.append(new JornavistaWidgetDescription(this));
}

QList<QDesignerCustomWidgetInterface*> JornavistaDesignerPlugins::customWidgets() const { return widgets_; }

}  // namespace jv::qt
