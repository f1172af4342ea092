// The host document in memory, a form of controls each with its class, name,
// place and property bag, and its text: versioned JSON, UTF-8. docs/document-format.md
// describes the text.
#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "apps/document/document_bag.h"
#include "apps/document/json_tree.h"
#include "platform/automation/std_font.h"

namespace jv::document {

inline constexpr std::string_view kFormatName = "jornavista-form";
inline constexpr int kFormatVersion = 1;

struct ControlRecord {
  std::string class_name;
  std::string name;  // unique in its form
  // Twips, in the form's coordinates.
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  DocumentBag properties;
  int line = 0;  // where the record starts in the text it was read from; 0 if made in memory
};

struct FormDocument {
  std::vector<ControlRecord> controls;
};

// The document's text. Fails, naming the control and key, on a value the text
// cannot hold: text or a name that is not valid Unicode (a lone surrogate), or a
// font whose size lies outside kMaxFontSizeCy.
[[nodiscard]] std::optional<std::string> FormatDocument(const FormDocument& document, std::string* out);

// Reads a document's text. Errors read "SOURCE:LINE: what is wrong"; *out is left
// as it was on failure, so nothing of a malformed text is ever half taken over.
[[nodiscard]] std::optional<std::string> ParseDocument(std::string_view text, std::string_view source,
                                                       FormDocument* out);

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
