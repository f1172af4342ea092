#include "platform/qt/qt_face.h"

#include <qdrawutil.h>

#include <QApplication>
#include <QHash>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QStaticText>
#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/qt/design_values.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/virtual_keys.h"

namespace jv::qt {

namespace {

// The colours a constituent control has when its design gives none.
constexpr OLE_COLOR kSysButtonFace = 0x8000000Fu;
constexpr OLE_COLOR kSysButtonText = 0x80000012u;

// Nested Resize runs deeper than this mean a handler that never settles.
constexpr int kMaxResizeDepth = 8;

// Picture1's sunken border; its interior, where the day cells are placed, starts
// inside it.
constexpr int kPictureBorder = 2;

}  // namespace

// A widget that paints the windowless labels placed in it, beneath its child
// widgets, in the order of the layout (so the band lies under the headings).
class LabelHost : public QWidget {
 public:
  explicit LabelHost(QWidget* parent) : QWidget(parent) {}

  std::vector<const LabelState*> labels;
  QPoint interior;  // where the interior's (0, 0) lies

 protected:
  void PaintLabels(QPainter& p, const QRect& dirty) {
    const QPalette& pal = palette();
    p.setFont(font());
    const QFont* current = nullptr;
    QString font_key = p.font().key();
    for (const LabelState* label : labels) {
      if (!label->rect.intersects(dirty)) continue;
      p.fillRect(label->rect, Resolve(label->back, pal));
      if (label->caption.empty()) continue;
      const QFont* wanted = label->font ? &*label->font : nullptr;
      if (wanted != current) {
        p.setFont(wanted ? *wanted : font());
        current = wanted;
        font_key = p.font().key();
      }
      const QStaticText& text = ShapedText(ToQString(label->caption), p.font(), font_key);
      const QSizeF size = text.size();
      const int x = label->alignment == platform::TextAlignment::Center
                        ? label->rect.left() + static_cast<int>((label->rect.width() - size.width()) / 2)
                        : label->rect.left();
      const bool overflows = size.width() > label->rect.width() || size.height() > label->rect.height();
      if (overflows) {
        p.save();
        p.setClipRect(label->rect, Qt::IntersectClip);
      }
      p.setPen(Resolve(label->fore, pal));
      p.drawStaticText(QPoint(x, label->rect.top()), text);
      if (overflows) p.restore();
    }
  }

 private:
  // Shaping a caption costs several times drawing it, and the grid shows the same
  // few day numbers month after month: every face shares one cache of shaped
  // captions, by font and text. Widgets live on one thread only.
  static const QStaticText& ShapedText(const QString& caption, const QFont& font, const QString& font_key) {
    static QHash<QString, QStaticText> cache;
    constexpr qsizetype kMaxEntries = 1024;
    const QString key = font_key + QChar(0x1F) + caption;
    auto it = cache.find(key);
    if (it == cache.end()) {
      if (cache.size() >= kMaxEntries) cache.clear();
      QStaticText text(caption);
      text.setTextFormat(Qt::PlainText);
      text.prepare(QTransform(), font);
      it = cache.insert(key, text);
    }
    return *it;
  }
};

struct QtFace::Parts {
  Parts(QtRuntime& r, platform::Container& c) : runtime(r), container(c) {}

  QtRuntime& runtime;
  platform::Container& container;
  platform::ControlEvents* handlers = nullptr;

  // The labels, stored so that the pointers the widgets hold stay valid.
  struct WindowlessLabel final : platform::Label {
    LabelState state;
    QPointer<LabelHost> host;

    void Repaint() {
      if (host) host->update(state.rect);
    }
    HRESULT get_Caption(Text* out) override {
      if (out == nullptr) return E_POINTER;
      *out = state.caption;
      return S_OK;
    }
    HRESULT put_Caption(TextView caption) override {
      if (caption == state.caption) return S_OK;
      state.caption.assign(caption.data(), caption.size());
      Repaint();
      return S_OK;
    }
    HRESULT put_ForeColor(OLE_COLOR color) override {
      if (color == state.fore) return S_OK;
      state.fore = color;
      if (!state.caption.empty()) Repaint();
      return S_OK;
    }
    HRESULT put_BackColor(OLE_COLOR color) override {
      if (color == state.back) return S_OK;
      state.back = color;
      Repaint();
      return S_OK;
    }
  };

