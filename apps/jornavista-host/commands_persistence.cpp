// The scripting commands of the properties and the host document: new, load, save
// and select; put and get of SDate and the six appearance properties, and
// Refresh; set of a field of the shared font object. Members are reached by their
// published dispatch ids, persistence through IPersistPropertyBag over a bag of
// the host's document.
#include <ostream>

#include "apps/document/form_document.h"
#include "apps/jornavista-host/font_json.h"
#include "apps/jornavista-host/form_persistence.h"
#include "apps/jornavista-host/member_calls.h"
#include "apps/jornavista-host/script.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/automation/std_font.h"

namespace jv::host {

namespace {

using nlohmann::ordered_json;

using component::MemberDesc;
using component::ValueType;

// A property's member, by its name as a script spells it.
const MemberDesc* PropertyByName(std::string_view name) { return housing::PropertyNamed(name); }

std::optional<std::string> ParsePut(const ScriptLine& line, Action* run) {
  const std::string usage = "usage: put NAME VALUE (NAME: " + housing::PropertyNameList() + ")";
  const MemberDesc* const property = line.words.size() >= 2 ? PropertyByName(line.words[1]) : nullptr;
  if (property == nullptr) return usage;
  const std::string& value = line.rest;
  // Only a text may be empty.
  if (property->type != ValueType::kBstr && value.empty()) return usage;
  // The value as the put passes it; built when the line runs, as a font is a new object each time.
  const auto put = [run, property](std::function<HRESULT(Variant*)> make) {
    *run = [property, make = std::move(make)](Session& s) -> std::optional<std::string> {
      Variant v;
      HRESULT hr = make(&v);
      if (SUCCEEDED(hr)) hr = PutProperty(s.form, *property, v);
      ReportStatus(s, hr);
      return std::nullopt;
    };
    return std::nullopt;
  };
  switch (property->type) {
    case ValueType::kOleColor: {
      const auto color = ParseColor(value);
      if (!color)
        return line.words[1] + " is a colour: a number, or &H and up to eight hex digits: " + Shown(value);
      // The colour's bit pattern travels as a 32-bit integer.
      return put([c = static_cast<std::int32_t>(*color)](Variant* v) {
        *v = Variant::I4(c);
        return S_OK;
      });
    }
    case ValueType::kBool: {
      const auto flag = ParseFlag(value);
      const auto number = flag ? std::nullopt : ParseInt16(value);
      if (!flag && !number) return line.words[1] + " is true, false or a 16-bit number: " + Shown(value);
      return put([flag, number](Variant* v) {
        *v = flag ? Variant::Bool(*flag) : Variant::I2(*number);
        return S_OK;
      });
    }
    case ValueType::kI2: {
      const auto style = ParseInt16(value);
      if (!style)
        return line.words[1] +
               " is a 16-bit integer (-32768 to 32767, or &H and up to four hex digits): " + Shown(value);
      return put([n = *style](Variant* v) {
        *v = Variant::I2(n);
        return S_OK;
      });
    }
    case ValueType::kFont: {
      if (value == "none") return put([](Variant* v) { return FontArgument(nullptr, v); });
      FontDescription description;
      if (auto error = document::ParseFontJson(value, &description))
        return "Font is none or a JSON object such as {\"Name\":\"Arial\",\"Size\":12}: " + *error;
      // Every put builds a new font object; set Font.FIELD changes the one held.
      return put([description](Variant* v) {
        IFont* font = nullptr;
        JV_TRY(CreateStdFont(description, &font));
        const FontRef held = FontRef::Adopt(font);
        return FontArgument(held.get(), v);
      });
    }
    case ValueType::kBstr: {
      std::string error;
      const auto text = ParseTextArgument(value, &error);
      if (!text) return error;
      Text converted;
      if (FAILED(Utf8ToText(*text, &converted))) return "TEXT is not valid UTF-8";
      return put([converted](Variant* v) {
        *v = Variant::Str(converted);
        return S_OK;
      });
    }
    case ValueType::kVoid:
    case ValueType::kI4:
    case ValueType::kR4:
      break;
  }
  return usage;
}

// A get's value, as one line of JSON; a failing get first prints its status, then
// the empty value of the property's type.
ordered_json GetValue(Session& s, const MemberDesc& property) {
  Variant v;
  ReportStatus(s, GetProperty(s.form, property.id, &v));
  const VARIANT& raw = v.raw();
  switch (property.type) {
    case ValueType::kOleColor:
      return raw.vt == VT_I4 ? static_cast<OLE_COLOR>(raw.lVal) : OLE_COLOR{0};
    case ValueType::kBool:
      if (raw.vt != VT_BOOL) return false;
      if (raw.boolVal == VARIANT_TRUE || raw.boolVal == VARIANT_FALSE) return raw.boolVal == VARIANT_TRUE;
      return raw.boolVal;  // a field a document set to another number keeps it
    case ValueType::kI2:
      return raw.vt == VT_I2 ? raw.iVal : std::int16_t{0};
    case ValueType::kFont:
      return FontJson(FontOf(v).get());
    case ValueType::kBstr:
      if (raw.vt != VT_BSTR) return "";
      return ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(raw.bstrVal), SysStringLen(raw.bstrVal)));
    case ValueType::kVoid:
    case ValueType::kI4:
    case ValueType::kR4:
      break;
  }
  return nullptr;
}

