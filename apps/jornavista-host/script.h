// The host's scripting language: one command a line, "#" starts a comment. A whole
// script is checked before any line runs, so a malformed line applies nothing.
#pragma once

#include <cstdio>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "apps/jornavista-host/form_driver.h"

namespace jv::host {

struct ScriptLine {
  int number = 0;
  std::vector<std::string> words;  // the command and its arguments, split at blanks
  std::string rest;                // everything after the command's first argument word
};

// What the host document says of an instance besides its properties: its name and
// where it sits on the form (twips).
struct Placement {
  std::string name;
  std::int32_t left = 0;
  std::int32_t top = 0;
};

struct Session {
  FormDriver& form;
  std::ostream& out;
  // One for each instance of the form, in the form's order, as the commands that
  // create instances leave them; save names any instance without one afresh.
  std::vector<Placement> placements = {};
};

// Runs a checked line; returns an error message to stop the script.
using Action = std::function<std::optional<std::string>(Session&)>;

struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view help;
  bool needs_instance = false;
  bool creates_instance = false;
  // Checks the arguments and prepares the action; returns an error message.
  std::function<std::optional<std::string>(const ScriptLine&, Action*)> parse;
};

// The commands of the calendar core (today, create, click, next, previous, key,
// fail, state).
std::vector<Command> CoreCommands();
// print: the month as a person reads it (apps/jornavista-host/month_picture.h).
Command PrintCommand();
// The commands of the properties and the host document (new, load, save, select,
// put/get NAME for SDate and the appearance properties, set Font.FIELD).
std::vector<Command> PersistenceCommands();
// The commands of the component library: register, unregister, invoke, typeinfo.
std::vector<Command> ComponentCommands();
// Every command the host knows.
const std::vector<Command>& AllCommands();

// The longest script read; a longer one (or a stream without end) is refused.
inline constexpr std::size_t kMaxScriptBytes = 16u << 20;

// Reads the whole of a script, so that a read error part-way cannot pass for its
// end: a message on failure. A script longer than kMaxScriptBytes is refused
// once one byte more has been read. A file must be a regular file or a pipe:
// a folder or a device is refused before it is opened.
[[nodiscard]] std::optional<std::string> ReadScript(std::FILE* in, std::string* text);
[[nodiscard]] std::optional<std::string> ReadScriptFile(const std::string& path, std::string* text);

// Checks and runs a script. Exit status: 0 done, 2 a malformed line (nothing of
// the script ran), 1 a line that failed while running.
int RunScript(std::istream& script, FormDriver& form, std::ostream& out, std::ostream& err);

void PrintCommandHelp(std::ostream& out);

// A member's failed status where the script goes on: "status 0x80020005", then
// ": context" when given, on a line of its own. Nothing for a success.
void ReportStatus(Session& s, HRESULT hr, std::string_view context = {});

}  // namespace jv::host
