#include "platform/qt/qt_controls.h"

#include "platform/face/out_parameter.h"
#include "platform/qt/design_values.h"
#include "platform/qt/shared_strings.h"

namespace jv::qt {

HRESULT DayCellLabel::get_Caption(Text* out) {
  return platform::WriteOut(out, Text(model->CaptionOf(state.index)));
}

HRESULT DayCellLabel::put_Caption(TextView caption) {
  // The model holds the caption: whether it changes is asked before it notes it.
  const bool same = caption == model->CaptionOf(state.index);
  model->CaptionWritten(state.index, caption);
  if (!same) Repaint();
  return S_OK;
}

QRect DayCellLabel::Rect() const {
  if (!model->Has(state.index)) return {};
  const platform::TwipsRect r = model->RectOf(state.index);
  return ToPixels(r.left, r.top, r.width, r.height).translated(state.interior_x, state.interior_y);
}

HRESULT HeadingLabel::get_Caption(Text* out) { return platform::WriteOut(out, state.caption); }

HRESULT HeadingLabel::put_Caption(TextView caption) {
  if (caption == state.caption) return S_OK;
  state.caption.assign(caption.data(), caption.size());
  Repaint();
  return S_OK;
}

HRESULT LineEditTextBox::put_Text(TextView value) {
  if (value == text) return S_OK;
  text.assign(value.data(), value.size());
  if (edit) edit->setText(Shared(ToQString(text)));
  if (on_changed) on_changed();
  return S_OK;
}

HRESULT WidgetPictureBox::SetFocus() {
  // A control that is not shown or is disabled cannot take the focus.
  if (!widget || !widget->isVisible() || !widget->isEnabled()) return CTL_E_ILLEGALFUNCTIONCALL;
  widget->setFocus(Qt::OtherFocusReason);
  return S_OK;
}

bool WidgetSurface::Fits(std::int32_t width, std::int32_t height) const { return FitsWidget(width, height); }

bool WidgetSurface::FitsWidget(std::int32_t width, std::int32_t height) {
  return width >= 0 && height >= 0 && ToPixels(width) <= QWIDGETSIZE_MAX && ToPixels(height) <= QWIDGETSIZE_MAX;
}

void WidgetSurface::ApplySize(std::int32_t width, std::int32_t height) {
  StoreSize(width, height);
  if (widget) widget->resize(ToPixels(width), ToPixels(height));
}

void WidgetSurface::WidgetResized(QSize pixels) {
  if (pixels == QSize(ToPixels(width()), ToPixels(height()))) return;
  StoreSize(ToTwips(pixels.width()), ToTwips(pixels.height()));
  // The runtime has nobody to hand the handler's status to.
  (void)face().RaiseResize();
}

}  // namespace jv::qt
