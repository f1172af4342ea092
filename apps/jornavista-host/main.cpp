// jornavista-host: a container of the control, which it reaches only through the
// component library. With a script (a file, or standard input) it drives
// instances on the headless runtime and prints what it asks; `show` and `render`
// put the control in a real window.
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "apps/jornavista-host/form_library.h"
#include "apps/jornavista-host/script.h"
#include "housing/jornavista_ids.h"
#include "platform/headless/fault_injector.h"
#ifdef JV_HAS_WINDOW
#include "apps/jornavista-host/window.h"
#endif

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: jornavista-host [--library FILE|PROGID] [SCRIPT]\n"
         "       jornavista-host --version\n";
#ifdef JV_HAS_WINDOW
  jv::host::PrintWindowUsage(out);
#endif
  out << "Runs SCRIPT (or standard input) against instances of ctrJornavista on the headless\n"
         "runtime, one command a line. A '#' outside a \"JSON string literal\" starts a comment;\n"
         "inside one it is text, and an unquoted value ends before the comment. The whole\n"
         "script is read and checked before any line runs: a script that cannot be read (a\n"
         "folder, a device, a read error) or holds a zero byte in a file name runs nothing; a\n"
         "script is a regular file or a pipe (or standard input) of at most "
      << jv::host::kMaxScriptBytes << " bytes.\n\n";
  out << "The control comes from its component library, chosen in this order:\n"
         "  --library FILE|PROGID  a library file (a name with a '/', or ending in .ocx or .so),\n"
         "                         or a programmatic identifier looked up in the registry store\n"
         "                         (JV_REGISTRY_FILE overrides where it is)\n";
  out << "  $" << jv::host::kLibraryVariable << "    the same, from the environment\n";
  out << "  otherwise              Jornavista.ocx in the host's own directory, else the one the\n"
         "                         build tree puts beside it (../../housing/Jornavista.ocx)\n"
         "The class's programmatic identifier is "
      << jornavista::kProgId << ".\n";
  out << "A library that cannot be loaded ends the host with status 1 before anything runs.\n\ncommands:\n";
  jv::host::PrintCommandHelp(out);
  out << "\noperations for fail (headless only):\n ";
  for (std::size_t i = 0; i < jv::headless::kOperationCount; ++i)
    out << " " << jv::headless::OperationName(static_cast<jv::headless::Operation>(i));
  out << "\n\nexample:\n"
         "  today 2003-11-09     # the runtime's clock\n"
         "  create               # a new instance starts on today's month\n"
         "  click 20             # the user clicks day cell 20 (it shows 14)\n"
         "  put SDate \"any text\" # the host's put\n"
         "  get SDate            # prints \"any text\"\n"
         "  put Font {\"Name\":\"Arial\",\"Size\":12} # a new font object\n"
         "  set Font.Name \"Courier New\" # the same object, changed in place\n"
         "  state                # the whole state as one line of JSON\n";
  out << "\nexit status: 0 done; 1 a line failed while running, or no library; 2 a malformed\n"
         "script or bad arguments (nothing ran)\n";
}

}  // namespace

int main(int argc, char** argv) {
  // --library may stand anywhere; what is left are the subcommand and its arguments.
  std::optional<std::string> library_option;
  std::vector<char*> args{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--library") {
      if (i + 1 >= argc) {
        std::cerr << "--library needs a library file or a programmatic identifier\n";
        return 2;
      }
      library_option = argv[++i];
    } else if (arg.starts_with("--library=")) {
      library_option = std::string(arg.substr(10));
    } else {
      args.push_back(argv[i]);
    }
  }
  if (library_option && library_option->empty()) {
    std::cerr << "--library is empty: give a library file or a programmatic identifier\n";
    return 2;
  }
  const int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  if (count > 1 && (std::string_view(args[1]) == "--help" || std::string_view(args[1]) == "-h")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (count > 1 && std::string_view(args[1]) == "--version") {
    std::cout << "jornavista-host " JV_VERSION "\n";
    return 0;
  }
  const std::string library = jv::host::ChooseLibrary(library_option);
  if (count > 1 && (std::string_view(args[1]) == "show" || std::string_view(args[1]) == "render")) {
#ifdef JV_HAS_WINDOW
    if (std::string_view(args[1]) == "show")
      return jv::host::RunShow(argv[0], count - 1, args.data() + 1, library, std::cout, std::cerr);
    return jv::host::RunRender(argv[0], count - 1, args.data() + 1, library, std::cout, std::cerr);
#else
    std::cerr << args[1] << ": this build has no window (configure with -DJV_BUILD_QT=ON)\n";
    return 2;
#endif
  }
  if (count > 2) {
    PrintUsage(std::cerr);
    return 2;
  }
  std::string script;
  const bool from_file = count == 2 && std::string_view(args[1]) != "-";
  if (from_file) {
    if (auto error = jv::host::ReadScriptFile(args[1], &script)) {
      std::cerr << args[1] << ": " << *error << "\n";
      return 2;
    }
  }
  std::shared_ptr<jv::host::FormLibrary> opened;
  if (auto error = jv::host::FormLibrary::Open(library, &opened)) {
    std::cerr << "jornavista-host: " << *error << "\n";
    return 1;
  }
  if (!from_file) {
    if (auto error = jv::host::ReadScript(stdin, &script)) {
      std::cerr << "standard input: " << *error << "\n";
      return 2;
    }
  }
  auto form = jv::host::MakeHeadlessDriver(std::move(opened));
  std::istringstream lines(script);
  return jv::host::RunScript(lines, *form, std::cout, std::cerr);
}
