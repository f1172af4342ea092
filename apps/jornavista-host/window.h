// The host's window subcommands: `show` opens the control on a form for a user,
// `render` drives it offscreen with a script and writes a screenshot of the form.
#pragma once

#include <iosfwd>
#include <string>

namespace jv::host {

// `program` is the host as it was started (the application's name comes from
// it), argv[0] the subcommand; `library` is the control's component library (a
// file or a programmatic identifier). Exit status 0 done, 1 a failure while
// running or a library that cannot be opened, 2 bad arguments or no display.
int RunShow(char* program, int argc, char** argv, const std::string& library, std::ostream& out,
            std::ostream& err);
int RunRender(char* program, int argc, char** argv, const std::string& library, std::ostream& out,
              std::ostream& err);

void PrintWindowUsage(std::ostream& out);

}  // namespace jv::host
