// The scripting commands of the calendar core: the clock, creation, the user's
// clicks and keys, fault injection and the state dump. SDate's put and get are
// with the other properties' in commands_persistence.cpp.
#include <cctype>
#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/jornavista-host/font_json.h"
#include "apps/jornavista-host/script.h"
#include "apps/jornavista-host/script_values.h"
#include "housing/control_state.h"
#include "platform/headless/fault_injector.h"

namespace jv::host {

namespace {

using nlohmann::ordered_json;

std::optional<std::string> ExpectWords(const ScriptLine& line, std::size_t min, std::size_t max,
                                       std::string_view usage) {
  const std::size_t args = line.words.size() - 1;
  if (args < min || args > max) return "usage: " + std::string(usage);
  return std::nullopt;
}

// The number a line may give as its word `index`: *out keeps its value when the
// line is shorter; a message when the word is not a number from lo to hi.
std::optional<std::string> OptionalNumber(const ScriptLine& line, std::size_t index, std::int64_t lo,
                                          std::int64_t hi, std::string_view what, std::int64_t* out) {
  if (line.words.size() <= index) return std::nullopt;
  const auto n = ParseInteger(line.words[index]);
  if (!n || *n < lo || *n > hi) return std::string(what) + ": " + Shown(line.words[index]);
  *out = *n;
  return std::nullopt;
}

// Key names a script may use, with their virtual-key codes.
std::optional<std::int16_t> KeyCodeOf(std::string_view word) {
  static constexpr std::pair<std::string_view, std::int16_t> kNames[] = {
      {"Up", 38},       {"Down", 40}, {"Left", 37}, {"Right", 39}, {"PageUp", 33},
      {"PageDown", 34}, {"Home", 36}, {"End", 35},  {"Enter", 13}, {"Tab", 9},
  };
  for (const auto& [name, code] : kNames)
    if (word == name) return code;
  if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0])))
    return static_cast<std::int16_t>(std::toupper(static_cast<unsigned char>(word[0])));
  if (const auto n = ParseInteger(word); n && *n >= INT16_MIN && *n <= INT16_MAX)
    return static_cast<std::int16_t>(*n);
  return std::nullopt;
}

// The state record comes as a copy through the instance's diagnostic face.
HRESULT StateJson(FormDriver& form, ordered_json* out) {
  ComPtr<IControlState> source;
  JV_TRY(form.instance()->QueryInterface(IID_IControlState, reinterpret_cast<void**>(source.put())));
  control::State s;
  JV_TRY(source->GetState(&s));
  ordered_json& j = *out;
  j["m_SelCell"] = s.m_SelCell;
  j["m_LastCell"] = s.m_LastCell;
  j["m_FirstCell"] = s.m_FirstCell;
  j["m_StartDayText"] = ToUtf8Lossy(s.m_StartDayText);
  j["m_MonthStart"] = IsoDate(s.m_MonthStart);
  j["m_CurDate"] = IsoDate(s.m_CurDate);
  j["m_SelDate"] = IsoDate(s.m_SelDate);
  j["m_BackColor"] = s.m_BackColor;
  j["m_ForeColor"] = s.m_ForeColor;
  j["m_Enabled"] = s.m_Enabled != VARIANT_FALSE;
  j["m_Font"] = FontJson(s.m_Font.get());
  j["m_BackStyle"] = s.m_BackStyle;
  j["m_BorderStyle"] = s.m_BorderStyle;
  ordered_json cells = ordered_json::array();
  for (std::int16_t i = 1; i <= form.CellCount(); ++i) {
    const CellView cell = form.Cell(i);
    cells.push_back({{"caption", ToUtf8Lossy(cell.caption)}, {"fore", cell.fore}, {"back", cell.back}});
  }
  j["cells"] = std::move(cells);
  j["txtYear"] = ToUtf8Lossy(form.YearText());
  j["txtDate"] = ToUtf8Lossy(form.DateText());
  if (const auto focus = form.Focus())
    j["focus"] = *focus;
  else
    j["focus"] = nullptr;
  j["changed"] = form.TakeChanged();
  return S_OK;
}

// A user action whose handler's status goes back to the runtime, not the script.
Action UserAction(std::function<HRESULT(FormDriver&)> act) {
  return [act = std::move(act)](Session& s) -> std::optional<std::string> {
    (void)act(s.form);
    return std::nullopt;
  };
}

}  // namespace

