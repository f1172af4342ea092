// A font as the host document writes it: a JSON object of Name, Size (points),
// Bold, Italic, Underline, Strikethrough, Weight and Charset, and the exact text of
// a size in points.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "apps/document/json_tree.h"
#include "platform/automation/std_font.h"

namespace jv::document {

// Font sizes are points with at most four decimals (the currency type of the font
// object). Up to this many ten-thousandths they pass through a JSON number exactly.
inline constexpr std::int64_t kMaxFontSizeCy = 999'999'999'999'999;

// A font as a JSON object: Name, Size (points), Bold, Italic, Underline,
// Strikethrough, Weight, Charset.
[[nodiscard]] std::optional<std::string> FontToJson(const FontDescription& font, nlohmann::ordered_json* out);
// Reads such an object. Name and Size are required, the other fields default to
// those of a new standard font; Bold and Weight may both be given only when they
// agree. Errors name the line of the offending field; *out is left as it was.
[[nodiscard]] std::optional<JsonError> FontFromJson(const JsonValue& value, FontDescription* out);
// The same from JSON text, as a host's command line gives it.
[[nodiscard]] std::optional<std::string> ParseFontJson(std::string_view text, FontDescription* out);

// Points in ten-thousandths from a number as written ("8.25", "12", "1.5e1"),
// exactly; nullopt for more than four decimals, a size not above zero, or one above
// kMaxFontSizeCy.
std::optional<std::int64_t> FontSizeFromText(std::string_view number);
// Ten-thousandths of a point as the points they are, without trailing zeros:
// 82500 is "8.25".
std::string FontSizeText(std::int64_t cy);

}  // namespace jv::document
