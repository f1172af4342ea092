// QtFace::Build: the widgets and windowless labels of a face, made from its layout
// after the layout passed the shared check.
#include <QPushButton>
#include <algorithm>

#include "platform/face/layout_check.h"
#include "platform/qt/accessible_day_grid.h"
#include "platform/qt/design_values.h"
#include "platform/qt/frame_widget.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/surface_widget.h"
#include "platform/qt/text_box_widget.h"

namespace jv::qt {

namespace {

QString CaptionOf(const platform::ControlDesign& c) { return ToQString(c.caption); }

QString NameOf(std::string_view name) {
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

HRESULT QtFace::Build(QtRuntime& runtime, platform::Container& container, const platform::FaceLayout& layout,
                      std::unique_ptr<QtFace>* out) {
  if (out == nullptr) return E_POINTER;
  platform::DayCellBounds bounds;
  JV_TRY(platform::CheckLayout(layout, &bounds));
  if (!WidgetSurface::FitsWidget(layout.design_width, layout.design_height)) return E_INVALIDARG;

  // Before the first widget: Qt makes a widget's accessible interface once.
  InstallAccessibleFactory();
  std::unique_ptr<QtFace> face(new QtFace(runtime, container));
  QtFace& f = *face;
  // Sized once: the widgets keep pointers to these labels.
  f.l_.Allocate(bounds);
  f.other_labels_.resize(static_cast<std::size_t>(std::count_if(
      layout.controls.begin(), layout.controls.end(),
      [](const platform::ControlDesign& c) { return c.kind == platform::ControlKind::Label && c.name != "l"; })));

  auto* surface = new SurfaceWidget();
  surface->setObjectName(NameOf(platform::kSurfaceName));
  surface->setFont(DefaultFont());
  surface->on_resized = [&f](QSize pixels) { f.surface_.WidgetResized(pixels); };
  f.surface_.widget = surface;
  f.surface_.ApplySize(layout.design_width, layout.design_height);
  surface->setAccessibleName(AccessibleNameOf(platform::kSurfaceName));
  f.reading_.surface = surface;

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
    QWidget* made = nullptr;
    switch (c.kind) {
      case platform::ControlKind::Label: {
        WindowlessLabel& label = c.name == "l" ? *f.l_.Find(c.index) : f.other_labels_[next_other++];
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
        if (c.name == "l")
          label.on_highlight_changed = [&f, index = c.index](bool on) { f.reading_.HighlightChanged(index, on); };
        continue;
      }
      case platform::ControlKind::Frame: {
        auto* frame = new FrameWidget(host, CaptionOf(c));
        hosts[c.name] = frame;
        made = frame;
        if (c.name == "Frame1") {
          f.frame_.width = c.width;
          f.frame_.height = c.height;
        }
        break;
      }
      case platform::ControlKind::PictureBox: {
        auto* picture = new PictureWidget(host, c.back_color.value_or(kSysButtonFace));
        picture->on_cell_click = [&f](std::int16_t index) { f.ClickCell(index); };
        picture->on_key_down = [&f](std::int16_t code, std::int16_t shift) { f.PressKey(code, shift); };
        hosts[c.name] = picture;
        made = picture;
        if (c.name == "Picture1") {
          f.picture_.widget = picture;
          picture->reading = &f.reading_;
          f.reading_.grid = picture;
        }
        focus_order.push_back({c.tab_index, picture});
        break;
      }
      case platform::ControlKind::CommandButton: {
        auto* button = new QPushButton(CaptionOf(c), host);
        if (const QString name = AccessibleNameOf(c.name); !name.isEmpty()) button->setAccessibleName(name);
        if (c.name == "cmdNext")
          QObject::connect(button, &QPushButton::clicked, button, [&f] { (void)f.RaiseNextClick(); });
        if (c.name == "cmdPrevious")
          QObject::connect(button, &QPushButton::clicked, button, [&f] { (void)f.RaisePreviousClick(); });
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
        LineEditTextBox* box = c.name == "txtYear" ? &f.txtYear_ : c.name == "txtDate" ? &f.txtDate_ : nullptr;
        if (box != nullptr) {
          box->text = Text(c.caption);
          box->edit = edit;
        }
        if (box == &f.txtYear_) box->on_changed = [&f] { f.reading_.MonthChanged(); };
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
    made->setObjectName(NameOf(c.name));
    made->setGeometry(geometry);
    f.widgets_[std::string(c.name)] = made;
  }

  std::stable_sort(focus_order.begin(), focus_order.end(),
                   [](const Focusable& a, const Focusable& b) { return a.tab_index < b.tab_index; });
  for (std::size_t i = 1; i < focus_order.size(); ++i)
    QWidget::setTabOrder(focus_order[i - 1].widget, focus_order[i].widget);

  f.reading_.MonthChanged();
  *out = std::move(face);
  return S_OK;
}

}  // namespace jv::qt