// set Font.FIELD VALUE: one put on the font object itself, shared with whoever
// else holds it; the control is not told, as it would not be of a change made
// through any other reference.
std::optional<std::string> ParseSetFont(const ScriptLine& line, Action* run) {
  constexpr std::string_view kUsage =
      "usage: set Font.FIELD VALUE (FIELD: Name, Size, Bold, Italic, Underline, Strikethrough, Weight, "
      "Charset)";
  if (line.words.size() < 3 || !line.words[1].starts_with("Font.")) return std::string(kUsage);
  const std::string field = line.words[1].substr(5);
  const std::string& value = line.rest;
  std::function<HRESULT(IFont&)> change;
  if (field == "Name") {
    std::string error;
    const auto text = ParseTextArgument(value, &error);
    if (!text) return error;
    Text name;
    if (FAILED(Utf8ToText(*text, &name))) return "the name is not valid UTF-8";
    change = [name](IFont& f) {
      const Bstr b(name);
      return f.put_Name(b.get());
    };
  } else if (field == "Size") {
    const auto cy = document::FontSizeFromText(value);
    if (!cy)
      return "Size is in points, above 0 and at most " + document::FontSizeText(document::kMaxFontSizeCy) +
             ", with at most four decimals: " + Shown(value);
    change = [cy = *cy](IFont& f) { return f.put_Size(CY{cy}); };
  } else if (field == "Weight" || field == "Charset") {
    const auto n = ParseInt16(value);
    if (!n) return field + " is a 16-bit integer: " + Shown(value);
    if (field == "Weight")
      change = [n = *n](IFont& f) { return f.put_Weight(n); };
    else
      change = [n = *n](IFont& f) { return f.put_Charset(n); };
  } else if (field == "Bold" || field == "Italic" || field == "Underline" || field == "Strikethrough") {
    const auto flag = ParseFlag(value);
    if (!flag) return field + " is true or false: " + Shown(value);
    const BOOL b = *flag ? 1 : 0;
    if (field == "Bold") change = [b](IFont& f) { return f.put_Bold(b); };
    if (field == "Italic") change = [b](IFont& f) { return f.put_Italic(b); };
    if (field == "Underline") change = [b](IFont& f) { return f.put_Underline(b); };
    if (field == "Strikethrough") change = [b](IFont& f) { return f.put_Strikethrough(b); };
  } else {
    return std::string(kUsage);
  }
  *run = [change = std::move(change)](Session& s) -> std::optional<std::string> {
    Variant got;
    ReportStatus(s, GetProperty(s.form, jornavista::DISPID_Font, &got));
    const FontRef held = FontOf(got);
    if (!held) return "set: Font is none";
    ReportStatus(s, change(*held.get()));
    return std::nullopt;
  };
  return std::nullopt;
}

}  // namespace

