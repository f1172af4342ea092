#include "widgets/qt/jornavista_widget.h"

#include <QFontInfo>
#include <QResizeEvent>

#include "control/ctr_jornavista.h"
#include "platform/automation/std_font.h"
#include "platform/qt/design_values.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"

namespace jv::qt {

struct JornavistaWidget::Impl final : platform::Container {
  explicit Impl(JornavistaWidget& owner) : owner(owner) {}

  HRESULT OnPropertyChanged(TextView name) override {
    emit owner.propertyChanged(ToQString(name));
    return S_OK;
  }
  HRESULT GetAmbientFont(IFont** out) override {
    if (out == nullptr) return E_POINTER;
    const QFont font = owner.font();
    const QFontInfo info(font);
    FontDescription description;
    description.name = font.family().toStdU16String();
    // Points in ten-thousandths, from the size the font is drawn at.
    description.size_cy = static_cast<std::int64_t>(info.pointSizeF() * 10000.0 + 0.5);
    description.weight = static_cast<std::int16_t>(font.weight());
    description.bold = font.weight() >= QFont::DemiBold;
    description.italic = font.italic();
    description.underline = font.underline();
    description.strikethrough = font.strikeOut();
    return CreateStdFont(description, out);
  }

  QtFace* face() const { return control ? static_cast<QtFace*>(&control->face()) : nullptr; }

  void Start(QtRuntime& on) {
    status = control::ctrJornavista::Create(on, *this, &control);
    QtFace* f = face();
    if (f == nullptr) return;
    f->surface()->setParent(&owner);
    f->surface()->move(0, 0);
    f->surface()->show();
    // The container's first size request is the control's stored size, which
    // the control then brings down to its frame's.
    (void)f->RequestSize(f->width(), f->height());
    owner.resize(f->surface()->size());
  }

  JornavistaWidget& owner;
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
  // The control and its surface go while this widget is still whole.
  d_->control.reset();
}

HRESULT JornavistaWidget::status() const { return d_->status; }
control::ctrJornavista* JornavistaWidget::control() const { return d_->control.get(); }

QString JornavistaWidget::selectedDate() const {
  if (!d_->control) return {};
  Text text;
  if (FAILED(d_->control->get_SDate(&text))) return {};
  return ToQString(text);
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
