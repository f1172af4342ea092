// The constituent controls as the control sees them on Qt Widgets: windowless
// labels repainted through the widget that hosts them, text boxes shown in a line
// edit, the picture box's focus, and a surface whose widget follows its twips.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QSize>
#include <QWidget>
#include <functional>
#include <optional>

#include "platform/face/day_cell_array.h"
#include "platform/face/day_grid_model.h"
#include "platform/face/stored_controls.h"
#include "platform/face/surface_base.h"
#include "platform/qt/label_host.h"

namespace jv::qt {

// What every windowless label does alike with its colours: a put that changes
// nothing repaints nothing, and a new fore colour shows only under a caption.
// `Self` tells the caption it shows and hears of each new back colour.
template <class Self, class State>
class PaintedLabel : public platform::Label {
 public:
  HRESULT put_ForeColor(OLE_COLOR color) final {
    if (color == state.fore) return S_OK;
    state.fore = color;
    if (!static_cast<const Self&>(*this).ShownCaption().empty()) Repaint();
    return S_OK;
  }
  HRESULT put_BackColor(OLE_COLOR color) final {
    if (color == state.back) return S_OK;
    state.back = color;
    Repaint();
    static_cast<Self&>(*this).BackColorWritten(color);
    return S_OK;
  }

  State state;  // its host is gone with the form that held it

 protected:
  void Repaint() const {
    if (state.host != nullptr) state.host->Invalidate(state);
  }
};

// A day cell: its caption lives in the day-grid model, which notes every caption
// and back colour the control writes.
class DayCellLabel final : public PaintedLabel<DayCellLabel, LabelState> {
 public:
  HRESULT get_Caption(Text* out) override;
  HRESULT put_Caption(TextView caption) override;
  TextView ShownCaption() const { return model->CaptionOf(state.index); }
  void BackColorWritten(OLE_COLOR color) { model->BackColorWritten(state.index, color); }

  // Where the cell lies in its host, in logical pixels.
  QRect Rect() const;

  // The model of the day grid this cell belongs to; set before the first put.
  platform::DayGridModel* model = nullptr;
};

// Any other label (the weekday initials and their band), with its own caption.
class HeadingLabel final : public PaintedLabel<HeadingLabel, HeadingState> {
 public:
  HRESULT get_Caption(Text* out) override;
  HRESULT put_Caption(TextView caption) override;
  TextView ShownCaption() const { return state.caption; }
  void BackColorWritten(OLE_COLOR) {}
};

// The day-cell array l.
using DayCells = platform::DayCellArray<DayCellLabel>;

// The face's text is the store; the line edit shows it. Neither box takes typing,
// so the two never part.
class LineEditTextBox final : public platform::TextBoxBase {
 public:
  HRESULT put_Text(TextView value) override;

  QPointer<QLineEdit> edit;
  // The text changed.
  std::function<void()> on_changed;
};

class WidgetPictureBox final : public platform::PictureBox {
 public:
  // CTL_E_ILLEGALFUNCTIONCALL while the widget is hidden, disabled or gone.
  HRESULT SetFocus() override;

  QPointer<QWidget> widget;
};

class WidgetSurface final : public platform::SurfaceBase {
 public:
  using SurfaceBase::SurfaceBase;

  // Widgets have a largest size of their own.
  bool Fits(std::int32_t width, std::int32_t height) const override;
  static bool FitsWidget(std::int32_t width, std::int32_t height);
  // The widget follows the twips; the resize event it sends back matches them and
  // so is not taken for the container's request.
  void ApplySize(std::int32_t width, std::int32_t height) override;
  // The widget was resized to `pixels`: by the face itself, or by the container,
  // whose size then becomes the surface's and raises Resize.
  void WidgetResized(QSize pixels);

  QPointer<QWidget> widget;
};

}  // namespace jv::qt
