// jornavista-host: a container of the control. With a script (a file, or standard
// input) it drives one instance on the headless runtime and prints what it asks;
// `show` and `render` put the control in a real window.
#include <fstream>
#include <iostream>
#include <string_view>

#include "apps/jornavista-host/script.h"
#include "platform/model/fault_injector.h"
#ifdef JV_HAS_WINDOW
#include "apps/jornavista-host/window.h"
#endif

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: jornavista-host [SCRIPT]\n";
#ifdef JV_HAS_WINDOW
  jv::host::PrintWindowUsage(out);
#endif
  out << "Runs SCRIPT (or standard input) against a ctrJornavista on the headless runtime,\n"
         "one command a line; '#' starts a comment.\n\ncommands:\n";
  jv::host::PrintCommandHelp(out);
  out << "\noperations for fail (headless only):\n ";
  for (std::size_t i = 0; i < jv::model::kOperationCount; ++i)
    out << " " << jv::model::OperationName(static_cast<jv::model::Operation>(i));
  out << "\n\nexit status: 0 done; 1 a line failed while running; 2 a malformed script (nothing ran)\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (argc > 1 && (std::string_view(argv[1]) == "show" || std::string_view(argv[1]) == "render")) {
#ifdef JV_HAS_WINDOW
    if (std::string_view(argv[1]) == "show")
      return jv::host::RunShow(argc - 1, argv + 1, std::cout, std::cerr);
    return jv::host::RunRender(argc - 1, argv + 1, std::cout, std::cerr);
#else
    std::cerr << argv[1] << ": this build has no window (configure with -DJV_BUILD_QT=ON)\n";
    return 2;
#endif
  }
  if (argc > 2) {
    PrintUsage(std::cerr);
    return 2;
  }
  auto form = jv::host::MakeHeadlessDriver();
  if (argc == 2 && std::string_view(argv[1]) != "-") {
    std::ifstream file(argv[1]);
    if (!file) {
      std::cerr << argv[1] << ": cannot open the script\n";
      return 2;
    }
    return jv::host::RunScript(file, *form, std::cout, std::cerr);
  }
  return jv::host::RunScript(std::cin, *form, std::cout, std::cerr);
}
