// Arbitrary bytes as a host document. Whatever the reader refuses it refuses with
// the source and a line; whatever it accepts must write back, read again and write
// the same text, and the control's reads of every bag must hold up.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "apps/document/form_document.h"
#include "platform/automation/variant_conversions.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// What ReadProperties does with each of its keys, and a key the bag does not hold.
void ReadAsTheControlDoes(jv::document::DocumentBag& bag) {
  const jv::Variant zero = jv::Variant::I2(0);
  for (const char16_t* key : {u"BackColor", u"Enabled", u"Font", u"BackStyle", u"SDate", u"Missing"}) {
    jv::Variant value;
    Check(SUCCEEDED(bag.ReadProperty(key, zero.raw(), value.put())));
    std::int32_t i4 = 0;
    std::int16_t i2 = 0;
    VARIANT_BOOL b = 0;
    jv::Text text;
    jv::FontRef font;
    (void)jv::ToInt32(value, &i4);
    (void)jv::ToInt16(value, &i2);
    (void)jv::ToBool(value, &b);
    (void)jv::ToText(value, &text);
    (void)jv::ToFont(value, &font);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  jv::document::FormDocument form;
  if (const auto error = jv::document::ParseDocument(text, "fuzz.json", &form)) {
    Check(error->rfind("fuzz.json:", 0) == 0);
    Check(form.controls.empty());
  } else {
    std::string written;
    Check(!jv::document::FormatDocument(form, &written));
    jv::document::FormDocument again;
    Check(!jv::document::ParseDocument(written, "written.json", &again));
    std::string twice;
    Check(!jv::document::FormatDocument(again, &twice));
    Check(twice == written);
    for (jv::document::ControlRecord& c : form.controls) ReadAsTheControlDoes(c.properties);
  }
  jv::FontDescription font;
  (void)jv::document::ParseFontJson(text, &font);
  (void)jv::document::FontSizeFromText(text);
  return 0;
}
