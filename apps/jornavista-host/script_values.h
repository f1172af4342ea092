// The values a script writes and the host prints, as text: integers, dates,
// colours, flags, text arguments and status codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/types.h"

namespace jv::host {

// A decimal integer, an optional leading '+' allowed.
std::optional<std::int64_t> ParseInteger(std::string_view text);
// YYYY-MM-DD from 0100-01-01 to 9999-12-31.
std::optional<DATE> ParseIsoDate(std::string_view text);
std::string IsoDate(DATE date);
// A colour in decimal (a negative number is its 32-bit pattern) or as "&H80000005".
std::optional<OLE_COLOR> ParseColor(std::string_view text);
// A 16-bit integer in decimal or as a 16-bit pattern ("&HFFFF" is -1).
std::optional<std::int16_t> ParseInt16(std::string_view text);
// true, True, false or False.
std::optional<bool> ParseFlag(std::string_view text);
// A text argument: a JSON string literal when it starts with a double quote, else
// the text as it stands.
std::optional<std::string> ParseTextArgument(std::string_view text, std::string* error);

// A value the user gave, as a message repeats it: control characters escaped
// (\n, \t, \xNN, so that a message stays one line of text) and a value longer
// than kShownBytes cut short, with its length said. Anything else unchanged.
inline constexpr std::size_t kShownBytes = 80;
std::string Shown(std::string_view value);

// A file name a script gives: one with a zero byte in it would be cut short
// there by the system, so it is refused with a message.
std::optional<std::string> FileNameError(std::string_view name);

// A status as the host prints it: "0x80020003".
std::string StatusText(HRESULT hr);

}  // namespace jv::host
