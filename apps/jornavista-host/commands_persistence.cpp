// The scripting commands of the properties and the host document: new, load, save
// and select; put and get of SDate and the six appearance properties, and
// Refresh; set of a field of the shared font object. Members are reached by their
// published dispatch ids, persistence through IPersistPropertyBag over a bag of
// the host's document.
#include <ostream>

#include "apps/document/document_file.h"
#include "apps/jornavista-host/script.h"
#include "housing/jornavista_ids.h"
#include "platform/automation/font_disp.h"
#include "platform/automation/std_font.h"
#include "platform/automation/variant_conversions.h"
#include "platform/component/control_site.h"

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

DISPID DispatchIdOf(Property p) {
  switch (p) {
    case Property::kBackColor:
      return jornavista::DISPID_BackColor;
    case Property::kForeColor:
      return jornavista::DISPID_ForeColor;
    case Property::kEnabled:
      return jornavista::DISPID_Enabled;
    case Property::kFont:
      return jornavista::DISPID_Font;
    case Property::kBackStyle:
      return jornavista::DISPID_BackStyle;
    case Property::kBorderStyle:
      return jornavista::DISPID_BorderStyle;
    case Property::kSDate:
      return jornavista::DISPID_SDate;
  }
  return DISPID_UNKNOWN;
}

// One call of a member of the current instance through IDispatch::Invoke: a get
// or a method when `value` is null, else a put (by reference for an object).
HRESULT Call(FormDriver& form, DISPID id, WORD flags, const Variant* value, Variant* result) {
  IDispatch* const instance = form.instance();
  if (instance == nullptr) return E_UNEXPECTED;
  VARIANT arg;
  if (value != nullptr) arg = value->raw();  // Invoke does not own its arguments
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{value != nullptr ? &arg : nullptr, value != nullptr ? &named : nullptr,
                    value != nullptr ? 1u : 0u, value != nullptr ? 1u : 0u};
  return instance->Invoke(id, IID_NULL, 0x0409, flags, &params, result != nullptr ? result->put() : nullptr,
                          nullptr, nullptr);
}

HRESULT Put(FormDriver& form, Property p, const Variant& value) {
  return Call(form, DispatchIdOf(p), p == Property::kFont ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT,
              &value, nullptr);
}

HRESULT Get(FormDriver& form, Property p, Variant* result) {
  return Call(form, DispatchIdOf(p), DISPATCH_PROPERTYGET, nullptr, result);
}

// A font as the interface takes it: its dispatch face, or Nothing.
HRESULT FontArgument(IFont* font, Variant* out) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_DISPATCH;
  v.pdispVal = nullptr;
  if (font != nullptr) {
    IFontDisp* face = nullptr;
    JV_TRY(font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&face)));
    v.pdispVal = face;
  }
  *out = Variant::Attach(v);
  return S_OK;
}

// The font a get handed back (as its dispatch face or as the object), or null.
FontRef FontOf(const Variant& value) {
  FontRef font;
  if ((value.vt() == VT_DISPATCH || value.vt() == VT_UNKNOWN) && value.raw().punkVal != nullptr)
    (void)value.raw().punkVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()));
  return font;
}

// The host's IPropertyBag over one control's bag of the document. A read of a
// name the bag does not hold answers E_INVALIDARG, so the control's default
// stands in; writes that come with their default let the document leave
// defaults out. Every call goes through the document bag, so its fault check and
// its record of the last key see each one. The document bag is lent for one Load
// or Save: an instance that kept the bag past it gets E_UNEXPECTED.
class HostBag final : public IPropertyBag, public IPropertyBagDefaults {
 public:
  explicit HostBag(document::DocumentBag& bag) : bag_(&bag) {}
  void Detach() { bag_ = nullptr; }

