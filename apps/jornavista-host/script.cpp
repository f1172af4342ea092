#include "apps/jornavista-host/script.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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
  const Command* command;
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

// The line without its comment: a '#' outside a string literal starts one. A
// literal runs from a '"' to the next '"' that no backslash escapes; a quote that
// is never closed is an ordinary character. Blanks before the '#' are the
// caller's to trim: an unquoted value ends before " #".
std::string_view WithoutComment(std::string_view line) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#') return line.substr(0, i);
    if (line[i] != '"') continue;
    std::size_t close = i + 1;
    while (close < line.size() && line[close] != '"') close += line[close] == '\\' ? 2 : 1;
    if (close < line.size()) i = close;
  }
  return line;
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

std::optional<std::string> ReadScript(std::FILE* in, std::string* text) {
  text->clear();
  char buffer[64 * 1024];
  // One byte past the limit is enough to tell: a stream without end is not read on.
  while (text->size() <= kMaxScriptBytes) {
    const std::size_t n = std::fread(buffer, 1, std::min(sizeof buffer, kMaxScriptBytes + 1 - text->size()), in);
    text->append(buffer, n);
    if (n == 0 || std::feof(in) || std::ferror(in)) break;
  }
  if (std::ferror(in)) return std::string("cannot read the script: ") + std::strerror(errno);
  if (text->size() > kMaxScriptBytes) {
    text->clear();
    return "cannot read the script: it is too large (a script holds at most " + std::to_string(kMaxScriptBytes) +
           " bytes)";
  }
  return std::nullopt;
}

std::optional<std::string> ReadScriptFile(const std::string& path, std::string* text) {
  if (path.find('\0') != std::string::npos) return "a file name cannot hold a zero byte";
  // What the name leads to is looked at before it is opened: opening a device may
  // itself do something, and reading one may never end.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return std::string("cannot open the script: ") + std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return std::string("cannot read the script: it is a folder");
  if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode))
    return std::string("cannot read the script: it is neither a regular file nor a pipe");
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return std::string("cannot open the script: ") + std::strerror(errno);
  std::optional<std::string> error;
  // The name may have come to stand for something else in between.
  if (::fstat(::fileno(in), &st) != 0 || (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)))
    error = "cannot read the script: it is neither a regular file nor a pipe";
  else
    error = ReadScript(in, text);
  std::fclose(in);
  return error;
}

int RunScript(std::istream& script, FormDriver& form, std::ostream& out, std::ostream& err) {
  std::vector<CheckedLine> lines;
  bool have_instance = form.instance() != nullptr;
  std::string text;
  int number = 0;
  while (std::getline(script, text)) {
    ++number;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    const std::string_view view = WithoutComment(text);
    ScriptLine line{number, SplitWords(view), RestAfter(view, 2)};
    if (line.words.empty()) continue;
    const Command* command = nullptr;
    for (const Command& c : AllCommands())
      if (c.name == line.words[0]) command = &c;
    if (command == nullptr) {
      err << number << ": unknown command '" << Shown(line.words[0]) << "' (see --help)\n";
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
    lines.push_back({number, command, std::move(action)});
  }
  Session session{form, out};
  for (CheckedLine& line : lines) {
    // A document may leave the form empty, which only running the load can tell.
    std::optional<std::string> error;
    if (line.command->needs_instance && form.instance() == nullptr)
      error = std::string(line.command->name) + ": the form has no control";
    else
      error = line.action(session);
    if (error) {
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