  struct DayCells final : platform::LabelArray {
    std::int16_t lbound = 1;
    std::vector<WindowlessLabel> cells;  // cells[i] has index lbound + i, without gaps

    HRESULT get_Count(std::int16_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = static_cast<std::int16_t>(cells.size());
      return S_OK;
    }
    HRESULT get_LBound(std::int16_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = lbound;
      return S_OK;
    }
    HRESULT get_UBound(std::int16_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = static_cast<std::int16_t>(lbound + static_cast<std::int16_t>(cells.size()) - 1);
      return S_OK;
    }
    HRESULT Item(std::int16_t index, platform::Label** out) override {
      if (out == nullptr) return E_POINTER;
      WindowlessLabel* cell = Find(index);
      if (cell == nullptr) return CTL_E_ARRAYELEMENTMISSING;
      *out = cell;
      return S_OK;
    }
    WindowlessLabel* Find(std::int16_t index) {
      const int slot = index - lbound;
      if (slot < 0 || slot >= static_cast<int>(cells.size())) return nullptr;
      return &cells[static_cast<std::size_t>(slot)];
    }
  };

  // The face's text is the store; the line edit shows it. Neither box takes
  // typing, so the two never part.
  struct TextBoxImpl final : platform::TextBox {
    Text text;
    QPointer<QLineEdit> edit;

    HRESULT get_Text(Text* out) override {
      if (out == nullptr) return E_POINTER;
      *out = text;
      return S_OK;
    }
    HRESULT put_Text(TextView value) override {
      if (value == text) return S_OK;
      text.assign(value.data(), value.size());
      if (edit) edit->setText(ToQString(text));
      return S_OK;
    }
  };

  struct PictureImpl final : platform::PictureBox {
    QPointer<QWidget> widget;
    HRESULT SetFocus() override {
      // A control that is not shown or is disabled cannot take the focus.
      if (!widget || !widget->isVisible() || !widget->isEnabled()) return CTL_E_ILLEGALFUNCTIONCALL;
      widget->setFocus(Qt::OtherFocusReason);
      return S_OK;
    }
  };

  struct FrameImpl final : platform::Frame {
    std::int32_t width = 0, height = 0;
    HRESULT get_Width(std::int32_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = width;
      return S_OK;
    }
    HRESULT get_Height(std::int32_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = height;
      return S_OK;
    }
  };

  struct SurfaceImpl final : platform::Surface {
    Parts* parts = nullptr;
    std::int32_t width = 0, height = 0;
    int resize_depth = 0;

    HRESULT get_Width(std::int32_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = width;
      return S_OK;
    }
    HRESULT get_Height(std::int32_t* out) override {
      if (out == nullptr) return E_POINTER;
      *out = height;
      return S_OK;
    }
    HRESULT put_Width(std::int32_t twips) override { return SetSize(twips, height); }
    HRESULT put_Height(std::int32_t twips) override { return SetSize(width, twips); }
    HRESULT SetSize(std::int32_t w, std::int32_t h) {
      if (!Valid(w, h)) return E_INVALIDARG;
      if (w == width && h == height) return S_OK;
      Apply(w, h);
      // The nested Resize's status goes to the runtime, like any event's; the put
      // itself succeeded.
      (void)RaiseResize();
      return S_OK;
    }
    static bool Valid(std::int32_t w, std::int32_t h) {
      return w >= 0 && h >= 0 && ToPixels(w) <= QWIDGETSIZE_MAX && ToPixels(h) <= QWIDGETSIZE_MAX;
    }
    // The widget follows the twips; the resize event it sends back matches them and
    // so is not taken for the container's request.
    void Apply(std::int32_t w, std::int32_t h) {
      width = w;
      height = h;
      if (parts->surface) parts->surface->resize(ToPixels(w), ToPixels(h));
    }
    QSize Pixels() const { return {ToPixels(width), ToPixels(height)}; }
    HRESULT RaiseResize() {
      if (parts->handlers == nullptr) return S_OK;
      if (resize_depth >= kMaxResizeDepth) return E_UNEXPECTED;
      ++resize_depth;
      const HRESULT hr = parts->handlers->Resize();
      --resize_depth;
      return hr;
    }
    HRESULT PropertyChanged(TextView name) override { return parts->container.OnPropertyChanged(name); }
    HRESULT get_AmbientFont(IFont** out) override { return parts->container.GetAmbientFont(out); }
  };

