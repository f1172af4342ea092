// The scripting commands of the component library.
#include "apps/jornavista-host/script.h"

namespace jv::host {

std::vector<Command> ComponentCommands() { return {}; }

}  // namespace jv::host
