// The scripting commands of the properties and the host document: new, load, save
// and select; put and get of SDate and the six appearance properties; set of a
// field of the shared font object.
#include <ostream>

#include "apps/document/document_file.h"
#include "apps/jornavista-host/script.h"
#include "platform/automation/std_font.h"

namespace jv::host {

namespace {

using nlohmann::ordered_json;

constexpr std::string_view kClassName = "ctrJornavista";

enum class Property { kBackColor, kForeColor, kEnabled, kFont, kBackStyle, kBorderStyle, kSDate };

constexpr std::pair<std::string_view, Property> kProperties[] = {
    {"BackColor", Property::kBackColor}, {"ForeColor", Property::kForeColor},
    {"Enabled", Property::kEnabled},     {"Font", Property::kFont},
    {"BackStyle", Property::kBackStyle}, {"BorderStyle", Property::kBorderStyle},
    {"SDate", Property::kSDate},
};

std::optional<Property> PropertyByName(std::string_view name) {
  for (const auto& [n, p] : kProperties)
    if (n == name) return p;
  return std::nullopt;
}

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

// A colour in decimal (a negative number is its 32-bit pattern) or as "&H80000005".
std::optional<OLE_COLOR> ParseColor(std::string_view text) {
  if (const auto hex = ParseHex(text, 8)) return static_cast<OLE_COLOR>(*hex);
  const auto n = ParseInteger(text);
  if (!n || *n < INT32_MIN || *n > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
  return static_cast<OLE_COLOR>(static_cast<std::uint32_t>(*n));
}

// A 16-bit integer in decimal or as a 16-bit pattern ("&HFFFF" is -1).
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

// True and False, or any 16-bit number, which the field keeps as it is.
std::optional<VARIANT_BOOL> ParseEnabled(std::string_view text) {
  if (const auto flag = ParseFlag(text)) return *flag ? VARIANT_TRUE : VARIANT_FALSE;
  return ParseInt16(text);
}

// A member's status where the script goes on: a line of its own.
void ReportStatus(Session& s, HRESULT hr, std::string_view context = {}) {
  if (SUCCEEDED(hr)) return;
  s.out << "status " << StatusText(hr);
  if (!context.empty()) s.out << ": " << context;
  s.out << "\n";
}

document::DocumentBag::FaultCheck BagFaults(FormDriver& form) {
  return [&form](document::BagOperation op) {
    return form.ContainerFault(op == document::BagOperation::kRead ? "bag.ReadProperty"
                                                                   : "bag.WriteProperty");
  };
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  return quoted.append(1, '"').append(text).append(1, '"');
}

std::string DefaultName(std::size_t index) { return std::string(kClassName) + std::to_string(index + 1); }

// A file name is one word of the line.
std::optional<std::string> FileArgument(const ScriptLine& line, std::string_view usage) {
  if (line.words.size() != 2) return "usage: " + std::string(usage);
  return std::nullopt;
}

std::optional<std::string> Load(Session& s, const std::string& path) {
  document::FormDocument form;
  if (auto error = document::LoadDocument(path, &form)) return error;
  if (form.controls.empty()) return path + ": the document holds no control";
  for (const document::ControlRecord& c : form.controls)
    if (c.class_name != kClassName)
      return path + ":" + std::to_string(c.line) + ": control " + Quoted(c.name) + " is of class " +
             Quoted(c.class_name) + "; this host creates " + std::string(kClassName) + " only";

  // The whole document is checked: only now does the form change.
  s.form.ClearControls();
  s.placements.clear();
  for (document::ControlRecord& c : form.controls) {
    if (const HRESULT hr = s.form.AddControl(); FAILED(hr)) {
      s.form.ClearControls();
      s.placements.clear();
      return path + ": creating control " + Quoted(c.name) + " failed: " + StatusText(hr);
    }
    s.placements.push_back(Placement{c.name, c.left, c.top});
    c.properties.SetFaultCheck(BagFaults(s.form));
    // A value that cannot be converted leaves the instance as ReadProperties left it.
    if (const HRESULT hr = s.form.control()->ReadProperties(c.properties); FAILED(hr))
      ReportStatus(s, hr,
                   "ReadProperties of " + Quoted(c.name) + " stopped at " +
                       Quoted(ToUtf8Lossy(c.properties.last_key())));
  }
  s.form.SelectControl(0);
  return std::nullopt;
}

std::optional<std::string> Save(Session& s, const std::string& path) {
  const std::string not_saved = path + ": not saved (the previous document is unchanged): ";
  const std::size_t count = s.form.ControlCount();
  const bool placed = s.placements.size() == count;
  control::ctrJornavista* const current = s.form.control();
  document::FormDocument form;
  std::optional<std::string> error;
  for (std::size_t i = 0; i < count && !error; ++i) {
    s.form.SelectControl(i);
    control::ctrJornavista* ctl = s.form.control();
    document::ControlRecord c;
    c.class_name = kClassName;
    if (placed) {
      c.name = s.placements[i].name;
      c.left = s.placements[i].left;
      c.top = s.placements[i].top;
    } else {
      c.name = DefaultName(i);
    }
    platform::Surface& surface = ctl->face().UserControl();
    if (FAILED(surface.get_Width(&c.width)) || FAILED(surface.get_Height(&c.height))) {
      error = not_saved + "the size of " + Quoted(c.name) + " cannot be read";
      break;
    }
    c.properties.SetFaultCheck(BagFaults(s.form));
    if (const HRESULT hr = ctl->WriteProperties(c.properties); FAILED(hr)) {
      error = not_saved + "WriteProperties of " + Quoted(c.name) + " stopped at " +
              Quoted(ToUtf8Lossy(c.properties.last_key())) + ": " + StatusText(hr);
      break;
    }
    c.properties.SetFaultCheck(nullptr);
    form.controls.push_back(std::move(c));
  }
  for (std::size_t i = 0; i < count; ++i) {
    s.form.SelectControl(i);
    if (s.form.control() == current) break;
  }
  if (error) return error;
  if (!placed) {
    s.placements.clear();
    for (const document::ControlRecord& c : form.controls)
      s.placements.push_back(Placement{c.name, c.left, c.top});
  }
  return document::SaveDocument(path, form);
}

std::optional<std::string> ParsePut(const ScriptLine& line, Action* run) {
  constexpr std::string_view kUsage =
      "usage: put NAME VALUE (NAME: BackColor, ForeColor, Enabled, Font, "
      "BackStyle, BorderStyle, SDate)";
  const auto property = line.words.size() >= 2 ? PropertyByName(line.words[1]) : std::nullopt;
  if (!property) return std::string(kUsage);
  const std::string& value = line.rest;
  if (*property != Property::kSDate && value.empty()) return std::string(kUsage);
  const auto put = [run](std::function<HRESULT(control::ctrJornavista&)> member) {
    *run = [member = std::move(member)](Session& s) -> std::optional<std::string> {
      ReportStatus(s, member(*s.form.control()));
      return std::nullopt;
    };
    return std::nullopt;
  };
  switch (*property) {
    case Property::kBackColor:
    case Property::kForeColor: {
      const auto color = ParseColor(value);
      if (!color) return line.words[1] + " is a colour: a number, or &H and up to eight hex digits: " + value;
      if (*property == Property::kBackColor)
        return put([c = *color](control::ctrJornavista& ctl) { return ctl.put_BackColor(c); });
      return put([c = *color](control::ctrJornavista& ctl) { return ctl.put_ForeColor(c); });
    }
    case Property::kEnabled: {
      const auto enabled = ParseEnabled(value);
      if (!enabled) return "Enabled is true, false or a 16-bit number: " + value;
      return put([e = *enabled](control::ctrJornavista& ctl) { return ctl.put_Enabled(e); });
    }
    case Property::kBackStyle:
    case Property::kBorderStyle: {
      const auto style = ParseInt16(value);
      if (!style)
        return line.words[1] +
               " is a 16-bit integer (-32768 to 32767, or &H and up to four hex digits): " + value;
      if (*property == Property::kBackStyle)
        return put([v = *style](control::ctrJornavista& ctl) { return ctl.put_BackStyle(v); });
      return put([v = *style](control::ctrJornavista& ctl) { return ctl.put_BorderStyle(v); });
    }
    case Property::kFont: {
      if (value == "none") return put([](control::ctrJornavista& ctl) { return ctl.putref_Font(nullptr); });
      FontDescription description;
      if (auto error = document::ParseFontJson(value, &description))
        return "Font is none or a JSON object such as {\"Name\":\"Arial\",\"Size\":12}: " + *error;
      // Every put builds a new font object; set Font.FIELD changes the one held.
      return put([description](control::ctrJornavista& ctl) {
        IFont* font = nullptr;
        if (const HRESULT hr = CreateStdFont(description, &font); FAILED(hr)) return hr;
        const FontRef held = FontRef::Adopt(font);
        return ctl.putref_Font(held.get());
      });
    }
    case Property::kSDate: {
      std::string error;
      const auto text = ParseTextArgument(value, &error);
      if (!text) return error;
      Text sdate;
      if (FAILED(Utf8ToText(*text, &sdate))) return "TEXT is not valid UTF-8";
      return put([sdate](control::ctrJornavista& ctl) { return ctl.put_SDate(sdate); });
    }
  }
  return std::string(kUsage);
}

// A get's value, as one line of JSON; a failing get first prints its status.
ordered_json GetValue(Session& s, Property property) {
  control::ctrJornavista& ctl = *s.form.control();
  switch (property) {
    case Property::kBackColor:
    case Property::kForeColor: {
      OLE_COLOR c = 0;
      ReportStatus(s, property == Property::kBackColor ? ctl.get_BackColor(&c) : ctl.get_ForeColor(&c));
      return c;
    }
    case Property::kEnabled: {
      VARIANT_BOOL e = VARIANT_FALSE;
      ReportStatus(s, ctl.get_Enabled(&e));
      if (e == VARIANT_TRUE || e == VARIANT_FALSE) return e == VARIANT_TRUE;
      return e;  // a field the host set to another number keeps it
    }
    case Property::kBackStyle:
    case Property::kBorderStyle: {
      std::int16_t v = 0;
      ReportStatus(s, property == Property::kBackStyle ? ctl.get_BackStyle(&v) : ctl.get_BorderStyle(&v));
      return v;
    }
    case Property::kFont: {
      IFont* font = nullptr;
      ReportStatus(s, ctl.get_Font(&font));
      const FontRef held = FontRef::Adopt(font);
      return FontJson(held.get());
    }
    case Property::kSDate: {
      Text value;
      ReportStatus(s, ctl.get_SDate(&value));
      return ToUtf8Lossy(value);
    }
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
    if (!cy) return "Size is in points, above 0, with at most four decimals: " + value;
    change = [cy = *cy](IFont& f) { return f.put_Size(CY{cy}); };
  } else if (field == "Weight" || field == "Charset") {
    const auto n = ParseInt16(value);
    if (!n) return field + " is a 16-bit integer: " + value;
    if (field == "Weight")
      change = [n = *n](IFont& f) { return f.put_Weight(n); };
    else
      change = [n = *n](IFont& f) { return f.put_Charset(n); };
  } else if (field == "Bold" || field == "Italic" || field == "Underline" || field == "Strikethrough") {
    const auto flag = ParseFlag(value);
    if (!flag) return field + " is true or false: " + value;
    const BOOL b = *flag ? 1 : 0;
    if (field == "Bold") change = [b](IFont& f) { return f.put_Bold(b); };
    if (field == "Italic") change = [b](IFont& f) { return f.put_Italic(b); };
    if (field == "Underline") change = [b](IFont& f) { return f.put_Underline(b); };
    if (field == "Strikethrough") change = [b](IFont& f) { return f.put_Strikethrough(b); };
  } else {
    return std::string(kUsage);
  }
  *run = [change = std::move(change)](Session& s) -> std::optional<std::string> {
    IFont* font = nullptr;
    ReportStatus(s, s.form.control()->get_Font(&font));
    const FontRef held = FontRef::Adopt(font);
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
                   ReportStatus(s, s.form.control()->InitProperties(), "InitProperties");
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"load", "load FILE",
               "replaces the form with the document FILE: each control is created (Initialize) and reads its "
               "properties (ReadProperties); a malformed document changes nothing",
               false, true, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = FileArgument(line, "load FILE")) return e;
                 *run = [path = line.words[1]](Session& s) { return Load(s, path); };
                 return std::nullopt;
               }});
  c.push_back(
      {"save", "save FILE",
       "writes every instance's properties (WriteProperties) into a document and replaces FILE with it "
       "atomically; a failed save leaves FILE as it was",
       true, false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
         if (auto e = FileArgument(line, "save FILE")) return e;
         *run = [path = line.words[1]](Session& s) { return Save(s, path); };
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
                   if (!index) return "select: the form has no control " + which;
                   s.form.SelectControl(*index);
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back(
      {"put", "put NAME VALUE",
       "the host's put of a property: BackColor and ForeColor take a number or &H hex, Enabled true, "
       "false or a number, BackStyle and BorderStyle a 16-bit integer, Font a JSON object such as "
       "{\"Name\":\"Arial\",\"Size\":12,\"Bold\":true} (a new font object) or none, SDate a text (a JSON "
       "string literal when it starts with a double quote, else the rest of the line)",
       true, false, ParsePut});
  c.push_back({"get", "get NAME", "prints a property's value as JSON on a line of its own", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 const auto property = line.words.size() == 2 ? PropertyByName(line.words[1]) : std::nullopt;
                 if (!property)
                   return "usage: get NAME (NAME: BackColor, ForeColor, Enabled, Font, BackStyle, "
                          "BorderStyle, SDate)";
                 *run = [p = *property](Session& s) -> std::optional<std::string> {
                   const ordered_json value = GetValue(s, p);
                   s.out << value.dump() << "\n";
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

ordered_json FontJson(IFont* font) {
  if (font == nullptr) return nullptr;
  FontDescription description;
  if (const HRESULT hr = DescribeFont(font, &description); FAILED(hr)) return {{"error", StatusText(hr)}};
  ordered_json j;
  if (auto error = document::FontToJson(description, &j)) return {{"error", *error}};
  return j;
}

}  // namespace jv::host
