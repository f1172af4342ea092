// QtFace::Build: the widgets and windowless labels of a face, made from its layout
// after the layout passed the shared check.
#include <algorithm>

#include "platform/face/face_roles.h"
#include "platform/face/stored_controls.h"
#include "platform/qt/accessible_day_grid.h"
#include "platform/qt/design_values.h"
#include "platform/qt/frame_widget.h"
#include "platform/qt/paging_button.h"
#include "platform/qt/picture_widget.h"
#include "platform/qt/qt_face.h"
#include "platform/qt/qt_runtime.h"
#include "platform/qt/shared_strings.h"
#include "platform/qt/surface_widget.h"
#include "platform/qt/text_box_widget.h"

namespace jv::qt {

namespace {

QString CaptionOf(const platform::ControlDesign& c) { return Shared(ToQString(c.caption)); }

QString NameOf(std::string_view name) {
  return Shared(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

}  // namespace

HRESULT QtFace::Build(QtRuntime& runtime, platform::Container& container, const platform::FaceLayout& layout,
                      std::unique_ptr<QtFace>* out) {
  if (out == nullptr) return E_POINTER;
  platform::FaceRoles roles;
  JV_TRY(platform::ResolveRoles(layout, &roles));
  if (!WidgetSurface::FitsWidget(layout.design_width, layout.design_height)) return E_INVALIDARG;

  // Before the first widget: Qt makes a widget's accessible interface once.
  InstallAccessibleFactory();
  std::unique_ptr<QtFace> face(new QtFace(runtime, container));
  QtFace& f = *face;
  f.SetUpModel(roles, runtime.dates());
  f.reading_ = std::make_unique<DayGridReading>(runtime.settings(), *f.model(), f.l_);
  f.reading_->click = [&f](std::int16_t index) { f.ClickCell(index); };
  // Sized once: the widgets keep pointers to these labels.
  f.l_.Allocate(roles.cells);
  f.other_labels_.resize(roles.headings.size());
  platform::FillStoredControls(roles, f.txtYear_, f.txtDate_, f.frame_, f.l_,
                               [&f](DayCellLabel& cell, const platform::ControlDesign&) { cell.model = f.model(); });

  auto* surface = new SurfaceWidget();
  surface->setObjectName(NameOf(platform::kSurfaceName));
  surface->setFont(DefaultFont());
  surface->on_resized = [&f](QSize pixels) { f.surface_.WidgetResized(pixels); };
  f.surface_.widget = surface;
  f.surface_.ApplySize(layout.design_width, layout.design_height);
  surface->setAccessibleName(Shared(ControlAccessibleName()));
  f.reading_->surface = surface;

  std::map<std::string_view, LabelHost*> hosts{{platform::kSurfaceName, surface}};
  struct Focusable {
    std::int16_t tab_index;
    QWidget* widget;
  };
  std::vector<Focusable> focus_order;
  std::size_t next_other = 0;

  for (const platform::ControlDesign& c : layout.controls) {
    const platform::Role role = roles.RoleOf(c);
    LabelHost* host = hosts.at(c.parent);
    const QRect geometry = ToPixels(c.left, c.top, c.width, c.height).translated(host->interior);
    QWidget* made = nullptr;
    switch (c.kind) {
      case platform::ControlKind::Label: {
        const OLE_COLOR fore = c.fore_color.value_or(kSysButtonText);
        const OLE_COLOR back = c.back_color.value_or(kSysButtonFace);
        const bool centered = c.alignment == platform::TextAlignment::Center;
        std::optional<QFont> font = c.font ? std::optional<QFont>(FontOf(*c.font)) : std::nullopt;
        if (role == platform::Role::DayCell) {
          // The caption and rectangle are the model's, made from the same design.
          LabelState& state = f.l_.Find(c.index)->state;
          state = {fore, back, c.index, true, static_cast<std::int8_t>(host->interior.x()),
                   static_cast<std::int8_t>(host->interior.y()), centered};
          host->model = f.model();
          host->Place(state, std::move(font));
        } else {
          HeadingState& state = f.other_labels_[next_other++].state;
          static_cast<LabelState&>(state) = {fore, back, c.index, false, 0, 0, centered};
          state.caption = Text(c.caption);
          state.rect = geometry;
          host->Place(state, std::move(font));
        }
        continue;
      }
      case platform::ControlKind::Frame: {
        auto* frame = new FrameWidget(host, CaptionOf(c));
        hosts[c.name] = frame;
        made = frame;
        break;
      }
      case platform::ControlKind::PictureBox: {
        auto* picture = new PictureWidget(host, c.back_color.value_or(kSysButtonFace));
        picture->on_cell_click = [&f](std::int16_t index) { f.ClickCell(index); };
        picture->on_key_down = [&f](std::int16_t code, std::int16_t shift) { f.PressKey(code, shift); };
        hosts[c.name] = picture;
        made = picture;
        if (role == platform::Role::Picture) {
          f.picture_.widget = picture;
          picture->reading = f.reading_.get();
          f.reading_->grid = picture;
        }
        focus_order.push_back({c.tab_index, picture});
        break;
      }
      case platform::ControlKind::CommandButton: {
        auto* button = new PagingButton(CaptionOf(c), host);
        if (const QString name = AccessibleNameOf(role); !name.isEmpty()) button->setAccessibleName(Shared(name));
        if (role == platform::Role::NextButton)
          QObject::connect(button, &QPushButton::clicked, button, [&f] {
            const RepaintBatch batch;
            (void)f.RaiseNextClick();
          });
        if (role == platform::Role::PreviousButton)
          QObject::connect(button, &QPushButton::clicked, button, [&f] {
            const RepaintBatch batch;
            (void)f.RaisePreviousClick();
          });
        made = button;
        focus_order.push_back({c.tab_index, button});
        break;
      }
      case platform::ControlKind::TextBox: {
        auto* edit = new TextBoxWidget(host, c.fore_color, c.back_color);
        // Nothing reads the month caption back, and what txtDate holds is the
        // selected date: neither takes typing.
        edit->setReadOnly(true);
        if (c.font) edit->setFont(FontOf(*c.font));
        if (c.alignment == platform::TextAlignment::Center) edit->setAlignment(Qt::AlignCenter);
        // The text last, so that it is laid out once, in its own font.
        edit->setText(CaptionOf(c));
        LineEditTextBox* box = role == platform::Role::YearBox ? &f.txtYear_
                               : role == platform::Role::DateBox ? &f.txtDate_
                                                                 : nullptr;
        if (box != nullptr) box->edit = edit;
        if (box == &f.txtYear_) box->on_changed = [&f] { f.model()->YearBoxWritten(f.txtYear_.text); };
        if (role == platform::Role::DateBox) {
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
    f.Keep(c.name, made);
  }

  std::stable_sort(focus_order.begin(), focus_order.end(),
                   [](const Focusable& a, const Focusable& b) { return a.tab_index < b.tab_index; });
  for (std::size_t i = 1; i < focus_order.size(); ++i)
    QWidget::setTabOrder(focus_order[i - 1].widget, focus_order[i].widget);

  // The hosts' lists hold exactly their labels, and no spare room.
  for (const auto& [name, host] : hosts) {
    host->labels.shrink_to_fit();
    host->label_fonts.shrink_to_fit();
  }
  f.widgets_.shrink_to_fit();
  f.reading_->MonthChanged();
  *out = std::move(face);
  return S_OK;
}

}  // namespace jv::qt
