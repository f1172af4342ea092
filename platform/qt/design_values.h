// The layout's design values in Qt's terms: twips as logical pixels, automation
// colours through a palette, and the design fonts as Qt fonts.
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

#include "platform/automation/types.h"
#include "platform/runtime/layout.h"

namespace jv::qt {

// The colours of a constituent control whose design gives none, and of a frame.
inline constexpr OLE_COLOR kSysButtonFace = 0x8000000Fu;
inline constexpr OLE_COLOR kSysButtonText = 0x80000012u;

// 1440 twips to the inch on a 96-dpi logical screen; Qt scales logical pixels to
// the device pixel ratio itself.
inline constexpr int kTwipsPerPixel = 15;

// Nearest logical pixel, so that lengths that are whole pixels stay exact.
int ToPixels(std::int32_t twips);
std::int32_t ToTwips(int pixels);
QRect ToPixels(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

// The palette role behind a system colour index (the low byte of a colour with the
// high bit set), for the indexes that have a counterpart in a Qt palette.
std::optional<QPalette::ColorRole> SystemColorRole(std::uint8_t index);
// A colour as it paints now: a system colour through `palette` in its current
// group, an RGB value (red in the low byte) as it stands. A system colour without a
// counterpart paints as the palette's window text.
QColor Resolve(OLE_COLOR color, const QPalette& palette);

// The font of every constituent control whose design names none: Liberation Sans,
// the metric twin of Arial, at 8 points, the size of the classic dialog font.
QFont DefaultFont();
// A design font; sized in pixels at 96 dpi (a point is 20 twips), so text keeps its
// place among the twips-sized controls whatever dpi a screen reports.
QFont FontOf(const platform::FontDesign& design);

QString ToQString(TextView text);

}  // namespace jv::qt