  // The user's input, delivered to the handlers; their status goes back to the
  // runtime, which has nobody to show it to.
  void ClickCell(std::int16_t index) {
    if (handlers == nullptr) return;
    std::int16_t arg = index;
    (void)handlers->l_Click(arg);
  }
  void ClickButton(const std::string& name) {
    if (handlers == nullptr) return;
    if (name == "cmdNext") (void)handlers->cmdNext_Click();
    if (name == "cmdPrevious") (void)handlers->cmdPrevious_Click();
  }
  void KeyDown(std::int16_t key_code, std::int16_t shift) {
    if (handlers == nullptr) return;
    (void)handlers->Picture1_KeyDown(key_code, shift);
  }
  // A resize that the face did not make itself is the container's size request.
  void SurfaceResized(QSize pixels) {
    if (pixels == surface_impl.Pixels()) return;
    surface_impl.width = ToTwips(pixels.width());
    surface_impl.height = ToTwips(pixels.height());
    (void)surface_impl.RaiseResize();
  }

  DayCells l;
  std::vector<WindowlessLabel> other_labels;
  TextBoxImpl txtYear, txtDate;
  PictureImpl picture;
  FrameImpl frame;
  SurfaceImpl surface_impl;

  QPointer<LabelHost> surface;
  std::map<std::string, QPointer<QWidget>, std::less<>> widgets;
};

namespace {

using Parts = QtFace::Parts;

class SurfaceWidget final : public LabelHost {
 public:
  explicit SurfaceWidget(Parts& parts) : LabelHost(nullptr), parts_(parts) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    PaintLabels(p, event->rect());
  }
  void resizeEvent(QResizeEvent* event) override { parts_.SurfaceResized(event->size()); }

 private:
  Parts& parts_;
};

// A frame with its caption on the top edge; it paints its labels too.
class FrameWidget final : public LabelHost {
 public:
  FrameWidget(QWidget* parent, QString caption) : LabelHost(parent), caption_(std::move(caption)) {}

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), Resolve(kSysButtonFace, pal));
    const QFontMetrics metrics(font());
    const int line = metrics.height() / 2;
    qDrawShadeRect(&p, 0, line, width(), height() - line, pal, true, 1, 0);
    if (!caption_.isEmpty()) {
      const QRect text(8, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
      p.fillRect(text, Resolve(kSysButtonFace, pal));
      p.setPen(Resolve(kSysButtonText, pal));
      p.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption_);
    }
    PaintLabels(p, event->rect());
  }

 private:
  QString caption_;
};

