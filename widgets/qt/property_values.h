// The control's property values as Qt values, both ways: the types behind
// JornavistaWidget's Qt properties, chosen so that every value the control holds
// survives a trip through a QColor, a QFont or an int and through a .ui file.
#pragma once

#include <QColor>
#include <QFont>
#include <cstdint>
#include <optional>

#include "platform/automation/std_font.h"
#include "platform/automation/types.h"

namespace jv::qt {

// An automation colour as a QColor: the low three bytes are red, green and blue
// (for a system colour red holds its index), and the alpha is 255 minus the high
// byte. An RGB value is an opaque colour, as Designer's colour editor shows it; a
// system colour (high byte 0x80) has alpha 127. The mapping is one-to-one on all
// 32-bit values and needs only the four bytes a .ui file keeps of a colour.
QColor ColorFromOle(OLE_COLOR value);
// The inverse; a colour given in another spec is taken as RGB first. An invalid
// QColor names no colour and gives nullopt.
std::optional<OLE_COLOR> OleFromColor(const QColor& color);
// The QColor for the system colour with this index (5 window, 8 window text,
// 13 highlight, 14 highlight text).
QColor SystemColor(std::uint8_t index);

// A font object's description as a QFont: name, size in points (to a
// ten-thousandth), weight, italic, underline, strike-out. Qt has no character
// set, and a weight of 0 ("any") reads as normal.
QFont FontFromDescription(const FontDescription& description);
// The inverse, for a new font object. A font sized in pixels takes the point
// size it is drawn at; the character set is the default one.
FontDescription DescriptionFromFont(const QFont& font);

// A style as the control holds it: a signed 16-bit number; nullopt outside.
std::optional<std::int16_t> StyleFromInt(int value);

}  // namespace jv::qt
