#include "widgets/qt/jornavista_widget.h"

#include <QFontInfo>
#include <QResizeEvent>
#include <utility>

#include "control/ctr_jornavista.h"
#include "platform/automation/std_font.h"
#include "platform/qt/design_values.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "widgets/qt/property_values.h"

namespace jv::qt {

// A widget deleted in one of its own signals hands this to the event loop
// (Orphan), which deletes it once the control's call has returned.
struct JornavistaWidget::Impl final : platform::Container {
  explicit Impl(JornavistaWidget& owner) : owner(&owner) {}

  HRESULT OnPropertyChanged(TextView name) override {
    // The widget may be gone: a handler of an earlier signal deleted it.
    if (owner == nullptr) return S_OK;
    ++notices;
    // Each persisted property's own signal, by the property's name in the control.
    using Notify = void (*)(JornavistaWidget&);
    static constexpr std::pair<TextView, Notify> kSignals[] = {
        {u"BackColor", [](JornavistaWidget& w) { emit w.backColorChanged(w.backColor()); }},
        {u"ForeColor", [](JornavistaWidget& w) { emit w.foreColorChanged(w.foreColor()); }},
        {u"Enabled", [](JornavistaWidget& w) { emit w.controlEnabledChanged(w.controlEnabled()); }},
        {u"Font", [](JornavistaWidget& w) { emit w.controlFontChanged(w.controlFont()); }},
        {u"BackStyle", [](JornavistaWidget& w) { emit w.backStyleChanged(w.backStyle()); }},
        {u"BorderStyle", [](JornavistaWidget& w) { emit w.borderStyleChanged(w.borderStyle()); }},
        {u"SDate", [](JornavistaWidget& w) { emit w.selectedDateChanged(w.selectedDate()); }},
    };
    for (const auto& [known, notify] : kSignals) {
      if (name == known) {
        notify(*owner);
        break;
      }
    }
    if (owner != nullptr) emit owner->propertyChanged(ToQString(name));
    --notices;
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** out) override {
    if (out == nullptr) return E_POINTER;
    // Once the widget has gone, the application's font stands for its font.
    const QFont font = owner != nullptr ? owner->font() : QFont();
    FontDescription description = DescriptionFromFont(font);
    // Points from the size the font is drawn at.
    description.size_cy = static_cast<std::int64_t>(QFontInfo(font).pointSizeF() * 10000.0 + 0.5);
    return CreateStdFont(description, out);
  }

  QtFace* face() const { return control ? static_cast<QtFace*>(&control->face()) : nullptr; }

  void Start(QtRuntime& on) {
    status = control::ctrJornavista::Create(on, *this, &control);
    QtFace* f = face();
    if (f == nullptr) return;
    // A widget is always a new instance: its properties start at their defaults,
    // and a form or program then sets the ones it keeps.
    status = control->InitProperties();
    f->surface()->setParent(owner);
    f->surface()->move(0, 0);
    f->surface()->show();
    // The container's first size request is the control's stored size, which
    // the control then brings down to its frame's.
    (void)f->RequestSize(f->width(), f->height());
    owner->resize(f->surface()->size());
  }

  // The widget is being deleted inside one of its signals, while the control (and
  // perhaps the Qt event that reached it) is still running below the handler. The
  // control, its face and its widgets stay whole until that call has returned: the
  // surface leaves the dying widget (hidden, so it shows nowhere) and the event
  // loop deletes everything later, as deleteLater does.
  void Orphan() {
    owner = nullptr;
    if (QtFace* f = face(); f != nullptr && f->surface() != nullptr) {
      f->surface()->hide();
      f->surface()->setParent(nullptr);
    }
    // A QObject made only now, in this rare case, so that every other instance
    // goes without one: deleteLater waits for the event loop that called the
    // control, and the reaper takes this with it.
    struct Reaper final : QObject {
      std::unique_ptr<Impl> impl;
    };
    auto* reaper = new Reaper;
    reaper->impl.reset(this);
    reaper->deleteLater();
  }

  // Reads one of the control's values; `fallback` when there is no control.
  template <class T, class Get>
  T Read(Get get, T fallback) const {
    T value = fallback;
    if (control && FAILED(((*control).*get)(&value))) return fallback;
    return value;
  }