// The picture box: a sunken panel in its background colour, holding the day cells.
// It hit-tests them (a press and a release on the same cell is a click) and turns
// key presses into KeyDown while it has the focus.
class PictureWidget final : public LabelHost {
 public:
  PictureWidget(QWidget* parent, Parts& parts, OLE_COLOR back)
      : LabelHost(parent), parts_(parts), back_(back) {
    interior = {kPictureBorder, kPictureBorder};
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    qDrawWinPanel(&p, rect(), palette(), true, nullptr);
    p.fillRect(rect().adjusted(kPictureBorder, kPictureBorder, -kPictureBorder, -kPictureBorder),
               Resolve(back_, palette()));
    PaintLabels(p, event->rect());
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) pressed_ = CellAt(event->position().toPoint());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    const std::int16_t pressed = std::exchange(pressed_, platform::kNotInArray);
    if (pressed != platform::kNotInArray && CellAt(event->position().toPoint()) == pressed)
      parts_.ClickCell(pressed);  // the handler may delete this widget: nothing after it
  }
  void keyPressEvent(QKeyEvent* event) override {
    const std::optional<std::int16_t> code = VirtualKeyOf(*event);
    if (!code) {
      QWidget::keyPressEvent(event);
      return;
    }
    event->accept();
    parts_.KeyDown(*code, ShiftStateOf(event->modifiers()));
  }

 private:
  // The member of the day-cell array under `pos`, or kNotInArray over a gap.
  std::int16_t CellAt(QPoint pos) const {
    for (auto it = labels.rbegin(); it != labels.rend(); ++it)
      if ((*it)->name == "l" && (*it)->index != platform::kNotInArray && (*it)->rect.contains(pos))
        return (*it)->index;
    return platform::kNotInArray;
  }

  Parts& parts_;
  OLE_COLOR back_;
  std::int16_t pressed_ = platform::kNotInArray;
};

// A text box whose design colours are system colours follows the palette: they
// are resolved again whenever the inherited palette changes.
class TextBoxWidget final : public QLineEdit {
 public:
  TextBoxWidget(QWidget* parent, std::optional<OLE_COLOR> fore, std::optional<OLE_COLOR> back)
      : QLineEdit(parent), fore_(fore), back_(back) {
    ApplyColors();
  }

 protected:
  void changeEvent(QEvent* event) override {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange) ApplyColors();
  }

 private:
  void ApplyColors() {
    if (!fore_ && !back_) return;
    const QPalette inherited = parentWidget() ? parentWidget()->palette() : QApplication::palette(this);
    QPalette pal = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      QPalette source = inherited;
      source.setCurrentColorGroup(group);
      if (fore_) pal.setColor(group, QPalette::Text, Resolve(*fore_, source));
      if (back_) pal.setColor(group, QPalette::Base, Resolve(*back_, source));
    }
    // Setting an equal palette sends no change event, so this settles at once.
    setPalette(pal);
  }

  std::optional<OLE_COLOR> fore_, back_;
};

QString CaptionOf(const platform::ControlDesign& c) { return ToQString(c.caption); }

bool IsContainer(platform::ControlKind kind) {
  return kind == platform::ControlKind::Frame || kind == platform::ControlKind::PictureBox;
}

// The checks a layout must pass before any widget is made.
HRESULT CheckLayout(const platform::FaceLayout& layout) {
  if (!Parts::SurfaceImpl::Valid(layout.design_width, layout.design_height)) return E_INVALIDARG;
  std::vector<std::string_view> containers{platform::kSurfaceName};
  std::vector<std::int16_t> indexes;
  bool has_year = false, has_date = false, has_picture = false, has_frame = false;
  for (const platform::ControlDesign& c : layout.controls) {
    if (std::find(containers.begin(), containers.end(), c.parent) == containers.end()) return E_INVALIDARG;
    if (c.width < 0 || c.height < 0) return E_INVALIDARG;
    if (c.name == "l") {
      if (c.kind != platform::ControlKind::Label || c.index == platform::kNotInArray) return E_INVALIDARG;
      indexes.push_back(c.index);
      continue;
    }
    if (c.index != platform::kNotInArray) return E_INVALIDARG;  // l is the face's only array
    if (std::find(containers.begin(), containers.end(), c.name) != containers.end()) return E_INVALIDARG;
    if (IsContainer(c.kind)) containers.push_back(c.name);
    has_year |= c.name == "txtYear" && c.kind == platform::ControlKind::TextBox;
    has_date |= c.name == "txtDate" && c.kind == platform::ControlKind::TextBox;
    has_picture |= c.name == "Picture1" && c.kind == platform::ControlKind::PictureBox;
    has_frame |= c.name == "Frame1" && c.kind == platform::ControlKind::Frame;
  }
  if (!(has_year && has_date && has_picture && has_frame) || indexes.empty()) return E_INVALIDARG;
  // The array's members run from its lowest index to its highest without a gap.
  std::sort(indexes.begin(), indexes.end());
  for (std::size_t i = 1; i < indexes.size(); ++i)
    if (indexes[i] != indexes[i - 1] + 1) return E_INVALIDARG;
  return S_OK;
}

}  // namespace

