#include "apps/jornavista-host/script.h"

#include <istream>
#include <ostream>

#include "apps/jornavista-host/script_values.h"

namespace jv::host {

void ReportStatus(Session& s, HRESULT hr, std::string_view context) {
  if (SUCCEEDED(hr)) return;
  s.out << "status " << StatusText(hr);
  if (!context.empty()) s.out << ": " << context;
  s.out << "\n";
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
