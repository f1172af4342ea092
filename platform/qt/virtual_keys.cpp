#include "platform/qt/virtual_keys.h"

namespace jv::qt {

namespace {

struct KeyCode {
  int qt_key;
  bool keypad;  // only with Qt::KeypadModifier
  std::int16_t vk;
};

// One row per key; the first row of a code is the key that QtKeyOf presses for it.
constexpr KeyCode kKeys[] = {
    {Qt::Key_Backspace, false, 8},
    {Qt::Key_Tab, false, 9},
    {Qt::Key_Backtab, false, 9},
    {Qt::Key_Clear, false, 12},
    {Qt::Key_Return, false, 13},
    {Qt::Key_Enter, false, 13},
    {Qt::Key_Shift, false, 16},
    {Qt::Key_Control, false, 17},
    {Qt::Key_Alt, false, 18},
    {Qt::Key_AltGr, false, 18},
    {Qt::Key_Pause, false, 19},
    {Qt::Key_CapsLock, false, 20},
    {Qt::Key_Escape, false, 27},
    {Qt::Key_Space, false, 32},
    {Qt::Key_PageUp, false, 33},
    {Qt::Key_PageDown, false, 34},
    {Qt::Key_End, false, 35},
    {Qt::Key_Home, false, 36},
    {Qt::Key_Left, false, 37},
    {Qt::Key_Up, false, 38},
    {Qt::Key_Right, false, 39},
    {Qt::Key_Down, false, 40},
    {Qt::Key_Select, false, 41},
    {Qt::Key_Printer, false, 42},
    {Qt::Key_Execute, false, 43},
    {Qt::Key_Print, false, 44},
    {Qt::Key_SysReq, false, 44},
    {Qt::Key_Insert, false, 45},
    {Qt::Key_Delete, false, 46},
    {Qt::Key_Help, false, 47},
    {Qt::Key_Meta, false, 91},
    {Qt::Key_Super_L, false, 91},
    {Qt::Key_Super_R, false, 92},
    {Qt::Key_Menu, false, 93},
    {Qt::Key_Sleep, false, 95},
    {Qt::Key_0, true, 96},
    {Qt::Key_1, true, 97},
    {Qt::Key_2, true, 98},
    {Qt::Key_3, true, 99},
    {Qt::Key_4, true, 100},
    {Qt::Key_5, true, 101},
    {Qt::Key_6, true, 102},
    {Qt::Key_7, true, 103},
    {Qt::Key_8, true, 104},
    {Qt::Key_9, true, 105},
    {Qt::Key_Asterisk, true, 106},
    {Qt::Key_Plus, true, 107},
    {Qt::Key_Minus, true, 109},
    {Qt::Key_Period, true, 110},
    {Qt::Key_Comma, true, 110},
    {Qt::Key_Slash, true, 111},
    {Qt::Key_NumLock, false, 144},
    {Qt::Key_ScrollLock, false, 145},
    {Qt::Key_Back, false, 166},
    {Qt::Key_Forward, false, 167},
    {Qt::Key_Refresh, false, 168},
    {Qt::Key_Stop, false, 169},
    {Qt::Key_Search, false, 170},
    {Qt::Key_Favorites, false, 171},
    {Qt::Key_HomePage, false, 172},
    {Qt::Key_VolumeMute, false, 173},
    {Qt::Key_VolumeDown, false, 174},
    {Qt::Key_VolumeUp, false, 175},
    {Qt::Key_MediaNext, false, 176},
    {Qt::Key_MediaPrevious, false, 177},
    {Qt::Key_MediaStop, false, 178},
    {Qt::Key_MediaTogglePlayPause, false, 179},
    {Qt::Key_MediaPlay, false, 179},
    {Qt::Key_LaunchMail, false, 180},
    {Qt::Key_LaunchMedia, false, 181},
    {Qt::Key_Launch0, false, 182},
    {Qt::Key_Launch1, false, 183},
    // The punctuation keys of a US layout, unshifted and then shifted: the code
    // names the key, not the character.
    {Qt::Key_Semicolon, false, 186},
    {Qt::Key_Colon, false, 186},
    {Qt::Key_Equal, false, 187},
    {Qt::Key_Plus, false, 187},
    {Qt::Key_Comma, false, 188},
    {Qt::Key_Less, false, 188},
    {Qt::Key_Minus, false, 189},
    {Qt::Key_Underscore, false, 189},
    {Qt::Key_Period, false, 190},
    {Qt::Key_Greater, false, 190},
    {Qt::Key_Slash, false, 191},
    {Qt::Key_Question, false, 191},
    {Qt::Key_QuoteLeft, false, 192},
    {Qt::Key_AsciiTilde, false, 192},
    {Qt::Key_BracketLeft, false, 219},
    {Qt::Key_BraceLeft, false, 219},
    {Qt::Key_Backslash, false, 220},
    {Qt::Key_Bar, false, 220},
    {Qt::Key_BracketRight, false, 221},
    {Qt::Key_BraceRight, false, 221},
    {Qt::Key_Apostrophe, false, 222},
    {Qt::Key_QuoteDbl, false, 222},
    // The shifted digits of a US layout.
    {Qt::Key_ParenRight, false, 48},
    {Qt::Key_Exclam, false, 49},
    {Qt::Key_At, false, 50},
    {Qt::Key_NumberSign, false, 51},
    {Qt::Key_Dollar, false, 52},
    {Qt::Key_Percent, false, 53},
    {Qt::Key_AsciiCircum, false, 54},
    {Qt::Key_Ampersand, false, 55},
    {Qt::Key_Asterisk, false, 56},
    {Qt::Key_ParenLeft, false, 57},
};

}  // namespace

std::optional<std::int16_t> VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  // A keypad row wins over the main keyboard's row of the same Qt key.
  if (keypad)
    for (const KeyCode& k : kKeys)
      if (k.keypad && k.qt_key == qt_key) return k.vk;
  if ((qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) || (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z))
    return static_cast<std::int16_t>(qt_key);  // Qt's codes are the upper-case ASCII
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
    return static_cast<std::int16_t>(112 + (qt_key - Qt::Key_F1));
  for (const KeyCode& k : kKeys)
    if (!k.keypad && k.qt_key == qt_key) return k.vk;
  return std::nullopt;
}

