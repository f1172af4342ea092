#include "apps/document/form_document.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "platform/automation/bstr.h"
#include "platform/automation/literal_text.h"

namespace jv::document {

namespace {

using nlohmann::ordered_json;
using Kind = JsonValue::Kind;

// ---- Shared by the reader and the writer: what a document may hold ----

bool ValidUtf8(std::string_view text) {
  Text ignored;
  return SUCCEEDED(Utf8ToText(text, &ignored));
}

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

// ---- Writing ----

std::optional<std::string> ValueJson(const VARIANT& v, ordered_json* out) {
  switch (v.vt) {
    case VT_I2:
      *out = {{"type", "int16"}, {"value", v.iVal}};
      return std::nullopt;
    case VT_I4:
      *out = {{"type", "int32"}, {"value", v.lVal}};
      return std::nullopt;
    case VT_BOOL:
      *out = {{"type", "boolean"}, {"value", v.boolVal != VARIANT_FALSE}};
      return std::nullopt;
    case VT_BSTR: {
      std::string text;
      if (FAILED(TextToUtf8(TextView(v.bstrVal, SysStringLen(v.bstrVal)), &text)))
        return "its text is not valid Unicode (it holds a lone surrogate)";
      *out = {{"type", "string"}, {"value", std::move(text)}};
      return std::nullopt;
    }
    case VT_UNKNOWN: {
      ordered_json font = nullptr;
      if (v.punkVal != nullptr) {
        IFont* f = nullptr;
        if (FAILED(v.punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f))) || f == nullptr)
          return "it holds an object that is not a font";
        FontDescription description;
        const HRESULT hr = DescribeFont(f, &description);
        f->Release();
        if (FAILED(hr)) return "its font cannot be read";
        if (auto error = FontToJson(description, &font)) return error;
      }
      *out = {{"type", "font"}, {"value", std::move(font)}};
      return std::nullopt;
    }
    default:
      return "its variant type " + std::to_string(v.vt) + " has no place in a document";
  }
}

// ---- Reading ----

// Messages of the shape checks; the caller adds the source name.
class Shape {
 public:
  static JsonError At(int line, std::string message) { return JsonError{line, 0, std::move(message)}; }

  static std::optional<JsonError> Expect(const JsonValue& v, Kind kind, std::string_view what) {
    if (v.kind == kind) return std::nullopt;
    return At(v.line, std::string(what) + " is " + std::string(KindName(v.kind)) + ", expected " +
                          std::string(KindName(kind)));
  }

  static std::optional<JsonError> OnlyKeys(const JsonValue& object,
                                           std::initializer_list<std::string_view> keys,
                                           std::string_view what) {
    for (const JsonMember& m : object.members) {
      bool known = false;
      for (std::string_view k : keys) known |= m.key == k;
      if (known) continue;
      std::string list;
      for (std::string_view k : keys) list += (list.empty() ? "" : ", ") + Quoted(k);
      return At(m.line,
                "unknown key " + Quoted(m.key) + " in " + std::string(what) + " (expected " + list + ")");
    }
    return std::nullopt;
  }

  static std::optional<JsonError> Require(const JsonValue& object, std::string_view key,
                                          std::string_view what, const JsonMember** out) {
    *out = object.Find(key);
    if (*out != nullptr) return std::nullopt;
    return At(object.line, std::string(what) + " has no " + Quoted(key));
  }

  static std::optional<JsonError> Integer(const JsonMember& m, std::int64_t lo, std::int64_t hi,
                                          std::string_view what, std::int64_t* out) {
    const JsonValue& v = m.value;
    // A whole number too large for 64 bits reads as a real: it is out of range,
    // not a number with a fraction.
    if (v.kind == Kind::kReal && v.text.find_first_of(".eE") == std::string::npos)
      return At(m.line, std::string(what) + " must be from " + std::to_string(lo) + " to " +
                            std::to_string(hi) + ", not " + v.text);
    if (v.kind != Kind::kInteger)
      return At(m.line, std::string(what) + " is " + std::string(KindName(v.kind)) + ", expected an integer");
    if (v.integer_is_unsigned || v.integer < lo || v.integer > hi) {
      const std::string written = v.integer_is_unsigned
                                      ? std::to_string(static_cast<std::uint64_t>(v.integer))
                                      : std::to_string(v.integer);
      return At(m.line, std::string(what) + " must be from " + std::to_string(lo) + " to " +
                            std::to_string(hi) + ", not " + written);
    }
    *out = v.integer;
    return std::nullopt;
  }

