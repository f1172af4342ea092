#include "apps/document/document_font.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>

#include "apps/document/json_shape.h"
#include "platform/automation/literal_text.h"

namespace jv::document {

using nlohmann::ordered_json;
using Kind = JsonValue::Kind;

namespace {

// A font the reader accepts, so that everything written reads back.
std::optional<std::string> CheckFont(const FontDescription& f) {
  if (f.name.empty()) return "the font's Name is empty";
  if (f.name.find(u'\0') != Text::npos) return "the font's Name holds a zero character";
  if (f.size_cy <= 0 || f.size_cy > kMaxFontSizeCy)
    return "the font's Size must be above 0 and at most 99999999999.9999 points";
  if (f.weight < 0 || f.weight > 1000) return "the font's Weight must be from 0 to 1000";
  if (f.charset < 0 || f.charset > 255) return "the font's Charset must be from 0 to 255";
  if (f.bold != (f.weight >= 600))
    return "the font's Bold must be true exactly when its Weight is 600 or more";
  return std::nullopt;
}

}  // namespace

std::string FontSizeText(std::int64_t cy) {
  const std::lldiv_t parts = std::lldiv(cy, 10000);
  char text[48];
  std::snprintf(text, sizeof text, "%s%lld.%04lld", cy < 0 ? "-" : "", std::llabs(parts.quot),
                std::llabs(parts.rem));
  std::string shown = text;
  while (shown.back() == '0') shown.pop_back();
  if (shown.back() == '.') shown.pop_back();
  return shown;
}

std::optional<std::int64_t> FontSizeFromText(std::string_view s) {
  std::size_t i = 0;
  std::string digits;
  std::int64_t fraction_digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') digits.push_back(s[i++]);
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i, ++fraction_digits) digits.push_back(s[i]);
  }
  if (digits.empty()) return std::nullopt;
  std::int64_t exponent = 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t start = i;
    // Capped: any exponent this large makes the size zero or too large anyway.
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
      exponent = std::min<std::int64_t>(exponent * 10 + (s[i] - '0'), 1'000'000'000);
    if (i == start) return std::nullopt;
    if (negative) exponent = -exponent;
  }
  if (i != s.size()) return std::nullopt;

  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.empty()) return std::nullopt;  // zero
  // The digits are ten-thousandths once shifted this many places to the left.
  const std::int64_t shift = exponent + 4 - fraction_digits;
  constexpr std::size_t kMaxDigits = 15;  // kMaxFontSizeCy has fifteen
  if (shift < 0) {
    const std::int64_t drop = -shift;
    if (drop >= static_cast<std::int64_t>(digits.size())) return std::nullopt;  // below a ten-thousandth
    const std::size_t keep = digits.size() - static_cast<std::size_t>(drop);
    if (digits.find_first_not_of('0', keep) != std::string::npos) return std::nullopt;
    digits.resize(keep);
  } else {
    if (static_cast<std::int64_t>(digits.size()) + shift > static_cast<std::int64_t>(kMaxDigits))
      return std::nullopt;
    digits.append(static_cast<std::size_t>(shift), '0');
  }
  if (digits.size() > kMaxDigits) return std::nullopt;
  std::int64_t cy = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), cy);
  if (cy <= 0 || cy > kMaxFontSizeCy) return std::nullopt;
  return cy;
}

std::optional<std::string> FontToJson(const FontDescription& font, ordered_json* out) {
  if (auto error = CheckFont(font)) return error;
  std::string name;
  if (FAILED(TextToUtf8(font.name, &name)))
    return "the font's Name is not valid Unicode (it holds a lone surrogate)";
  // Whole points as an integer; otherwise a double, which holds up to fifteen
  // significant digits, and so every size up to kMaxFontSizeCy, exactly.
  const ordered_json size = font.size_cy % 10000 == 0
                                ? ordered_json(font.size_cy / 10000)
                                : ordered_json(static_cast<double>(font.size_cy) / 10000.0);
  *out = ordered_json{{"Name", std::move(name)},     {"Size", size},
                      {"Bold", font.bold},           {"Italic", font.italic},
                      {"Underline", font.underline}, {"Strikethrough", font.strikethrough},
                      {"Weight", font.weight},       {"Charset", font.charset}};
  return std::nullopt;
}