  HRESULT QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (riid == IID_IUnknown || riid == IID_IPropertyBag)
      *object = static_cast<IPropertyBag*>(this);
    else if (riid == IID_IPropertyBagDefaults)
      *object = static_cast<IPropertyBagDefaults*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  HRESULT Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    if (name == nullptr || value == nullptr) return E_POINTER;
    if (bag_ == nullptr) return E_UNEXPECTED;
    const TextView key = Key(name);
    Variant stored;
    JV_TRY(bag_->ReadProperty(key, Variant::Empty().raw(), stored.put()));
    if (bag_->Find(key) == nullptr) return E_INVALIDARG;
    // A caller that names a type gets the value in it; an empty variant asks for
    // the value as stored.
    if (value->vt != VT_EMPTY) {
      Variant converted;
      JV_TRY(ChangeType(stored.raw(), value->vt, converted.put()));
      stored = std::move(converted);
    }
    VariantClear(value);
    *value = stored.Detach();
    return S_OK;
  }
  HRESULT Write(LPCOLESTR name, VARIANT* value) override {
    if (name == nullptr || value == nullptr) return E_POINTER;
    if (bag_ == nullptr) return E_UNEXPECTED;
    // Without a default the value is always kept: an error value equals nothing stored.
    return bag_->WriteProperty(Key(name), *value, Variant::Error(DISP_E_PARAMNOTFOUND).raw());
  }
  HRESULT WriteWithDefault(LPCOLESTR name, VARIANT* value, VARIANT* default_value) override {
    if (name == nullptr || value == nullptr || default_value == nullptr) return E_POINTER;
    if (bag_ == nullptr) return E_UNEXPECTED;
    return bag_->WriteProperty(Key(name), *value, *default_value);
  }

 private:
  ~HostBag() = default;
  static TextView Key(LPCOLESTR name) { return TextView(reinterpret_cast<const char16_t*>(name)); }

  document::DocumentBag* bag_;
  ULONG refs_ = 1;
};

// The current instance's IPersistPropertyBag.
HRESULT Persistence(FormDriver& form, ComPtr<IPersistPropertyBag>* out) {
  IDispatch* const instance = form.instance();
  if (instance == nullptr) return E_UNEXPECTED;
  return instance->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(out->put()));
}