  static std::optional<JsonError> String(const JsonMember& m, std::string_view what, bool allow_empty,
                                         std::string* out) {
    if (auto e = Expect(m.value, Kind::kString, what)) return At(m.line, e->message);
    if (!allow_empty && m.value.text.empty()) return At(m.line, std::string(what) + " is empty");
    *out = m.value.text;
    return std::nullopt;
  }
};

std::optional<JsonError> ReadPropertyValue(const JsonMember& property, Variant* out) {
  const std::string what = "property " + Quoted(property.key);
  if (auto e = Shape::Expect(property.value, Kind::kObject, what))
    return Shape::At(property.line, e->message);
  const JsonValue& object = property.value;
  if (auto e = Shape::OnlyKeys(object, {"type", "value"}, what)) return e;
  const JsonMember* type = nullptr;
  const JsonMember* value = nullptr;
  if (auto e = Shape::Require(object, "type", what, &type)) return e;
  if (auto e = Shape::Require(object, "value", what, &value)) return e;
  std::string tag;
  if (auto e = Shape::String(*type, what + ": \"type\"", true, &tag)) return e;

  const std::string value_what = what + ": the " + tag + " value";
  std::int64_t i = 0;
  if (tag == "int16") {
    if (auto e = Shape::Integer(*value, INT16_MIN, INT16_MAX, value_what, &i)) return e;
    *out = Variant::I2(static_cast<std::int16_t>(i));
  } else if (tag == "int32") {
    if (auto e = Shape::Integer(*value, INT32_MIN, INT32_MAX, value_what, &i)) return e;
    *out = Variant::I4(static_cast<std::int32_t>(i));
  } else if (tag == "boolean") {
    if (auto e = Shape::Expect(value->value, Kind::kBoolean, value_what))
      return Shape::At(value->line, e->message);
    *out = Variant::Bool(value->value.boolean);
  } else if (tag == "string") {
    std::string utf8;
    if (auto e = Shape::String(*value, value_what, true, &utf8)) return e;
    Text text;
    if (FAILED(Utf8ToText(utf8, &text))) return Shape::At(value->line, value_what + " is not valid UTF-8");
    Variant v = Variant::Str(text);
    if (v.vt() != VT_BSTR) return Shape::At(value->line, value_what + " is too long");
    *out = std::move(v);
  } else if (tag == "font") {
    if (value->value.kind == Kind::kNull) {
      *out = Variant::Object(nullptr);  // Nothing
    } else {
      if (auto e = Shape::Expect(value->value, Kind::kObject, value_what + " (an object, or null for none)"))
        return Shape::At(value->line, e->message);
      FontDescription description;
      if (auto e = FontFromJson(value->value, &description))
        return Shape::At(e->line, what + ": " + e->message);
      IFont* font = nullptr;
      if (FAILED(CreateStdFont(description, &font))) return Shape::At(value->line, what + ": out of memory");
      *out = Variant::Object(font);
      font->Release();
    }
  } else {
    return Shape::At(type->line, what + ": unknown type " + Quoted(tag) +
                                     " (expected \"int16\", \"int32\", \"boolean\", \"string\" or \"font\")");
  }
  return std::nullopt;
}

