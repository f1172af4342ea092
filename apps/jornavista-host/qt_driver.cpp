#include "apps/jornavista-host/qt_driver.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWindow>

#include "platform/automation/std_font.h"
#include "platform/qt/design_values.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/virtual_keys.h"

namespace jv::host {

namespace {

constexpr int kMargin = 8;  // around and between the instances on the form

// The text a key types, so that the event is the one a keyboard would send.
QString TextOf(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return {};
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    const char c = static_cast<char>((modifiers & Qt::ShiftModifier) ? key : key - Qt::Key_A + 'a');
    return QString(QLatin1Char(c));
  }
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return QString(QLatin1Char(static_cast<char>(key)));
  if (key == Qt::Key_Space) return QStringLiteral(" ");
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return QStringLiteral("\r");
  if (key == Qt::Key_Tab) return QStringLiteral("\t");
  return {};
}

// A left-button press and release at `at`, delivered to the top-level window as
// the window system delivers a user's click, so that the widget under it gets
// the focus its policy asks for before it sees the press.
void Click(QWidget* target, QPoint at) {
  QWidget* const top = target->window();
  QObject* receiver = top->windowHandle();
  QPointF local(target->mapTo(top, at));
  if (receiver == nullptr) {  // not shown yet: straight to the widget
    receiver = target;
    local = QPointF(at);
  }
  const QPointF global(target->mapToGlobal(at));
  QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QCoreApplication::sendEvent(receiver, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(receiver, &release);
}

// Keys go to the active window's focus widget: a form that is shown waits, up to
// a bound, for the window system to make it active.
void WaitUntilActive(QWidget& window) {
  constexpr int kActivationWaitMs = 5000;
  const QDeadlineTimer deadline(kActivationWaitMs);
  while (!window.isActiveWindow() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

struct QtDriver::Impl {
  explicit Impl(std::shared_ptr<FormLibrary> library) : host(std::move(library), runtime) {}

  // Destroyed bottom up: the instances (whose surfaces sit on the form), then the
  // form, then the container side and the runtime they were built on.
  qt::QtRuntime runtime;
  FormHost host;
  QWidget form;
  QWidget* footer = nullptr;  // a child of the form
  std::vector<std::unique_ptr<FormInstance>> controls;
  std::size_t current = 0;

  // The runtime built every face, so each one is a QtFace.
  static qt::QtFace& FaceOf(const FormInstance& c) { return static_cast<qt::QtFace&>(*c.face); }
  qt::QtFace* face() { return current < controls.size() ? &FaceOf(*controls[current]) : nullptr; }
  void Arrange() {
    int x = kMargin, height = 0;
    for (const auto& c : controls) {
      QWidget* surface = FaceOf(*c).surface();
      surface->move(x, kMargin);
      x += surface->width() + kMargin;
      height = std::max(height, surface->height());
    }
    int width = std::max(x, 2 * kMargin), bottom = height + 2 * kMargin;
    if (footer != nullptr) {
      footer->adjustSize();
      footer->move(kMargin, bottom - kMargin / 2);
      width = std::max(width, footer->width() + 2 * kMargin);
      bottom += footer->height();
    }
    form.resize(width, bottom);
  }
};

QtDriver::QtDriver(std::shared_ptr<FormLibrary> library) : d_(std::make_unique<Impl>(std::move(library))) {
  // A container always has an ambient font; this one starts with a new standard font.
  IFont* font = nullptr;
  if (SUCCEEDED(CreateStdFont(FontDescription{}, &font))) d_->host.SetAmbientFont(FontRef::Adopt(font));
  d_->form.setWindowTitle(QStringLiteral("Jornavista"));
  d_->form.setFont(qt::DefaultFont());
}

QtDriver::~QtDriver() { d_->controls.clear(); }

QWidget& QtDriver::form() { return d_->form; }

void QtDriver::SetFooter(QWidget* footer) {
  if (footer != nullptr) footer->setParent(&d_->form);
  d_->footer = footer;
  d_->Arrange();
}

void QtDriver::SetChangeListener(std::function<void(const std::string&)> listener) {
  d_->host.SetChangeListener(std::move(listener));
}

void QtDriver::SetToday(DATE today) { d_->runtime.clock().Set(today); }

void QtDriver::ClearControls() {
  d_->controls.clear();
  d_->current = 0;
  d_->host.TakeChanged();
  d_->Arrange();
}

HRESULT QtDriver::AddControl() {
  std::unique_ptr<FormInstance> created;
  JV_TRY(d_->host.Create(&created));
  qt::QtFace& face = Impl::FaceOf(*created);
  face.surface()->setParent(&d_->form);
  face.surface()->show();
  // The form's first size request is the stored design size; the control then
  // brings itself down to its frame's.
  (void)face.RequestSize(face.width(), face.height());
  d_->controls.push_back(std::move(created));
  d_->current = d_->controls.size() - 1;
  d_->Arrange();
  if (!d_->form.isVisible()) {
    d_->form.show();
    d_->form.activateWindow();
    WaitUntilActive(d_->form);
  }
  return S_OK;
}

std::size_t QtDriver::ControlCount() { return d_->controls.size(); }

void QtDriver::SelectControl(std::size_t index) {
  if (index < d_->controls.size()) d_->current = index;
}

IDispatch* QtDriver::instance() {
  return d_->current < d_->controls.size() ? d_->controls[d_->current]->dispatch.get() : nullptr;
}

HRESULT QtDriver::ControlSize(std::int32_t* width, std::int32_t* height) {
  if (width == nullptr || height == nullptr) return E_POINTER;
  qt::QtFace* face = d_->face();
  if (face == nullptr) return E_UNEXPECTED;
  platform::Surface& surface = face->UserControl();
  JV_TRY(surface.get_Width(width));
  return surface.get_Height(height);
}

void QtDriver::SetAmbientFont(FontRef font) { d_->host.SetAmbientFont(std::move(font)); }

HRESULT QtDriver::ClickCell(std::int16_t index) {
  qt::QtFace* face = d_->face();
  if (face == nullptr) return E_UNEXPECTED;
  const QRect cell = face->CellRect(index);
  QWidget* picture = face->widget("Picture1");
  if (cell.isEmpty() || picture == nullptr) return E_INVALIDARG;
  Click(picture, cell.center());
  return S_OK;
}

HRESULT QtDriver::ClickNext() { return ClickButton("cmdNext"); }

HRESULT QtDriver::ClickPrevious() { return ClickButton("cmdPrevious"); }

HRESULT QtDriver::ClickButton(const char* name) {
  qt::QtFace* face = d_->face();
  QWidget* button = face != nullptr ? face->widget(name) : nullptr;
  if (button == nullptr) return E_UNEXPECTED;
  Click(button, button->rect().center());
  return S_OK;
}

HRESULT QtDriver::PressKey(std::int16_t key_code, std::int16_t shift) {
  const std::optional<qt::QtKeyPress> press = qt::QtKeyOf(key_code);
  if (!press) return E_INVALIDARG;
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = d_->form.focusWidget();
  if (target == nullptr) target = &d_->form;
  const Qt::KeyboardModifiers modifiers = press->modifiers | qt::ModifiersOf(shift);
  const QString text = TextOf(press->key, modifiers);
  // One press and one release with the modifiers held, as the headless host
  // delivers the code alone; pressing the modifier keys too would add key events
  // of their own.
  QKeyEvent down(QEvent::KeyPress, press->key, modifiers, text);
  QCoreApplication::sendEvent(target, &down);
  QKeyEvent up(QEvent::KeyRelease, press->key, modifiers, text);
  if (QApplication::focusWidget() != nullptr) QCoreApplication::sendEvent(QApplication::focusWidget(), &up);
  return S_OK;
}

std::int16_t QtDriver::CellCount() {
  qt::QtFace* face = d_->face();
  return face ? face->cell_count() : 0;
}

CellView QtDriver::Cell(std::int16_t index) {
  qt::QtFace* face = d_->face();
  const std::optional<qt::QtFace::CellLook> cell = face ? face->cell(index) : std::nullopt;
  if (!cell) return {};
  return {cell->caption, cell->fore, cell->back};
}

namespace {

// What the text box shows, which is what the face holds.
Text ShownText(qt::QtFace* face, const char* name, const Text& held) {
  const auto* edit = face ? qobject_cast<const QLineEdit*>(face->widget(name)) : nullptr;
  return edit ? edit->text().toStdU16String() : held;
}

}  // namespace

Text QtDriver::YearText() {
  qt::QtFace* face = d_->face();
  return face ? ShownText(face, "txtYear", face->year_text()) : Text();
}

Text QtDriver::DateText() {
  qt::QtFace* face = d_->face();
  return face ? ShownText(face, "txtDate", face->date_text()) : Text();
}

std::optional<std::string> QtDriver::Focus() {
  qt::QtFace* face = d_->face();
  if (face == nullptr) return std::nullopt;
  std::string name = face->FocusedControl();
  if (name.empty()) return std::nullopt;
  return name;
}

std::vector<std::string> QtDriver::TakeChanged() { return d_->host.TakeChanged(); }

std::optional<std::string> QtDriver::ArmFault(std::string_view, std::uint32_t) {
  return "fault injection needs the headless runtime";
}

}  // namespace jv::host
