// Twips to pixels, automation colours to Qt colours, and key presses to the
// virtual-key codes the control's KeyDown reads.
#include "platform/qt/design_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

#include "platform/qt/virtual_keys.h"

namespace jv::testing {
namespace {

TEST(DesignValuesTest, TwipsBecomeLogicalPixelsWithoutGapsBetweenNeighbours) {
  struct Case {
    std::int32_t left, top, width, height;
    QRect expected;
  };
  const Case cases[] = {
      {135, 1260, 3255, 2400, QRect(9, 84, 217, 160)},  // Picture1
      {2835, 1920, 240, 240, QRect(189, 128, 16, 16)},  // l(42)
      {0, 0, 3465, 3735, QRect(0, 0, 231, 249)},        // Frame1
      {7, 0, 16, 8, QRect(0, 0, 2, 1)},                 // edges round, not lengths
      {23, 8, 16, 7, QRect(2, 1, 1, 0)},                // its neighbour starts where it ends
  };
  for (const Case& c : cases)
    EXPECT_EQ(qt::ToPixels(c.left, c.top, c.width, c.height), c.expected)
        << c.left << "," << c.top << " " << c.width << "x" << c.height;
}

// A length rounds to the nearest pixel, halves away from zero, whatever its sign
// or size.
TEST(DesignValuesTest, TwipsRoundToTheNearestPixel) {
  const auto nearest = [](std::int32_t twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / qt::kTwipsPerPixel));
  };
  for (std::int32_t twips = -100; twips <= 100; ++twips) EXPECT_EQ(qt::ToPixels(twips), nearest(twips)) << twips;
  for (const std::int32_t twips : {INT32_MIN, INT32_MIN + 7, -1'000'007, 1'000'007, INT32_MAX - 7, INT32_MAX})
    EXPECT_EQ(qt::ToPixels(twips), nearest(twips)) << twips;
}

TEST(DesignValuesTest, ColoursResolveSystemIndexesThroughThePaletteAndRgbRedFirst) {
  QPalette pal;
  pal.setColor(QPalette::Base, QColor(1, 1, 1));
  pal.setColor(QPalette::Text, QColor(2, 2, 2));
  pal.setColor(QPalette::Highlight, QColor(3, 3, 3));
  pal.setColor(QPalette::HighlightedText, QColor(4, 4, 4));
  pal.setColor(QPalette::WindowText, QColor(5, 5, 5));
  pal.setColor(QPalette::Button, QColor(6, 6, 6));
  struct Case {
    OLE_COLOR color;
    QColor expected;
  };
  const Case cases[] = {
      {0x80000005u, QColor(1, 1, 1)},   {0x80000008u, QColor(2, 2, 2)},
      {0x8000000Du, QColor(3, 3, 3)},   {0x8000000Eu, QColor(4, 4, 4)},
      {0x8000000Fu, QColor(6, 6, 6)},   {0x800000FFu, QColor(5, 5, 5)},  // an index without a counterpart
      {0x00000000u, QColor(0, 0, 0)},   {0x000000FFu, QColor(255, 0, 0)},
      {0x00FF0000u, QColor(0, 0, 255)}, {0x00123456u, QColor(0x56, 0x34, 0x12)},
  };
  for (const Case& c : cases) EXPECT_EQ(qt::Resolve(c.color, pal), c.expected) << std::hex << c.color;
}

TEST(VirtualKeysTest, QtKeysMapToTheirVirtualKeyCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    std::optional<std::int16_t> expected;
  };
  const Case cases[] = {
      {Qt::Key_PageUp, {}, 33},
      {Qt::Key_PageDown, {}, 34},
      {Qt::Key_Left, {}, 37},
      {Qt::Key_Up, {}, 38},
      {Qt::Key_Right, {}, 39},
      {Qt::Key_Down, {}, 40},
      {Qt::Key_Up, Qt::KeypadModifier, 38},  // the keypad's arrows without Num Lock
      {Qt::Key_A, {}, 65},
      {Qt::Key_Z, Qt::ShiftModifier, 90},
      {Qt::Key_0, {}, 48},
      {Qt::Key_9, {}, 57},
      {Qt::Key_5, Qt::KeypadModifier, 101},
      {Qt::Key_Plus, Qt::KeypadModifier, 107},
      {Qt::Key_Plus, Qt::ShiftModifier, 187},  // Shift and = on the main keyboard
      {Qt::Key_Exclam, Qt::ShiftModifier, 49},
      {Qt::Key_Return, {}, 13},
      {Qt::Key_Enter, Qt::KeypadModifier, 13},
      {Qt::Key_Escape, {}, 27},
      {Qt::Key_Space, {}, 32},
      {Qt::Key_Delete, {}, 46},
      {Qt::Key_F1, {}, 112},
      {Qt::Key_F24, {}, 135},
      {Qt::Key_Shift, Qt::ShiftModifier, 16},
      {Qt::Key_Eacute, {}, std::nullopt},
      {Qt::Key_unknown, {}, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(qt::VirtualKeyOf(c.key, c.modifiers), c.expected) << "Qt key 0x" << std::hex << c.key;
}

TEST(VirtualKeysTest, EveryCodeThatHasAKeyIsPressedAsThatKey) {
  int pressable = 0;
  for (int code = 0; code <= 255; ++code) {
    const auto press = qt::QtKeyOf(static_cast<std::int16_t>(code));
    if (!press) continue;
    ++pressable;
    EXPECT_EQ(qt::VirtualKeyOf(press->key, press->modifiers), code) << "code " << code;
  }
  EXPECT_GT(pressable, 100);
}

TEST(VirtualKeysTest, ShiftStateAddsShiftCtrlAndAlt) {
  for (std::int16_t shift = 0; shift <= 7; ++shift)
    EXPECT_EQ(qt::ShiftStateOf(qt::ModifiersOf(shift) | Qt::KeypadModifier), shift) << shift;
}

}  // namespace
}  // namespace jv::testing
