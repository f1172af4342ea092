// The Qt Designer plugin: JornavistaWidget in Designer's widget box, with its
// properties in the property editor and in the forms Designer saves.
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace jv::qt {

// What Designer and QUiLoader need to place the widget on a form: its class and
// header, its group and icon in the widget box, and what a new instance starts
// with.
class JornavistaWidgetDescription final : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit JornavistaWidgetDescription(QObject* parent = nullptr);

  QString name() const override;
  QString group() const override;
  QString toolTip() const override;
  QString whatsThis() const override;
  QString includeFile() const override;
  QIcon icon() const override;
  bool isContainer() const override;
  QWidget* createWidget(QWidget* parent) override;
  QString domXml() const override;
  bool isInitialized() const override;
  // Adds the calendar's task menu to Designer.
  void initialize(QDesignerFormEditorInterface* core) override;

 private:
  bool initialized_ = false;
};

// The plugin library's entry: a collection, so that more widgets can join.
class JornavistaDesignerPlugins final : public QObject, public QDesignerCustomWidgetCollectionInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
  Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

 public:
  explicit JornavistaDesignerPlugins(QObject* parent = nullptr);
  QList<QDesignerCustomWidgetInterface*> customWidgets() const override;

 private:
  QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace jv::qt
