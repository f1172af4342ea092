// The design of ctrJornavista's face: every constituent control with its design
// values, the day grid's geometry and the surface's stored size. Written once here
// and built by every runtime.
#pragma once

#include <cstdint>

#include "platform/runtime/layout.h"

namespace jv::control::face {

// The day grid: 6 rows of 7 cells inside Picture1, Sunday first.
inline constexpr std::int16_t kRows = 6;
inline constexpr std::int16_t kColumns = 7;
inline constexpr std::int16_t kCellCount = kRows * kColumns;
inline constexpr std::int32_t kCellSize = 240;
inline constexpr std::int32_t CellLeft(std::int16_t index) { return 135 + 450 * ((index - 1) % kColumns); }
inline constexpr std::int32_t CellTop(std::int16_t index) { return 45 + 375 * ((index - 1) / kColumns); }

// The frame's size, which the resize rule gives the whole control.
inline constexpr std::int32_t kFrameWidth = 3465;
inline constexpr std::int32_t kFrameHeight = 3735;

const platform::FaceLayout& JornavistaLayout();

}  // namespace jv::control::face
