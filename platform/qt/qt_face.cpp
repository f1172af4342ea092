#include "platform/qt/qt_face.h"

#include "platform/qt/qt_runtime.h"

namespace jv::qt {

QtFace::QtFace(QtRuntime& runtime, platform::Container& container)
    : runtime_(runtime), surface_(*this, container) {
  HoldControls({&l_, &txtYear_, &txtDate_, &picture_, &frame_, &surface_});
}

QtFace::~QtFace() {
  // Deleting the widgets must not reach the control, which is going too.
  ConnectEvents(nullptr);
  // A host widget taken out of the surface would outlive the labels and the
  // model it points at: every host lets go of them first.
  for (DayCellLabel& cell : l_.cells())
    if (cell.state.host != nullptr) cell.state.host->DropLabels();
  for (HeadingLabel& heading : other_labels_)
    if (heading.state.host != nullptr) heading.state.host->DropLabels();
  delete surface_.widget.data();
}

template <class Deliver>
void QtFace::DeliverInput(Deliver deliver) {
  const std::weak_ptr<bool> alive = alive_;
  {
    const RepaintBatch batch;
    deliver();
  }
  if (!alive.expired()) reading_->InputEnded();
}

void QtFace::ClickCell(std::int16_t index) {
  DeliverInput([&] { (void)RaiseCellClick(index); });
}

void QtFace::PressKey(std::int16_t key_code, std::int16_t shift) {
  DeliverInput([&] { (void)RaiseKeyDown(key_code, shift); });
}

QWidget* QtFace::widget(std::string_view name) const {
  for (const auto& [known, made] : widgets_)
    if (known == name) return made.data();
  return nullptr;
}

void QtFace::Keep(std::string_view name, QWidget* made) {
  for (auto& [known, widget] : widgets_) {
    if (known == name) {
      widget = made;
      return;
    }
  }
  widgets_.emplace_back(std::string(name), made);
}

std::string QtFace::FocusedControl() const {
  if (!surface_.widget) return "";
  const QWidget* focused = surface_.widget->window()->focusWidget();
  if (focused == nullptr) return "";
  for (const auto& [name, widget] : widgets_)
    if (widget == focused) return name;
  return "";
}

QRect QtFace::CellRect(std::int16_t index) const {
  const DayCellLabel* cell = l_.Find(index);
  return cell ? cell->Rect() : QRect();
}

std::optional<QtFace::CellLook> QtFace::cell(std::int16_t index) const {
  const DayCellLabel* cell = l_.Find(index);
  if (cell == nullptr) return std::nullopt;
  return CellLook{Text(model()->CaptionOf(index)), cell->state.fore, cell->state.back};
}

}  // namespace jv::qt