std::optional<JsonError> ReadControl(const JsonValue& v, std::size_t index, std::set<std::string>* names,
                                     ControlRecord* out) {
  std::string what = "controls[" + std::to_string(index) + "]";
  if (auto e = Shape::Expect(v, Kind::kObject, what)) return e;
  if (auto e = Shape::OnlyKeys(v, {"class", "name", "left", "top", "width", "height", "properties"}, what))
    return e;

  ControlRecord record;
  record.line = v.line;
  const JsonMember* m = nullptr;
  if (auto e = Shape::Require(v, "name", what, &m)) return e;
  if (auto e = Shape::String(*m, what + ": \"name\"", false, &record.name)) return e;
  if (!names->insert(record.name).second)
    return Shape::At(m->line, "a second control is named " + Quoted(record.name));
  what = "control " + Quoted(record.name);
  if (auto e = Shape::Require(v, "class", what, &m)) return e;
  if (auto e = Shape::String(*m, what + ": \"class\"", false, &record.class_name)) return e;

  struct Place {
    std::string_view key;
    std::int64_t lo;
    std::int32_t* field;
  };
  const Place places[] = {{"left", INT32_MIN, &record.left},
                          {"top", INT32_MIN, &record.top},
                          {"width", 0, &record.width},
                          {"height", 0, &record.height}};
  for (const Place& p : places) {
    if (auto e = Shape::Require(v, p.key, what, &m)) return e;
    std::int64_t i = 0;
    if (auto e = Shape::Integer(*m, p.lo, INT32_MAX, what + ": " + Quoted(p.key), &i)) return e;
    *p.field = static_cast<std::int32_t>(i);
  }

  if (auto e = Shape::Require(v, "properties", what, &m)) return e;
  if (auto e = Shape::Expect(m->value, Kind::kObject, what + ": \"properties\""))
    return Shape::At(m->line, e->message);
  for (const JsonMember& property : m->value.members) {
    if (property.key.empty()) return Shape::At(property.line, what + ": a property has an empty name");
    Variant value;
    if (auto e = ReadPropertyValue(property, &value)) return Shape::At(e->line, what + ": " + e->message);
    Text key;
    if (FAILED(Utf8ToText(property.key, &key)) || FAILED(record.properties.Put(key, value.raw())))
      return Shape::At(property.line, what + ": property " + Quoted(property.key) + " cannot be stored");
  }
  *out = std::move(record);
  return std::nullopt;
}

