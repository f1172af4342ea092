#include "widgets/qt/property_values.h"

#include <QFontInfo>
#include <algorithm>
#include <cmath>

#include "platform/qt/design_values.h"

namespace jv::qt {

QColor ColorFromOle(OLE_COLOR value) {
  const int high = static_cast<int>(value >> 24);
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF), 255 - high);
}

std::optional<OLE_COLOR> OleFromColor(const QColor& color) {
  if (!color.isValid()) return std::nullopt;
  const QColor rgb = color.toRgb();
  return static_cast<OLE_COLOR>(255 - rgb.alpha()) << 24 | static_cast<OLE_COLOR>(rgb.blue()) << 16 |
         static_cast<OLE_COLOR>(rgb.green()) << 8 | static_cast<OLE_COLOR>(rgb.red());
}

QColor SystemColor(std::uint8_t index) { return ColorFromOle(0x80000000u | index); }

QFont FontFromDescription(const FontDescription& description) {
  QFont font;
  font.setFamilies({ToQString(description.name)});
  font.setPointSizeF(static_cast<double>(description.size_cy) / 10000.0);
  // Qt's weights are the same 1 to 1000 scale; 0 means "any" to a font object.
  font.setWeight(description.weight <= 0 ? QFont::Normal
                                         : static_cast<QFont::Weight>(std::min<int>(description.weight, 1000)));
  font.setItalic(description.italic);
  font.setUnderline(description.underline);
  font.setStrikeOut(description.strikethrough);
  return font;
}

FontDescription DescriptionFromFont(const QFont& font) {
  FontDescription description;
  description.name = font.family().toStdU16String();
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
  description.size_cy = std::max<std::int64_t>(1, std::llround(points * 10000.0));
  description.weight = static_cast<std::int16_t>(font.weight());
  description.bold = font.weight() >= QFont::DemiBold;
  description.italic = font.italic();
  description.underline = font.underline();
  description.strikethrough = font.strikeOut();
  return description;
}

std::optional<std::int16_t> StyleFromInt(int value) {
  if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
  return static_cast<std::int16_t>(value);
}

}  // namespace jv::qt
