#include "apps/jornavista-host/invoke_values.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "apps/document/document_font.h"
#include "apps/jornavista-host/font_json.h"
#include "apps/jornavista-host/member_calls.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/automation/std_font.h"

namespace jv::host {

using nlohmann::ordered_json;

namespace {

// A new standard font as the dispatch interface an argument passes.
std::optional<std::string> FontValue(const FontDescription& desc, Variant* out) {
  IFont* font = nullptr;
  if (FAILED(CreateStdFont(desc, &font))) return "not a font: " + Shown(ToUtf8Lossy(desc.name));
  const FontRef held = FontRef::Adopt(font);
  if (FAILED(FontArgument(held.get(), out))) return std::string("the font has no dispatch interface");
  return std::nullopt;
}

}  // namespace

// An argument as a script writes it.
std::optional<std::string> ParseArgument(std::string_view text, Variant* out) {
  auto number = [](std::string_view t, double* d) {
    if (t.empty()) return false;
    std::string s(t);
    char* end = nullptr;
    *d = std::strtod(s.c_str(), &end);
    return end == s.c_str() + s.size() && std::isfinite(*d);
  };
  double d = 0;
  if (const auto n = ParseInteger(text)) {
    *out = *n >= INT32_MIN && *n <= INT32_MAX ? Variant::I4(static_cast<std::int32_t>(*n))
                                              : Variant::R8(static_cast<double>(*n));
    return std::nullopt;
  }
  if (text.starts_with("i2:")) {
    const auto n = ParseInt16(text.substr(3));
    if (!n) return "not a 16-bit integer: " + Shown(std::string(text));
    *out = Variant::I2(*n);
    return std::nullopt;
  }
  if (text == "true" || text == "false") {
    *out = Variant::Bool(text == "true");
    return std::nullopt;
  }
  if (text == "empty" || text == "null" || text == "missing") {
    *out = text == "empty"  ? Variant::Empty()
           : text == "null" ? Variant::Null()
                            : Variant::Error(DISP_E_PARAMNOTFOUND);
    return std::nullopt;
  }
  if (text == "nothing") {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = nullptr;
    *out = Variant::Attach(v);
    return std::nullopt;
  }
  // A font: the JSON object that put and the document write, or the older
  // font:NAME,POINTS that saved scripts may use.
  if (!text.empty() && text.front() == '{') {
    FontDescription desc;
    if (auto error = document::ParseFontJson(text, &desc)) return "not a font: " + *error;
    return FontValue(desc, out);
  }
  if (text.starts_with("font:")) {
    const std::string_view font_text = text.substr(5);
    const std::size_t comma = font_text.rfind(',');
    double points = 0;
    Text name;
    if (comma == std::string_view::npos || !number(font_text.substr(comma + 1), &points) || points <= 0 ||
        points > 1e6 || FAILED(Utf8ToText(font_text.substr(0, comma), &name)))
      return "usage: font:NAME,POINTS";
    FontDescription desc;
    desc.name = name;
    desc.size_cy = static_cast<std::int64_t>(std::llround(points * 10000));
    return FontValue(desc, out);
  }
  if (!text.empty() && text.front() == '"') {
    std::string error;
    const auto s = ParseTextArgument(text, &error);
    if (!s) return error;
    Text value;
    if (FAILED(Utf8ToText(*s, &value))) return "the text is not valid UTF-8";
    *out = Variant::Str(value);
    return std::nullopt;
  }
  if (number(text, &d)) {
    *out = Variant::R8(d);
    return std::nullopt;
  }
  return "not an argument: " + Shown(text) + " (" + std::string(kArgumentForms) + ")";
}

ordered_json ValueJson(const VARIANT& v) {
  ordered_json j;
  switch (v.vt) {
    case VT_EMPTY:
      j["type"] = "VT_EMPTY";
      break;
    case VT_I2:
      j = {{"type", "VT_I2"}, {"value", v.iVal}};
      break;
    case VT_I4:
      j = {{"type", "VT_I4"}, {"value", v.lVal}};
      break;
    case VT_BOOL:
      j = {{"type", "VT_BOOL"}, {"value", v.boolVal != VARIANT_FALSE}};
      break;
    case VT_BSTR:
      j = {{"type", "VT_BSTR"},
           {"value",
            ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(v.bstrVal), SysStringLen(v.bstrVal)))}};
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN: {
      j["type"] = v.vt == VT_DISPATCH ? "VT_DISPATCH" : "VT_UNKNOWN";
      FontRef font;
      FontDescription d;
      if (v.punkVal == nullptr) {
        j["value"] = nullptr;
      } else if (SUCCEEDED(v.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))) &&
                 SUCCEEDED(DescribeFont(font.get(), &d))) {
        j["font"] = FontJson(font.get());
      } else {
        j["value"] = "object";
      }
      break;
    }
    default:
      j["type"] = "vt" + std::to_string(v.vt);
      break;
  }
  return j;
}

std::optional<DISPID> ParseDispatchId(std::string_view word) {
  if (word.starts_with("0x") || word.starts_with("0X")) {
    std::uint32_t v = 0;
    const auto [p, ec] = std::from_chars(word.data() + 2, word.data() + word.size(), v, 16);
    if (ec != std::errc() || p != word.data() + word.size() || word.size() == 2) return std::nullopt;
    return static_cast<DISPID>(v);
  }
  if (const auto n = ParseInteger(word); n && *n >= INT32_MIN && *n <= INT32_MAX)
    return static_cast<DISPID>(*n);
  if (word.starts_with("-")) {
    if (const auto n = ParseInteger(word.substr(1)); n && *n <= 0x80000000ll) return static_cast<DISPID>(-*n);
  }
  return std::nullopt;
}

}  // namespace jv::host
