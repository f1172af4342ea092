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
#include "apps/document/document_font.h"
#include "apps/document/json_tree.h"

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

}  // namespace jv::document