QtFace::QtFace(std::unique_ptr<Parts> parts) : parts_(std::move(parts)) {}

HRESULT QtFace::Build(QtRuntime& runtime, platform::Container& container, const platform::FaceLayout& layout,
                      std::unique_ptr<QtFace>* out) {
  if (out == nullptr) return E_POINTER;
  if (const HRESULT hr = CheckLayout(layout); FAILED(hr)) return hr;

  auto parts = std::make_unique<Parts>(runtime, container);
  Parts& p = *parts;
  p.surface_impl.parts = &p;

  std::size_t cell_count = 0, other_count = 0;
  std::int16_t lowest = INT16_MAX;
  for (const platform::ControlDesign& c : layout.controls) {
    if (c.kind != platform::ControlKind::Label) continue;
    if (c.name == "l") {
      ++cell_count;
      lowest = std::min(lowest, c.index);
    } else {
      ++other_count;
    }
  }
  // Sized once: the widgets keep pointers to these labels.
  p.l.lbound = lowest;
  p.l.cells.resize(cell_count);
  p.other_labels.resize(other_count);

  auto* surface = new SurfaceWidget(p);
  surface->setObjectName(QString::fromLatin1(platform::kSurfaceName.data(),
                                             static_cast<qsizetype>(platform::kSurfaceName.size())));
  surface->setFont(DefaultFont());
  p.surface = surface;
  p.surface_impl.Apply(layout.design_width, layout.design_height);

  std::map<std::string_view, LabelHost*> hosts{{platform::kSurfaceName, surface}};
  struct Focusable {
    std::int16_t tab_index;
    QWidget* widget;
  };
  std::vector<Focusable> focus_order;
  std::size_t next_other = 0;

  for (const platform::ControlDesign& c : layout.controls) {
    LabelHost* host = hosts.at(c.parent);
    const QRect geometry = ToPixels(c.left, c.top, c.width, c.height).translated(host->interior);
    const QString name = QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size()));
    QWidget* made = nullptr;
    switch (c.kind) {
      case platform::ControlKind::Label: {
        Parts::WindowlessLabel& label = c.name == "l" ? p.l.cells[static_cast<std::size_t>(c.index - lowest)]
                                                      : p.other_labels[next_other++];
        label.state = {std::string(c.name),
                       c.index,
                       Text(c.caption),
                       c.fore_color.value_or(kSysButtonText),
                       c.back_color.value_or(kSysButtonFace),
                       geometry,
                       c.alignment,
                       c.font ? std::optional<QFont>(FontOf(*c.font)) : std::nullopt};
        label.host = host;
        host->labels.push_back(&label.state);
        continue;
      }
      case platform::ControlKind::Frame: {
        auto* frame = new FrameWidget(host, CaptionOf(c));
        hosts[c.name] = frame;
        made = frame;
        if (c.name == "Frame1") {
          p.frame.width = c.width;
          p.frame.height = c.height;
        }
        break;
      }
      case platform::ControlKind::PictureBox: {
        auto* picture = new PictureWidget(host, p, c.back_color.value_or(kSysButtonFace));
        hosts[c.name] = picture;
        made = picture;
        if (c.name == "Picture1") p.picture.widget = picture;
        focus_order.push_back({c.tab_index, picture});
        break;
      }
      case platform::ControlKind::CommandButton: {
        auto* button = new QPushButton(CaptionOf(c), host);
        QObject::connect(button, &QPushButton::clicked, button,
                         [&p, n = std::string(c.name)] { p.ClickButton(n); });
        made = button;
        focus_order.push_back({c.tab_index, button});
        break;
      }
      case platform::ControlKind::TextBox: {
        auto* edit = new TextBoxWidget(host, c.fore_color, c.back_color);
        edit->setText(CaptionOf(c));
        // Nothing reads the month caption back, and what txtDate holds is the
        // selected date: neither takes typing.
        edit->setReadOnly(true);
        if (c.font) edit->setFont(FontOf(*c.font));
        if (c.alignment == platform::TextAlignment::Center) edit->setAlignment(Qt::AlignCenter);
        Parts::TextBoxImpl* box = c.name == "txtYear"   ? &p.txtYear
                                  : c.name == "txtDate" ? &p.txtDate
                                                        : nullptr;
        if (box != nullptr) {
          box->text = Text(c.caption);
          box->edit = edit;
        }
        if (c.name == "txtDate") {
          // Never seen, so the focus must not wander into it either.
          edit->setFocusPolicy(Qt::NoFocus);
        } else {
          focus_order.push_back({c.tab_index, edit});
        }
        made = edit;
        break;
      }
    }
    made->setObjectName(name);
    made->setGeometry(geometry);
    p.widgets[std::string(c.name)] = made;
  }

  std::stable_sort(focus_order.begin(), focus_order.end(),
                   [](const Focusable& a, const Focusable& b) { return a.tab_index < b.tab_index; });
  for (std::size_t i = 1; i < focus_order.size(); ++i)
    QWidget::setTabOrder(focus_order[i - 1].widget, focus_order[i].widget);

  out->reset(new QtFace(std::move(parts)));
  return S_OK;
}

