#include "apps/jornavista-host/script_values.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "platform/automation/literal_text.h"
#include "platform/dates/calendar.h"

namespace jv::host {

namespace {

// "&H" and up to max_digits hexadecimal digits, as the automation languages write
// a bit pattern.
std::optional<std::uint64_t> ParseHex(std::string_view text, std::size_t max_digits) {
  if (text.size() < 3 || text[0] != '&' || (text[1] != 'H' && text[1] != 'h')) return std::nullopt;
  const std::string_view digits = text.substr(2);
  if (digits.size() > max_digits) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(d);
  }
  return value;
}

}  // namespace

std::optional<std::int64_t> ParseInteger(std::string_view text) {
  std::int64_t value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (ec != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::optional<DATE> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto y = ParseInteger(text.substr(0, 4));
  const auto m = ParseInteger(text.substr(5, 2));
  const auto d = ParseInteger(text.substr(8, 2));
  if (!y || !m || !d) return std::nullopt;
  DATE date = 0;
  if (FAILED(dates::FromCivil(
          {static_cast<std::int32_t>(*y), static_cast<std::int32_t>(*m), static_cast<std::int32_t>(*d)},
          &date)))
    return std::nullopt;
  return date;
}

std::string IsoDate(DATE date) {
  dates::CivilDate c{};
  if (FAILED(dates::ToCivil(date, &c))) return "out of range";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
  return buf;
}

std::optional<OLE_COLOR> ParseColor(std::string_view text) {
  if (const auto hex = ParseHex(text, 8)) return static_cast<OLE_COLOR>(*hex);
  const auto n = ParseInteger(text);
  if (!n || *n < INT32_MIN || *n > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
  return static_cast<OLE_COLOR>(static_cast<std::uint32_t>(*n));
}

std::optional<std::int16_t> ParseInt16(std::string_view text) {
  if (const auto hex = ParseHex(text, 4)) return static_cast<std::int16_t>(static_cast<std::uint16_t>(*hex));
  const auto n = ParseInteger(text);
  if (!n || *n < INT16_MIN || *n > INT16_MAX) return std::nullopt;
  return static_cast<std::int16_t>(*n);
}

std::optional<bool> ParseFlag(std::string_view text) {
  if (text == "true" || text == "True") return true;
  if (text == "false" || text == "False") return false;
  return std::nullopt;
}

std::optional<std::string> ParseTextArgument(std::string_view text, std::string* error) {
  if (text.empty() || text.front() != '"') return std::string(text);
  const nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_string()) {
    *error = "not a JSON string literal: " + Shown(text);
    return std::nullopt;
  }
  return parsed.get<std::string>();
}

std::string Shown(std::string_view value) {
  const std::string_view head = value.substr(0, kShownBytes);
  std::string shown;
  shown.reserve(head.size());
  for (const char c : head) AppendPrintable(shown, c);
  if (head.size() < value.size()) shown += "... (" + std::to_string(value.size()) + " bytes)";
  return shown;
}

std::optional<std::string> FileNameError(std::string_view name) {
  if (name.find('\0') == std::string_view::npos) return std::nullopt;
  return "a file name cannot hold a zero byte: " + Shown(name);
}

std::string StatusText(HRESULT hr) { return Hex32(static_cast<std::uint32_t>(hr)); }

}  // namespace jv::host