std::optional<JsonError> ReadForm(const JsonValue& root, FormDocument* out) {
  const std::string_view what = "the document";
  if (auto e = Shape::Expect(root, Kind::kObject, what)) return e;
  const JsonMember* m = nullptr;
  // The kind and version first: a later version may hold keys this one does not know.
  if (auto e = Shape::Require(root, "format", what, &m)) return e;
  if (m->value.kind != Kind::kString || m->value.text != kFormatName)
    return Shape::At(
        m->line, "not a Jornavista form document (\"format\" must be \"" + std::string(kFormatName) + "\")");
  if (auto e = Shape::Require(root, "version", what, &m)) return e;
  std::int64_t version = 0;
  if (auto e = Shape::Integer(*m, INT64_MIN, INT64_MAX, "\"version\"", &version)) return e;
  if (version != kFormatVersion)
    return Shape::At(m->line, "version " + std::to_string(version) +
                                  " is not supported (this host reads version " +
                                  std::to_string(kFormatVersion) + ")");
  if (auto e = Shape::OnlyKeys(root, {"format", "version", "controls"}, what)) return e;
  if (auto e = Shape::Require(root, "controls", what, &m)) return e;
  if (auto e = Shape::Expect(m->value, Kind::kArray, "\"controls\"")) return Shape::At(m->line, e->message);

  FormDocument form;
  std::set<std::string> names;
  for (std::size_t i = 0; i < m->value.items.size(); ++i) {
    ControlRecord record;
    if (auto e = ReadControl(m->value.items[i], i, &names, &record)) return e;
    form.controls.push_back(std::move(record));
  }
  *out = std::move(form);
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
  if (auto e = Shape::Expect(value, Kind::kObject, what)) return e;
  if (auto e = Shape::OnlyKeys(
          value, {"Name", "Size", "Bold", "Italic", "Underline", "Strikethrough", "Weight", "Charset"}, what))
    return e;
  FontDescription f;
  const JsonMember* m = nullptr;
  if (auto e = Shape::Require(value, "Name", what, &m)) return e;
  std::string name;
  if (auto e = Shape::String(*m, "the font's Name", false, &name)) return e;
  if (FAILED(Utf8ToText(name, &f.name))) return Shape::At(m->line, "the font's Name is not valid UTF-8");
  if (f.name.find(u'\0') != Text::npos) return Shape::At(m->line, "the font's Name holds a zero character");

  if (auto e = Shape::Require(value, "Size", what, &m)) return e;
  std::optional<std::int64_t> size;
  if (m->value.kind == Kind::kInteger && !m->value.integer_is_unsigned) {
    if (m->value.integer > 0 && m->value.integer <= kMaxFontSizeCy / 10000) size = m->value.integer * 10000;
  } else if (m->value.kind == Kind::kReal) {
    size = FontSizeFromText(m->value.text);
  } else if (m->value.kind != Kind::kInteger) {
    return Shape::At(m->line,
                     "the font's Size is " + std::string(KindName(m->value.kind)) + ", expected a number");
  }
  if (!size)
    return Shape::At(
        m->line,
        "the font's Size must be above 0 and at most 99999999999.9999 points, with at most four decimals");
  f.size_cy = *size;

  const struct {
    std::string_view key;
    bool* field;
  } flags[] = {{"Italic", &f.italic}, {"Underline", &f.underline}, {"Strikethrough", &f.strikethrough}};
  for (const auto& flag : flags) {
    if ((m = value.Find(flag.key)) == nullptr) continue;
    if (auto e = Shape::Expect(m->value, Kind::kBoolean, "the font's " + std::string(flag.key)))
      return Shape::At(m->line, e->message);
    *flag.field = m->value.boolean;
  }
  std::int64_t i = 0;
  if ((m = value.Find("Charset")) != nullptr) {
    if (auto e = Shape::Integer(*m, 0, 255, "the font's Charset", &i)) return e;
    f.charset = static_cast<std::int16_t>(i);
  }
  // Bold is the same fact as a weight of 600 or more: either may be given alone,
  // and both only when they agree.
  const JsonMember* weight = value.Find("Weight");
  const JsonMember* bold = value.Find("Bold");
  if (weight != nullptr) {
    if (auto e = Shape::Integer(*weight, 0, 1000, "the font's Weight", &i)) return e;
    f.weight = static_cast<std::int16_t>(i);
  }
  if (bold != nullptr) {
    if (auto e = Shape::Expect(bold->value, Kind::kBoolean, "the font's Bold"))
      return Shape::At(bold->line, e->message);
    f.bold = bold->value.boolean;
    if (weight == nullptr) f.weight = f.bold ? 700 : 400;
  } else {
    f.bold = f.weight >= 600;
  }
  if (f.bold != (f.weight >= 600))
    return Shape::At(bold->line, std::string("the font's Bold is ") + (f.bold ? "true" : "false") +
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

std::optional<std::string> FormatDocument(const FormDocument& document, std::string* out) {
  ordered_json root;
  root["format"] = kFormatName;
  root["version"] = kFormatVersion;
  ordered_json controls = ordered_json::array();
  std::set<std::string_view> names;
  for (const ControlRecord& c : document.controls) {
    const std::string what = "control " + Quoted(c.name);
    if (c.name.empty() || !ValidUtf8(c.name)) return "a control's name is empty or not valid UTF-8";
    if (!names.insert(c.name).second) return "a second control is named " + Quoted(c.name);
    if (c.class_name.empty() || !ValidUtf8(c.class_name))
      return what + ": its class is empty or not valid UTF-8";
    if (c.width < 0 || c.height < 0) return what + ": its width and height must not be negative";
    ordered_json properties = ordered_json::object();
    for (const DocumentBag::Entry& e : c.properties.entries()) {
      std::string key;
      if (e.key.empty() || FAILED(TextToUtf8(e.key, &key)))
        return what + ": a property's name is empty or not valid Unicode";
      ordered_json value;
      if (auto error = ValueJson(e.value.raw(), &value))
        return what + ": property " + Quoted(key) + ": " + *error;
      properties[key] = std::move(value);
    }
    controls.push_back(ordered_json{{"class", c.class_name},
                                    {"name", c.name},
                                    {"left", c.left},
                                    {"top", c.top},
                                    {"width", c.width},
                                    {"height", c.height},
                                    {"properties", std::move(properties)}});
  }
  root["controls"] = std::move(controls);
  try {
    *out = root.dump(2, ' ', false, ordered_json::error_handler_t::strict) + "\n";
  } catch (const std::exception& e) {
    return std::string("the document cannot be written: ") + e.what();
  }
  return std::nullopt;
}

std::optional<std::string> ParseDocument(std::string_view text, std::string_view source, FormDocument* out) {
  const auto message = [source](const JsonError& e) {
    return std::string(source) + ":" + std::to_string(e.line) + ": " + e.message;
  };
  JsonValue root;
  if (auto e = ReadJson(text, &root)) return message(*e);
  if (auto e = ReadForm(root, out)) return message(*e);
  return std::nullopt;
}

}  // namespace jv::document
