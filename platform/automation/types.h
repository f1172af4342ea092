// The scalar automation types: dates, colours, 16-bit truth values, and the 16-bit
// integer arithmetic that fails on overflow instead of wrapping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/hresult.h"

#ifdef _WIN32
#include <oaidl.h>
#include <olectl.h>
#else
// Days since 30 December 1899 at midnight; the fraction is the time of day.
using DATE = double;
// Bit 31 set: a system colour whose index is the low byte; clear: 0x00BBGGRR.
using OLE_COLOR = std::uint32_t;
// 16 bits at every boundary: true is -1, false is 0.
using VARIANT_BOOL = std::int16_t;
inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;
#endif

namespace jv {

// The system colours the control paints with.
inline constexpr OLE_COLOR kColorBlack = 0x00000000u;
inline constexpr OLE_COLOR kSysWindow = 0x80000005u;
inline constexpr OLE_COLOR kSysWindowText = 0x80000008u;
inline constexpr OLE_COLOR kSysHighlight = 0x8000000Du;
inline constexpr OLE_COLOR kSysHighlightText = 0x8000000Eu;

constexpr bool IsSystemColor(OLE_COLOR c) { return (c & 0x80000000u) != 0; }

// Text as the automation world holds it: UTF-16 code units.
using Text = std::u16string;
using TextView = std::u16string_view;

// Signed 16-bit arithmetic of the control's counters and indexes: a result outside
// the range is an overflow failure and leaves *out untouched.
[[nodiscard]] inline HRESULT AddInt16(std::int16_t a, std::int32_t b, std::int16_t* out) {
  const std::int32_t r = static_cast<std::int32_t>(a) + b;
  if (r < INT16_MIN || r > INT16_MAX) return CTL_E_OVERFLOW;
  *out = static_cast<std::int16_t>(r);
  return S_OK;
}

}  // namespace jv