std::vector<Command> CoreCommands() {
  std::vector<Command> c;
  c.push_back({"today", "today YYYY-MM-DD", "sets the runtime's clock, read by the next create", false, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 1, 1, "today YYYY-MM-DD")) return e;
                 const auto date = ParseIsoDate(line.words[1]);
                 if (!date) return "not a date from 0100-01-01 to 9999-12-31: " + Shown(line.words[1]);
                 *run = [d = *date](Session& s) -> std::optional<std::string> {
                   s.form.SetToday(d);
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"create", "create", "creates an instance of the control (its Initialize runs)", false, true,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 0, 0, "create")) return e;
                 *run = [](Session& s) -> std::optional<std::string> {
                   s.placements.clear();
                   if (const HRESULT hr = s.form.CreateControl(); FAILED(hr))
                     return "create failed: " + StatusText(hr);
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back({"click", "click N", "the user clicks day cell N (1 to 42)", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 1, 1, "click N")) return e;
                 const auto n = ParseInteger(line.words[1]);
                 if (!n || *n < 1 || *n > 42)
                   return "no day cell " + Shown(line.words[1]) + ": cells are 1 to 42";
                 *run = UserAction(
                     [i = static_cast<std::int16_t>(*n)](FormDriver& f) { return f.ClickCell(i); });
                 return std::nullopt;
               }});
  c.push_back({"next", "next", "the user clicks \">>\"", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 0, 0, "next")) return e;
                 *run = UserAction([](FormDriver& f) { return f.ClickNext(); });
                 return std::nullopt;
               }});
  c.push_back({"previous", "previous", "the user clicks \"<<\"", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 0, 0, "previous")) return e;
                 *run = UserAction([](FormDriver& f) { return f.ClickPrevious(); });
                 return std::nullopt;
               }});
  c.push_back({"key", "key CODE [SHIFT]",
               "a key press reaching Picture1; CODE is a number, a letter or digit, or one of Up, Down, "
               "Left, Right, PageUp, PageDown, Home, End, Enter, Tab",
               true, false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 1, 2, "key CODE [SHIFT]")) return e;
                 const auto code = KeyCodeOf(line.words[1]);
                 if (!code) return "not a key: " + Shown(line.words[1]);
                 std::int64_t shift = 0;
                 if (auto e =
                         OptionalNumber(line, 2, 0, 7, "SHIFT is 0 to 7 (1 Shift, 2 Ctrl, 4 Alt)", &shift))
                   return e;
                 *run = UserAction([k = *code, s = static_cast<std::int16_t>(shift)](FormDriver& f) {
                   return f.PressKey(k, s);
                 });
                 return std::nullopt;
               }});
  c.push_back({"fail", "fail OPERATION [N]",
               "makes a runtime operation fail: on every call, or only on its Nth call from now", false,
               false, [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 1, 2, "fail OPERATION [N]")) return e;
                 if (!headless::OperationByName(line.words[1]))
                   return "unknown operation '" + Shown(line.words[1]) + "' (see --help)";
                 constexpr std::int64_t kMaxCallCount = 1000000;
                 std::int64_t nth = 0;  // every call
                 if (auto e = OptionalNumber(line, 2, 1, kMaxCallCount, "N is a call count from 1", &nth))
                   return e;
                 *run = [op = line.words[1], nth](Session& s) -> std::optional<std::string> {
                   return s.form.ArmFault(op, static_cast<std::uint32_t>(nth));
                 };
                 return std::nullopt;
               }});
  c.push_back({"state", "state", "prints the whole state as one line of JSON", true, false,
               [](const ScriptLine& line, Action* run) -> std::optional<std::string> {
                 if (auto e = ExpectWords(line, 0, 0, "state")) return e;
                 *run = [](Session& s) -> std::optional<std::string> {
                   ordered_json j;
                   if (const HRESULT hr = StateJson(s.form, &j); FAILED(hr))
                     return "state: the instance gives no state record: " + StatusText(hr);
                   s.out << j.dump() << "\n";
                   return std::nullopt;
                 };
                 return std::nullopt;
               }});
  c.push_back(PrintCommand());
  return c;
}

}  // namespace jv::host
