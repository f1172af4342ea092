// The host's window subcommands: `show` opens the control on a form for a user,
// `render` drives it offscreen with a script and writes a screenshot of the form.
#pragma once

#include <iosfwd>

namespace jv::host {

// argv[0] is the subcommand; exit status 0 done, 1 a failure while running, 2 bad
// arguments or no display.
int RunShow(int argc, char** argv, std::ostream& out, std::ostream& err);
int RunRender(int argc, char** argv, std::ostream& out, std::ostream& err);

void PrintWindowUsage(std::ostream& out);

}  // namespace jv::host