std::vector<Command> PersistenceCommands() {
  std::vector<Command> c;
  c.push_back({"new", "new", "places a new instance on an empty form: its Initialize, then InitProperties",
               false, true, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 1) return "usage: new";
                 *run = [](Session& s) -> std::optional<std::string> {
                   s.placements.clear();
                   if (const HRESULT hr = s.form.CreateControl(); FAILED(hr))
                     return "new failed: " + StatusText(hr);
                   s.placements.push_back(Placement{DefaultName(0), 0, 0});
                   ReportStatus(s, InitNewCurrent(s.form), "InitProperties");
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"load", "load FILE",
               "replaces the form with the document FILE: each control is created (Initialize) and reads its "
               "properties (ReadProperties); a malformed document changes nothing; a document without "
               "controls leaves the form empty",
               false, true, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 2) return "usage: load FILE";
                 if (auto error = FileNameError(line.words[1])) return error;
                 *run = [path = line.words[1]](Session& s) { return LoadForm(s, path); };
                 return std::nullopt;
               }});
  c.push_back(
      {"save", "save FILE [--force]",
       "writes every instance's properties (WriteProperties) into a document and replaces FILE with it "
       "atomically; a failed save leaves FILE as it was. A read-only FILE is replaced only with --force "
       "(and stays read-only)",
       true, false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
         const bool force = line.words.size() == 3 && line.words[2] == "--force";
         if (line.words.size() != 2 && !force) return "usage: save FILE [--force]";
         if (auto error = FileNameError(line.words[1])) return error;
         const auto read_only = force ? document::ReadOnly::kReplace : document::ReadOnly::kRefuse;
         *run = [path = line.words[1], read_only](Session& s) { return SaveForm(s, path, read_only); };
         return std::nullopt;
       }});
  c.push_back({"select", "select NAME|N",
               "makes the control named NAME, or the Nth of the form, the current one", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 2) return "usage: select NAME|N";
                 *run = [which = line.words[1]](Session& s) -> std::optional<std::string> {
                   std::optional<std::size_t> index;
                   if (const auto n = ParseInteger(which);
                       n && *n >= 1 && *n <= static_cast<std::int64_t>(s.form.ControlCount()))
                     index = static_cast<std::size_t>(*n - 1);
                   for (std::size_t i = 0; !index && i < s.placements.size(); ++i)
                     if (s.placements[i].name == which) index = i;
                   if (!index) return "select: the form has no control " + Shown(which);
                   s.form.SelectControl(*index);
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back(
      {"put", "put NAME VALUE",
       "the host's put of a property through the control's dispatch interface: BackColor and ForeColor "
       "take a number or &H hex, Enabled true, false or a 16-bit number (any but 0 is true), BackStyle and "
       "BorderStyle a 16-bit integer, Font a JSON object such as "
       "{\"Name\":\"Arial\",\"Size\":12,\"Bold\":true} (a new font object) or none, SDate a text (a JSON "
       "string literal when it starts with a double quote, else the rest of the line)",
       true, false, ParsePut});
  c.push_back({"get", "get NAME", "prints a property's value as JSON on a line of its own", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 const MemberDesc* const property =
                     line.words.size() == 2 ? PropertyByName(line.words[1]) : nullptr;
                 if (property == nullptr)
                   return "usage: get NAME (NAME: " + housing::PropertyNameList() + ")";
                 *run = [property](Session& s) -> std::optional<std::string> {
                   const ordered_json value = GetValue(s, *property);
                   s.out << value.dump() << "\n";
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"refresh", "refresh", "calls the control's Refresh method", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 1) return "usage: refresh";
                 *run = [](Session& s) -> std::optional<std::string> {
                   ReportStatus(
                       s, CallMember(s.form, jornavista::DISPID_Refresh, DISPATCH_METHOD, nullptr, nullptr));
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"set", "set Font.FIELD VALUE",
               "changes the font object that Font holds, in place, shared with every holder: Name, Size "
               "(points), Bold, Italic, Underline, Strikethrough, Weight, Charset",
               true, false, ParseSetFont});
  return c;
}

}  // namespace jv::host
