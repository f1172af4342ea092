// The values of the invoke command: an argument as a script writes it, a result
// as the host prints it, and a member named by its dispatch id.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

namespace jv::host {

// The forms of an argument, as help and messages name them. A font is canonically
// the JSON object that put takes; font:NAME,POINTS is the older spelling, still read.
inline constexpr std::string_view kArgumentForms =
    "a number, i2:N, true, false, a \"JSON string\", a font as {\"Name\":\"Arial\",\"Size\":12} "
    "(older spelling: font:NAME,POINTS), nothing, empty, null or missing";

// A number (a 32-bit integer when it fits, else a double), i2:N (N as put takes a
// 16-bit integer), true, false, a "JSON string", a font, nothing, empty, null or
// missing; a message for anything else.
[[nodiscard]] std::optional<std::string> ParseArgument(std::string_view text, Variant* out);
// A variant as {"type": "VT_...", "value": ...}; a font as {"type": ..., "font": ...}, its
// fields as put takes them and the document writes them.
nlohmann::ordered_json ValueJson(const VARIANT& v);
// A dispatch id in decimal or as 0x and up to eight hexadecimal digits.
std::optional<DISPID> ParseDispatchId(std::string_view word);

}  // namespace jv::host