  JornavistaWidget* owner;  // null once the widget has gone
  int notices = 0;           // change notices now running, each emitting signals
  std::unique_ptr<QtRuntime> own_runtime;
  HRESULT status = E_UNEXPECTED;
  // Declared last: the control and its face go before anything they use.
  std::unique_ptr<control::ctrJornavista> control;
};

JornavistaWidget::JornavistaWidget(QWidget* parent) : QWidget(parent), d_(std::make_unique<Impl>(*this)) {
  d_->own_runtime = std::make_unique<QtRuntime>();
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  d_->Start(*d_->own_runtime);
}

JornavistaWidget::JornavistaWidget(QtRuntime& runtime, QWidget* parent)
    : QWidget(parent), d_(std::make_unique<Impl>(*this)) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  d_->Start(runtime);
}

JornavistaWidget::~JornavistaWidget() {
  if (d_->notices > 0) {
    d_.release()->Orphan();
    return;
  }
  // The control and its surface go while this widget is still whole.
  d_->control.reset();
}

HRESULT JornavistaWidget::status() const { return d_->status; }
control::ctrJornavista* JornavistaWidget::control() const { return d_->control.get(); }

QColor JornavistaWidget::backColor() const {
  return ColorFromOle(d_->Read<OLE_COLOR>(&control::ctrJornavista::get_BackColor, 0));
}
QColor JornavistaWidget::foreColor() const {
  return ColorFromOle(d_->Read<OLE_COLOR>(&control::ctrJornavista::get_ForeColor, 0));
}
bool JornavistaWidget::controlEnabled() const {
  return d_->Read<VARIANT_BOOL>(&control::ctrJornavista::get_Enabled, VARIANT_FALSE) != VARIANT_FALSE;
}
QFont JornavistaWidget::controlFont() const {
  FontRef held = FontRef::Adopt(d_->Read<IFont*>(&control::ctrJornavista::get_Font, nullptr));
  FontDescription description;
  if (!held || FAILED(DescribeFont(held.get(), &description))) return font();
  return FontFromDescription(description);
}
int JornavistaWidget::backStyle() const {
  return d_->Read<std::int16_t>(&control::ctrJornavista::get_BackStyle, 0);
}
int JornavistaWidget::borderStyle() const {
  return d_->Read<std::int16_t>(&control::ctrJornavista::get_BorderStyle, 0);
}
QString JornavistaWidget::selectedDate() const {
  return ToQString(d_->Read<Text>(&control::ctrJornavista::get_SDate, Text()));
}

bool JornavistaWidget::setBackColor(const QColor& color) {
  const std::optional<OLE_COLOR> value = OleFromColor(color);
  return d_->control && value && SUCCEEDED(d_->control->put_BackColor(*value));
}
bool JornavistaWidget::setForeColor(const QColor& color) {
  const std::optional<OLE_COLOR> value = OleFromColor(color);
  return d_->control && value && SUCCEEDED(d_->control->put_ForeColor(*value));
}
bool JornavistaWidget::setControlEnabled(bool enabled) {
  return d_->control && SUCCEEDED(d_->control->put_Enabled(enabled ? VARIANT_TRUE : VARIANT_FALSE));
}
bool JornavistaWidget::setControlFont(const QFont& font) {
  if (!d_->control) return false;
  FontRef created;
  if (FAILED(CreateStdFont(DescriptionFromFont(font), created.put()))) return false;
  return SUCCEEDED(d_->control->putref_Font(created.get()));
}
bool JornavistaWidget::setBackStyle(int style) {
  const std::optional<std::int16_t> value = StyleFromInt(style);
  return d_->control && value && SUCCEEDED(d_->control->put_BackStyle(*value));
}
bool JornavistaWidget::setBorderStyle(int style) {
  const std::optional<std::int16_t> value = StyleFromInt(style);
  return d_->control && value && SUCCEEDED(d_->control->put_BorderStyle(*value));
}
bool JornavistaWidget::setSelectedDate(const QString& text) {
  return d_->control && SUCCEEDED(d_->control->put_SDate(text.toStdU16String()));
}

QSize JornavistaWidget::sizeHint() const {
  const QtFace* f = d_->face();
  return f && f->surface() ? f->surface()->size() : QSize(0, 0);
}

QSize JornavistaWidget::minimumSizeHint() const { return sizeHint(); }

void JornavistaWidget::resizeEvent(QResizeEvent* event) {
  QtFace* f = d_->face();
  if (f == nullptr || f->surface() == nullptr) return;
  const QSize asked = event->size();
  if (asked != f->surface()->size()) (void)f->RequestSize(ToTwips(asked.width()), ToTwips(asked.height()));
  // Like any container, the widget takes the size the control settled on.
  if (size() != f->surface()->size()) resize(f->surface()->size());
}

}  // namespace jv::qt
