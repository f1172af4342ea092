// IFontDisp, the dispatch view of a font: its properties by the standard font
// dispatch ids, for clients that bind late (a script setting Font.Size).
#pragma once

#include <cstddef>

#include "platform/automation/dispatch.h"
#include "platform/automation/font.h"
#include "platform/automation/interface_ids.h"

#ifndef _WIN32
struct IFontDisp : IDispatch {
 protected:
  ~IFontDisp() = default;
};

inline constexpr IID IID_IFontDisp = {
    0xBEF6E003, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
#endif

JV_INTERFACE_IDS(IFontDisp, JV_IID(IDispatch), JV_IID(IFontDisp));

namespace jv {

// A tear-off IFontDisp over `font`: it holds a reference to the font and answers
// every other interface, IUnknown included, from the font itself, so the font's
// identity stays one. Name (0, text), Size (2, currency), Bold (3), Italic (4),
// Underline (5), Strikethrough (6) as truth values, Weight (7) and Charset (8) as
// 16-bit integers; gets and puts, with the font's own checks on the value.
[[nodiscard]] HRESULT CreateFontDispatch(IFont* font, IFontDisp** out);

// The number of these tear-offs alive: each is an object of the module that made
// it, whatever font it stands over, so a library counts them before it unloads.
std::size_t LiveFontDispatchCount();

}  // namespace jv
