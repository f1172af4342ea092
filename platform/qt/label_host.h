// The windowless labels (day cells and headings) as their parent widget paints
// them: plain records with caption, colours and place, drawn beneath the parent's
// child widgets.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/automation/types.h"
#include "platform/face/day_grid_model.h"
#include "platform/runtime/layout.h"

namespace jv::qt {

class LabelHost;

// A windowless label (a day cell or a heading) as its parent widget paints it:
// its colours and place in the layout. Every face holds 50 of these, so they are
// kept small: no name (the layout has it), the font with the host and only where
// the design gives one, and a day cell's caption and rectangle are the day-grid
// model's.
struct LabelState {
  OLE_COLOR fore = 0;
  OLE_COLOR back = 0;
  std::int16_t index = platform::kNotInArray;
  bool day_cell = false;  // a member of the day-cell array; otherwise a HeadingState
  // A day cell's offset from twips to its host's pixels (the host's interior),
  // kept so that its place is known after the host has gone.
  std::int8_t interior_x = 0, interior_y = 0;
  bool centered = false;  // the design's alignment is Center, not Left
  // The widget that paints the label; null once it has gone (its destructor
  // clears this in every label it held).
  LabelHost* host = nullptr;
};

// A label outside the day-cell array keeps its own caption and place.
struct HeadingState final : LabelState {
  Text caption;
  QRect rect;  // logical pixels, in the parent widget
};

// A widget that paints the windowless labels placed in it, in the order of the
// layout (so the band lies under the headings).
class LabelHost : public QWidget {
 public:
  explicit LabelHost(QWidget* parent) : QWidget(parent) {}
  ~LabelHost() override;

  // Forgets every label placed here and the model, which are going; a host that
  // outlives its face paints only its own background.
  void DropLabels();
  // Puts `label` in this widget, painted above the ones placed before it, in
  // `font` (none: this widget's font).
  void Place(LabelState& label, std::optional<QFont> font = std::nullopt);

  std::vector<LabelState*> labels;
  // The labels placed with a font of their own; most hosts have none.
  std::vector<std::pair<const LabelState*, QFont>> label_fonts;
  QPoint interior;  // where the interior's (0, 0) lies
  // The model of the day cells placed here; null for a host without day cells.
  const platform::DayGridModel* model = nullptr;

  // Where a label lies in this widget and what it says: a day cell's from the
  // model, any other label's from its own state.
  QRect RectOf(const LabelState& label) const;
  TextView CaptionOf(const LabelState& label) const;
  // Day cell `index` of the model in this widget's coordinates; empty for no such
  // cell or no model.
  QRect CellRect(std::int16_t index) const;
  // The label's rectangle must be painted again: now, or when the open
  // RepaintBatch closes.
  void Invalidate(const LabelState& label);

 private:
  // Whether some two labels placed here share pixels.
  bool LabelsOverlap();
  enum class Overlap : std::uint8_t { Unknown, None, Some };
  Overlap overlap_ = Overlap::Unknown;

 protected:
  // What the widget filled before its labels: `color` over `area` (none: an
  // invalid colour).
  struct Beneath {
    QColor color;
    QRect area;
  };
  // Paints the labels that meet `dirty`: each fills its rectangle with its back
  // colour and draws its caption, clipped to the rectangle only when it overflows.
  void PaintLabels(QPainter& p, const QRect& dirty, const Beneath& beneath = {});
};

// While one is open, the labels' repaints are gathered and handed to Qt when the
// outermost one closes, one update per host: a month shown rewrites every cell,
// and Qt's own gathering of 40-odd rectangles costs more than painting them. A
// few rectangles go as they are; many go as the rectangle that bounds them,
// which paints the same pixels. For the widgets' one thread.
class RepaintBatch {
 public:
  RepaintBatch();
  ~RepaintBatch();
  RepaintBatch(const RepaintBatch&) = delete;
  RepaintBatch& operator=(const RepaintBatch&) = delete;
};

}  // namespace jv::qt