// Load or Save of the current instance with `bag`.
HRESULT WithBag(FormDriver& form, document::DocumentBag& bag, bool load) {
  ComPtr<IPersistPropertyBag> persist;
  JV_TRY(Persistence(form, &persist));
  const ComPtr<HostBag> host_bag = ComPtr<HostBag>::Adopt(new HostBag(bag));
  const HRESULT hr = load ? persist->Load(host_bag.get(), nullptr) : persist->Save(host_bag.get(), 1, 1);
  host_bag->Detach();
  return hr;
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
    if (const HRESULT hr = WithBag(s.form, c.properties, true); FAILED(hr))
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
  IDispatch* const current = s.form.instance();
  document::FormDocument form;
  std::optional<std::string> error;
  for (std::size_t i = 0; i < count && !error; ++i) {
    s.form.SelectControl(i);
    document::ControlRecord c;
    c.class_name = kClassName;
    if (placed) {
      c.name = s.placements[i].name;
      c.left = s.placements[i].left;
      c.top = s.placements[i].top;
    } else {
      c.name = DefaultName(i);
    }
    if (FAILED(s.form.ControlSize(&c.width, &c.height))) {
      error = not_saved + "the size of " + Quoted(c.name) + " cannot be read";
      break;
    }
    c.properties.SetFaultCheck(BagFaults(s.form));
    if (const HRESULT hr = WithBag(s.form, c.properties, false); FAILED(hr)) {
      error = not_saved + "WriteProperties of " + Quoted(c.name) + " stopped at " +
              Quoted(ToUtf8Lossy(c.properties.last_key())) + ": " + StatusText(hr);
      break;
    }
    c.properties.SetFaultCheck(nullptr);
    form.controls.push_back(std::move(c));
  }
  for (std::size_t i = 0; i < count; ++i) {
    s.form.SelectControl(i);
    if (s.form.instance() == current) break;
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
  const Property p = *property;
  // The value as the put passes it; built when the line runs, as a font is a new object each time.
  const auto put = [run, p](std::function<HRESULT(Variant*)> make) {
    *run = [p, make = std::move(make)](Session& s) -> std::optional<std::string> {
      Variant v;
      HRESULT hr = make(&v);
      if (SUCCEEDED(hr)) hr = Put(s.form, p, v);
      ReportStatus(s, hr);
      return std::nullopt;
    };
    return std::nullopt;
  };
  switch (p) {
    case Property::kBackColor:
    case Property::kForeColor: {
      const auto color = ParseColor(value);
      if (!color) return line.words[1] + " is a colour: a number, or &H and up to eight hex digits: " + value;
      // The colour's bit pattern travels as a 32-bit integer.
      return put([c = static_cast<std::int32_t>(*color)](Variant* v) {
        *v = Variant::I4(c);
        return S_OK;
      });
    }
    case Property::kEnabled: {
      const auto flag = ParseFlag(value);
      const auto number = flag ? std::nullopt : ParseInt16(value);
      if (!flag && !number) return "Enabled is true, false or a 16-bit number: " + value;
      return put([flag, number](Variant* v) {
        *v = flag ? Variant::Bool(*flag) : Variant::I2(*number);
        return S_OK;
      });
    }
    case Property::kBackStyle:
    case Property::kBorderStyle: {
      const auto style = ParseInt16(value);
      if (!style)
        return line.words[1] +
               " is a 16-bit integer (-32768 to 32767, or &H and up to four hex digits): " + value;
      return put([n = *style](Variant* v) {
        *v = Variant::I2(n);
        return S_OK;
      });
    }
    case Property::kFont: {
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
    case Property::kSDate: {
      std::string error;
      const auto text = ParseTextArgument(value, &error);
      if (!text) return error;
      Text sdate;
      if (FAILED(Utf8ToText(*text, &sdate))) return "TEXT is not valid UTF-8";
      return put([sdate](Variant* v) {
        *v = Variant::Str(sdate);
        return S_OK;
      });
    }
  }
  return std::string(kUsage);
}

// A get's value, as one line of JSON; a failing get first prints its status, then
// the empty value of the property's type.
ordered_json GetValue(Session& s, Property property) {
  Variant v;
  const HRESULT hr = Get(s.form, property, &v);
  ReportStatus(s, hr);
  const VARIANT& raw = v.raw();
  switch (property) {
    case Property::kBackColor:
    case Property::kForeColor:
      return raw.vt == VT_I4 ? static_cast<OLE_COLOR>(raw.lVal) : OLE_COLOR{0};
    case Property::kEnabled:
      if (raw.vt != VT_BOOL) return false;
      if (raw.boolVal == VARIANT_TRUE || raw.boolVal == VARIANT_FALSE) return raw.boolVal == VARIANT_TRUE;
      return raw.boolVal;  // a field a document set to another number keeps it
    case Property::kBackStyle:
    case Property::kBorderStyle:
      return raw.vt == VT_I2 ? raw.iVal : std::int16_t{0};
    case Property::kFont:
      return FontJson(FontOf(v).get());
    case Property::kSDate:
      if (raw.vt != VT_BSTR) return "";
      return ToUtf8Lossy(TextView(reinterpret_cast<const char16_t*>(raw.bstrVal), SysStringLen(raw.bstrVal)));
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
    Variant got;
    ReportStatus(s, Get(s.form, Property::kFont, &got));
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
                   ComPtr<IPersistPropertyBag> persist;
                   HRESULT hr = Persistence(s.form, &persist);
                   if (SUCCEEDED(hr)) hr = persist->InitNew();
                   ReportStatus(s, hr, "InitProperties");
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
       "the host's put of a property through the control's dispatch interface: BackColor and ForeColor "
       "take a number or &H hex, Enabled true, false or a 16-bit number (any but 0 is true), BackStyle and "
       "BorderStyle a 16-bit integer, Font a JSON object such as "
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
  c.push_back({"refresh", "refresh", "calls the control's Refresh method", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (line.words.size() != 1) return "usage: refresh";
                 *run = [](Session& s) -> std::optional<std::string> {
                   ReportStatus(s,
                                Call(s.form, jornavista::DISPID_Refresh, DISPATCH_METHOD, nullptr, nullptr));
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
