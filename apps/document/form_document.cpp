#include "apps/document/form_document.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "apps/document/json_shape.h"
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

std::optional<JsonError> ReadPropertyValue(const JsonMember& property, Variant* out) {
  const std::string what = "property " + Quoted(property.key);
  if (auto e = JsonShape::Expect(property.value, Kind::kObject, what))
    return JsonShape::At(property.line, e->message);
  const JsonValue& object = property.value;
  if (auto e = JsonShape::OnlyKeys(object, {"type", "value"}, what)) return e;
  const JsonMember* type = nullptr;
  const JsonMember* value = nullptr;
  if (auto e = JsonShape::Require(object, "type", what, &type)) return e;
  if (auto e = JsonShape::Require(object, "value", what, &value)) return e;
  std::string tag;
  if (auto e = JsonShape::String(*type, what + ": \"type\"", true, &tag)) return e;

  const std::string value_what = what + ": the " + tag + " value";
  std::int64_t i = 0;
  if (tag == "int16") {
    if (auto e = JsonShape::Integer(*value, INT16_MIN, INT16_MAX, value_what, &i)) return e;
    *out = Variant::I2(static_cast<std::int16_t>(i));
  } else if (tag == "int32") {
    if (auto e = JsonShape::Integer(*value, INT32_MIN, INT32_MAX, value_what, &i)) return e;
    *out = Variant::I4(static_cast<std::int32_t>(i));
  } else if (tag == "boolean") {
    if (auto e = JsonShape::Expect(value->value, Kind::kBoolean, value_what))
      return JsonShape::At(value->line, e->message);
    *out = Variant::Bool(value->value.boolean);
  } else if (tag == "string") {
    std::string utf8;
    if (auto e = JsonShape::String(*value, value_what, true, &utf8)) return e;
    Text text;
    if (FAILED(Utf8ToText(utf8, &text)))
      return JsonShape::At(value->line, value_what + " is not valid UTF-8");
    Variant v = Variant::Str(text);
    if (v.vt() != VT_BSTR) return JsonShape::At(value->line, value_what + " is too long");
    *out = std::move(v);
  } else if (tag == "font") {
    if (value->value.kind == Kind::kNull) {
      *out = Variant::Object(nullptr);  // Nothing
    } else {
      if (auto e =
              JsonShape::Expect(value->value, Kind::kObject, value_what + " (an object, or null for none)"))
        return JsonShape::At(value->line, e->message);
      FontDescription description;
      if (auto e = FontFromJson(value->value, &description))
        return JsonShape::At(e->line, what + ": " + e->message);
      IFont* font = nullptr;
      if (FAILED(CreateStdFont(description, &font)))
        return JsonShape::At(value->line, what + ": out of memory");
      *out = Variant::Object(font);
      font->Release();
    }
  } else {
    return JsonShape::At(type->line,
                         what + ": unknown type " + Quoted(tag) +
                             " (expected \"int16\", \"int32\", \"boolean\", \"string\" or \"font\")");
  }
  return std::nullopt;
}

std::optional<JsonError> ReadControl(const JsonValue& v, std::size_t index, std::set<std::string>* names,
                                     ControlRecord* out) {
  std::string what = "controls[" + std::to_string(index) + "]";
  if (auto e = JsonShape::Expect(v, Kind::kObject, what)) return e;
  if (auto e =
          JsonShape::OnlyKeys(v, {"class", "name", "left", "top", "width", "height", "properties"}, what))
    return e;

  ControlRecord record;
  record.line = v.line;
  const JsonMember* m = nullptr;
  if (auto e = JsonShape::Require(v, "name", what, &m)) return e;
  if (auto e = JsonShape::String(*m, what + ": \"name\"", false, &record.name)) return e;
  if (!names->insert(record.name).second)
    return JsonShape::At(m->line, "a second control is named " + Quoted(record.name));
  what = "control " + Quoted(record.name);
  if (auto e = JsonShape::Require(v, "class", what, &m)) return e;
  if (auto e = JsonShape::String(*m, what + ": \"class\"", false, &record.class_name)) return e;

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
    if (auto e = JsonShape::Require(v, p.key, what, &m)) return e;
    std::int64_t i = 0;
    if (auto e = JsonShape::Integer(*m, p.lo, INT32_MAX, what + ": " + Quoted(p.key), &i)) return e;
    *p.field = static_cast<std::int32_t>(i);
  }

  if (auto e = JsonShape::Require(v, "properties", what, &m)) return e;
  if (auto e = JsonShape::Expect(m->value, Kind::kObject, what + ": \"properties\""))
    return JsonShape::At(m->line, e->message);
  for (const JsonMember& property : m->value.members) {
    if (property.key.empty()) return JsonShape::At(property.line, what + ": a property has an empty name");
    Variant value;
    if (auto e = ReadPropertyValue(property, &value)) return JsonShape::At(e->line, what + ": " + e->message);
    Text key;
    if (FAILED(Utf8ToText(property.key, &key)) || FAILED(record.properties.Put(key, value.raw())))
      return JsonShape::At(property.line, what + ": property " + Quoted(property.key) + " cannot be stored");
  }
  *out = std::move(record);
  return std::nullopt;
}

std::optional<JsonError> ReadForm(const JsonValue& root, FormDocument* out) {
  const std::string_view what = "the document";
  if (auto e = JsonShape::Expect(root, Kind::kObject, what)) return e;
  const JsonMember* m = nullptr;
  // The kind and version first: a later version may hold keys this one does not know.
  if (auto e = JsonShape::Require(root, "format", what, &m)) return e;
  if (m->value.kind != Kind::kString || m->value.text != kFormatName)
    return JsonShape::At(
        m->line, "not a Jornavista form document (\"format\" must be \"" + std::string(kFormatName) + "\")");
  if (auto e = JsonShape::Require(root, "version", what, &m)) return e;
  std::int64_t version = 0;
  if (auto e = JsonShape::Integer(*m, INT64_MIN, INT64_MAX, "\"version\"", &version)) return e;
  if (version != kFormatVersion)
    return JsonShape::At(m->line, "version " + std::to_string(version) +
                                      " is not supported (this host reads version " +
                                      std::to_string(kFormatVersion) + ")");
  if (auto e = JsonShape::OnlyKeys(root, {"format", "version", "controls"}, what)) return e;
  if (auto e = JsonShape::Require(root, "controls", what, &m)) return e;
  if (auto e = JsonShape::Expect(m->value, Kind::kArray, "\"controls\""))
    return JsonShape::At(m->line, e->message);

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
