// The scripting commands of the appearance properties and the host document.
#include "apps/jornavista-host/script.h"

namespace jv::host {

std::vector<Command> PersistenceCommands() { return {}; }

nlohmann::ordered_json FontJson(IFont* font) {
  if (font == nullptr) return nullptr;
  return nlohmann::ordered_json::object();
}

}  // namespace jv::host
