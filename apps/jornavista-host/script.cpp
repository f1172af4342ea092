#include "apps/jornavista-host/script.h"

#include <charconv>
#include <cstdio>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>

#include "apps/jornavista-host/com_object.h"
#include "platform/dates/calendar.h"

namespace jv::host {

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

std::string StatusText(HRESULT hr) { return Hex32(static_cast<std::uint32_t>(hr)); }

std::optional<std::string> ParseTextArgument(std::string_view text, std::string* error) {
  if (text.empty() || text.front() != '"') return std::string(text);
  const nlohmann::json parsed = nlohmann::json::parse(text, nullptr, false);
  if (parsed.is_discarded() || !parsed.is_string()) {
    *error = "not a JSON string literal: " + std::string(text);
    return std::nullopt;
  }
  return parsed.get<std::string>();
}

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> all = [] {
    std::vector<Command> commands = CoreCommands();
    for (Command& c : PersistenceCommands()) commands.push_back(std::move(c));
    for (Command& c : ComponentCommands()) commands.push_back(std::move(c));
    return commands;
  }();
  return all;
}

namespace {

struct CheckedLine {
  int number;
  Action action;
};

std::vector<std::string> SplitWords(std::string_view line) {
  std::vector<std::string> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

// What follows the first `skip` words of the line, leading blanks dropped.
std::string RestAfter(std::string_view line, std::size_t skip) {
  std::size_t i = 0;
  for (std::size_t w = 0; w < skip; ++w) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  std::string rest(line.substr(i));
  while (!rest.empty() && (rest.back() == '\r' || rest.back() == ' ' || rest.back() == '\t')) rest.pop_back();
  return rest;
}

}  // namespace

int RunScript(std::istream& script, FormDriver& form, std::ostream& out, std::ostream& err) {
  std::vector<CheckedLine> lines;
  bool have_instance = form.instance() != nullptr;
  std::string text;
  int number = 0;
  while (std::getline(script, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::string_view view = text;
    // "#" starts a comment, except inside a quoted text argument.
    const std::size_t hash = view.find('#');
    const std::size_t quote = view.find('"');
    if (hash != std::string_view::npos && (quote == std::string_view::npos || hash < quote))
      view = view.substr(0, hash);
    ScriptLine line{number, SplitWords(view), RestAfter(view, 2)};
    if (line.words.empty()) continue;
    const Command* command = nullptr;
    for (const Command& c : AllCommands())
      if (c.name == line.words[0]) command = &c;
    if (command == nullptr) {
      err << number << ": unknown command '" << line.words[0] << "' (see --help)\n";
      return 2;
    }
    if (command->needs_instance && !have_instance) {
      err << number << ": " << command->name << ": no control yet: run create first\n";
      return 2;
    }
    Action action;
    if (auto error = command->parse(line, &action)) {
      err << number << ": " << *error << "\n";
      return 2;
    }
    have_instance |= command->creates_instance;
    lines.push_back({number, std::move(action)});
  }
  Session session{form, out};
  for (CheckedLine& line : lines) {
    if (auto error = line.action(session)) {
      out.flush();
      err << line.number << ": " << *error << "\n";
      return 1;
    }
  }
  out.flush();
  return 0;
}

void PrintCommandHelp(std::ostream& out) {
  for (const Command& c : AllCommands()) {
    out << "  " << c.usage << "\n      " << c.help << "\n";
  }
}

}  // namespace jv::host