QtFace::~QtFace() {
  parts_->handlers = nullptr;
  delete parts_->surface.data();
}

platform::LabelArray& QtFace::l() { return parts_->l; }
platform::TextBox& QtFace::txtYear() { return parts_->txtYear; }
platform::TextBox& QtFace::txtDate() { return parts_->txtDate; }
platform::PictureBox& QtFace::Picture1() { return parts_->picture; }
platform::Frame& QtFace::Frame1() { return parts_->frame; }
platform::Surface& QtFace::UserControl() { return parts_->surface_impl; }
platform::DateFunctions& QtFace::Dates() { return parts_->runtime.dates(); }
void QtFace::ConnectEvents(platform::ControlEvents* handlers) { parts_->handlers = handlers; }

QWidget* QtFace::surface() const { return parts_->surface.data(); }

QWidget* QtFace::widget(std::string_view name) const {
  const auto it = parts_->widgets.find(name);
  return it == parts_->widgets.end() ? nullptr : it->second.data();
}

std::string QtFace::FocusedControl() const {
  if (!parts_->surface) return "";
  const QWidget* focused = parts_->surface->window()->focusWidget();
  if (focused == nullptr) return "";
  for (const auto& [name, widget] : parts_->widgets)
    if (widget == focused) return name;
  return "";
}

QRect QtFace::CellRect(std::int16_t index) const {
  const Parts::WindowlessLabel* cell = parts_->l.Find(index);
  return cell ? cell->state.rect : QRect();
}

const LabelState* QtFace::cell(std::int16_t index) const {
  const Parts::WindowlessLabel* cell = parts_->l.Find(index);
  return cell ? &cell->state : nullptr;
}

std::int16_t QtFace::cell_count() const { return static_cast<std::int16_t>(parts_->l.cells.size()); }
const Text& QtFace::year_text() const { return parts_->txtYear.text; }
const Text& QtFace::date_text() const { return parts_->txtDate.text; }
std::int32_t QtFace::width() const { return parts_->surface_impl.width; }
std::int32_t QtFace::height() const { return parts_->surface_impl.height; }

HRESULT QtFace::RequestSize(std::int32_t width, std::int32_t height) {
  if (!Parts::SurfaceImpl::Valid(width, height)) return E_INVALIDARG;
  parts_->surface_impl.Apply(width, height);
  return parts_->surface_impl.RaiseResize();
}

}  // namespace jv::qt