std::optional<JsonError> FontFromJson(const JsonValue& value, FontDescription* out) {
  const std::string_view what = "the font";
  if (auto e = JsonShape::Expect(value, Kind::kObject, what)) return e;
  if (auto e = JsonShape::OnlyKeys(
          value, {"Name", "Size", "Bold", "Italic", "Underline", "Strikethrough", "Weight", "Charset"}, what))
    return e;
  FontDescription f;
  const JsonMember* m = nullptr;
  if (auto e = JsonShape::Require(value, "Name", what, &m)) return e;
  std::string name;
  if (auto e = JsonShape::String(*m, "the font's Name", false, &name)) return e;
  if (FAILED(Utf8ToText(name, &f.name))) return JsonShape::At(m->line, "the font's Name is not valid UTF-8");
  if (f.name.find(u'\0') != Text::npos)
    return JsonShape::At(m->line, "the font's Name holds a zero character");

  if (auto e = JsonShape::Require(value, "Size", what, &m)) return e;
  std::optional<std::int64_t> size;
  if (m->value.kind == Kind::kInteger && !m->value.integer_is_unsigned) {
    if (m->value.integer > 0 && m->value.integer <= kMaxFontSizeCy / 10000) size = m->value.integer * 10000;
  } else if (m->value.kind == Kind::kReal) {
    size = FontSizeFromText(m->value.text);
  } else if (m->value.kind != Kind::kInteger) {
    return JsonShape::At(
        m->line, "the font's Size is " + std::string(KindName(m->value.kind)) + ", expected a number");
  }
  if (!size)
    return JsonShape::At(
        m->line,
        "the font's Size must be above 0 and at most 99999999999.9999 points, with at most four decimals");
  f.size_cy = *size;

  const struct {
    std::string_view key;
    bool* field;
  } flags[] = {{"Italic", &f.italic}, {"Underline", &f.underline}, {"Strikethrough", &f.strikethrough}};
  for (const auto& flag : flags) {
    if ((m = value.Find(flag.key)) == nullptr) continue;
    if (auto e = JsonShape::Expect(m->value, Kind::kBoolean, "the font's " + std::string(flag.key)))
      return JsonShape::At(m->line, e->message);
    *flag.field = m->value.boolean;
  }
  std::int64_t i = 0;
  if ((m = value.Find("Charset")) != nullptr) {
    if (auto e = JsonShape::Integer(*m, 0, 255, "the font's Charset", &i)) return e;
    f.charset = static_cast<std::int16_t>(i);
  }
  // Bold is the same fact as a weight of 600 or more: either may be given alone,
  // and both only when they agree.
  const JsonMember* weight = value.Find("Weight");
  const JsonMember* bold = value.Find("Bold");
  if (weight != nullptr) {
    if (auto e = JsonShape::Integer(*weight, 0, 1000, "the font's Weight", &i)) return e;
    f.weight = static_cast<std::int16_t>(i);
  }
  if (bold != nullptr) {
    if (auto e = JsonShape::Expect(bold->value, Kind::kBoolean, "the font's Bold"))
      return JsonShape::At(bold->line, e->message);
    f.bold = bold->value.boolean;
    if (weight == nullptr) f.weight = f.bold ? 700 : 400;
  } else {
    f.bold = f.weight >= 600;
  }
  if (f.bold != (f.weight >= 600))
    return JsonShape::At(bold->line, std::string("the font's Bold is ") + (f.bold ? "true" : "false") +
                                         " but its Weight is " + std::to_string(f.weight));
  *out = std::move(f);
  return std::nullopt;
}

std::optional<std::string> ParseFontJson(std::string_view text, FontDescription* out) {
  JsonValue value;
  if (auto e = ReadJson(text, &value)) return e->message;
  if (auto e = FontFromJson(value, out)) return e->message;
  return std::nullopt;
}

}  // namespace jv::document
