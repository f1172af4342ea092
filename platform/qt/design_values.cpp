#include "platform/qt/design_values.h"

#include <algorithm>
#include <cmath>

namespace jv::qt {

int ToPixels(std::int32_t twips) {
  // Nearest, halves away from zero as lround has it; with an odd divisor no
  // whole number of twips lies halfway, so integer division rounds the same.
  static_assert(kTwipsPerPixel % 2 == 1);
  const std::int64_t t = twips, half = kTwipsPerPixel / 2;
  return static_cast<int>(t >= 0 ? (t + half) / kTwipsPerPixel : -((-t + half) / kTwipsPerPixel));
}

std::int32_t ToTwips(int pixels) { return static_cast<std::int32_t>(pixels) * kTwipsPerPixel; }

QRect ToPixels(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  // Edges, not lengths, are rounded, so that neighbours never overlap or part.
  const int x = ToPixels(left), y = ToPixels(top);
  return QRect(x, y, ToPixels(left + width) - x, ToPixels(top + height) - y);
}

std::optional<QPalette::ColorRole> SystemColorRole(std::uint8_t index) {
  switch (index) {
    case 4:   // menu
    case 15:  // button face
      return QPalette::Button;
    case 5:  // window background
      return QPalette::Base;
    case 7:   // menu text
    case 18:  // button text
      return QPalette::ButtonText;
    case 8:  // window text
      return QPalette::Text;
    case 13:  // highlight
      return QPalette::Highlight;
    case 14:  // highlight text
      return QPalette::HighlightedText;
    case 16:  // button shadow
      return QPalette::Mid;
    case 17:  // grey text
      return QPalette::PlaceholderText;
    case 20:  // button highlight
      return QPalette::Light;
    case 21:  // 3-D dark shadow
      return QPalette::Shadow;
    case 22:  // 3-D light
      return QPalette::Midlight;
    case 23:  // tooltip text
      return QPalette::ToolTipText;
    case 24:  // tooltip background
      return QPalette::ToolTipBase;
    default:
      return std::nullopt;
  }
}

QColor Resolve(OLE_COLOR color, const QPalette& palette) {
  if (IsSystemColor(color))
    return palette.color(
        SystemColorRole(static_cast<std::uint8_t>(color & 0xFFu)).value_or(QPalette::WindowText));
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

namespace {

int PixelsOfPoints(double points) {
  const int px = static_cast<int>(std::lround(points * 20.0 / kTwipsPerPixel));
  return px < 1 ? 1 : px;
}

}  // namespace

QFont DefaultFont() {
  QFont font;
  font.setFamilies(
      {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(PixelsOfPoints(8.0));
  return font;
}

QFont FontOf(const platform::FontDesign& design) {
  QFont font;
  font.setFamilies({ToQString(design.name)});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(PixelsOfPoints(design.size_points));
  // Automation weights run 0..1000 like OpenType's; Qt 6 takes them as they are.
  font.setWeight(static_cast<QFont::Weight>(std::clamp<int>(design.weight, 1, 1000)));
  font.setItalic(design.italic);
  font.setUnderline(design.underline);
  font.setStrikeOut(design.strikethrough);
  return font;
}

QString ToQString(TextView text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace jv::qt
