// Key presses between Qt's key identifiers and the virtual-key codes and shift
// state that the control's KeyDown handler expects.
#pragma once

#include <QKeyEvent>
#include <cstdint>
#include <optional>

namespace jv::qt {

// Page Up 33, Page Down 34, Left 37, Up 38, Right 39, Down 40; letters and digits
// as their upper-case ASCII; other keys by the Windows code of the same key on a US
// layout. None for a key that has no virtual-key code.
std::optional<std::int16_t> VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers);
std::optional<std::int16_t> VirtualKeyOf(const QKeyEvent& event);

// 1 Shift, 2 Ctrl, 4 Alt, added up.
std::int16_t ShiftStateOf(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers ModifiersOf(std::int16_t shift);

// The key to press for a virtual-key code, for hosts that replay recorded codes as
// real key events; the keypad modifier is set for the numeric keypad's codes.
struct QtKeyPress {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers;
};
std::optional<QtKeyPress> QtKeyOf(std::int16_t virtual_key);

}  // namespace jv::qt
