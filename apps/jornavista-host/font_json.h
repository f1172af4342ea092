// A font object as the host prints it in its state dump and its gets.
#pragma once

#include <nlohmann/json.hpp>

#include "platform/automation/font.h"

namespace jv::host {

// null for no font, else the font's fields as the host document writes them; a
// font that cannot be read gives {"error": "..."}.
nlohmann::ordered_json FontJson(IFont* font);

}  // namespace jv::host