std::optional<std::int16_t> VirtualKeyOf(const QKeyEvent& event) {
  return VirtualKeyOf(event.key(), event.modifiers());
}

std::int16_t ShiftStateOf(Qt::KeyboardModifiers modifiers) {
  std::int16_t shift = 0;
  if (modifiers.testFlag(Qt::ShiftModifier)) shift |= 1;
  if (modifiers.testFlag(Qt::ControlModifier)) shift |= 2;
  if (modifiers.testFlag(Qt::AltModifier)) shift |= 4;
  return shift;
}

Qt::KeyboardModifiers ModifiersOf(std::int16_t shift) {
  Qt::KeyboardModifiers modifiers;
  if (shift & 1) modifiers |= Qt::ShiftModifier;
  if (shift & 2) modifiers |= Qt::ControlModifier;
  if (shift & 4) modifiers |= Qt::AltModifier;
  return modifiers;
}

std::optional<QtKeyPress> QtKeyOf(std::int16_t virtual_key) {
  if ((virtual_key >= '0' && virtual_key <= '9') || (virtual_key >= 'A' && virtual_key <= 'Z'))
    return QtKeyPress{static_cast<Qt::Key>(virtual_key), {}};
  if (virtual_key >= 112 && virtual_key <= 135)
    return QtKeyPress{static_cast<Qt::Key>(Qt::Key_F1 + (virtual_key - 112)), {}};
  for (const KeyCode& k : kKeys)
    if (k.vk == virtual_key)
      return QtKeyPress{static_cast<Qt::Key>(k.qt_key), k.keypad ? Qt::KeypadModifier : Qt::NoModifier};
  return std::nullopt;
}

}  // namespace jv::qt
