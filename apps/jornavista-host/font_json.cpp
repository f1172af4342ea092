#include "apps/jornavista-host/font_json.h"

#include "apps/document/form_document.h"
#include "apps/jornavista-host/script_values.h"
#include "platform/automation/std_font.h"

namespace jv::host {

nlohmann::ordered_json FontJson(IFont* font) {
  if (font == nullptr) return nullptr;
  FontDescription description;
  if (const HRESULT hr = DescribeFont(font, &description); FAILED(hr)) return {{"error", StatusText(hr)}};
  nlohmann::ordered_json j;
  if (auto error = document::FontToJson(description, &j)) return {{"error", *error}};
  return j;
}

}  // namespace jv::host
