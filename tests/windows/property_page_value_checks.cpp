// The rules by which the property page reads its fields, as a table: what each
// kind of field takes, and what it refuses with a message.
#include <windows.h>

#include <string>

#include "housing/jornavista_ids.h"
#include "housing/property_page_values.h"
#include "tests/windows/ole_checks.h"

namespace jv::wincheck {

void PropertyPageValueChecks(Report& report) {
  using housing::PageField;
  struct Row {
    PageField field;
    const wchar_t* text;
    bool taken;
    long long value;  // as a 32-bit pattern for colours, the number for styles, -1/0 for Enabled
  };
  const Row rows[] = {
      {PageField::BackColor, L"&H8000000D&", true, 0x8000000D},
      {PageField::BackColor, L"&h00ff00", true, 0xFF00},
      {PageField::BackColor, L"0x000000FF", true, 0xFF},
      {PageField::BackColor, L" 255 ", true, 255},
      {PageField::ForeColor, L"&H7F000000&", false, 0},   // no colour kind has that high byte
      {PageField::ForeColor, L"&H800000FF&", false, 0},   // no such system colour
      {PageField::ForeColor, L"&H1FFFFFFFF&", false, 0},  // beyond 32 bits
      {PageField::ForeColor, L"-1", false, 0},
      {PageField::ForeColor, L"red", false, 0},
      {PageField::ForeColor, L"", false, 0},
      {PageField::BackStyle, L"32767", true, 32767},
      {PageField::BackStyle, L"-32768", true, -32768},
      {PageField::BackStyle, L"&H10", true, 16},
      {PageField::BackStyle, L"32768", false, 0},
      {PageField::BorderStyle, L"70000", false, 0},
      {PageField::BorderStyle, L"1.5", false, 0},
      {PageField::BorderStyle, L"12345678901234567890", false, 0},
      {PageField::Enabled, L"True", true, -1},
      {PageField::Enabled, L"False", true, 0},
      {PageField::Enabled, L"maybe", false, 0},
  };
  Case c(report, "the page's fields: what each takes and what it refuses");
  for (const Row& row : rows) {
    const housing::PageFieldDesc& desc = housing::kPageFieldDescs[static_cast<std::size_t>(row.field)];
    VARIANT value;
    std::wstring message;
    const bool taken = housing::ReadValue(desc, row.text, &value, &message);
    const std::string which = U8(desc.label) + " \"" + U8(row.text) + "\"";
    c.Equal(taken, row.taken, which + " taken");
    if (!taken) {
      c.Expect(value.vt == VT_EMPTY, which + ": nothing read");
      c.Expect(message.find(desc.label) == 0,
               which + ": the message names the field: " + U8(message.c_str()));
      continue;
    }
    long long got = 0;
    if (value.vt == VT_I4) got = static_cast<ULONG>(value.lVal);
    if (value.vt == VT_I2) got = value.iVal;
    if (value.vt == VT_BOOL) got = value.boolVal;
    c.Equal(got, row.value, which + " value");
    VariantClear(&value);
  }
  // A date field takes any text as it stands, and shows a value as the control holds it.
  VARIANT text;
  std::wstring message;
  const housing::PageFieldDesc& sdate = housing::kPageFieldDescs[0];
  c.Expect(housing::ReadValue(sdate, L"not a date", &text, &message) && text.vt == VT_BSTR &&
               std::wstring(text.bstrVal) == L"not a date",
           "SDate takes any text");
  c.Equal(U8(housing::ShowValue(sdate, text).c_str()), std::string("not a date"), "SDate shows its text");
  VariantClear(&text);
  VARIANT color;
  color.vt = VT_I4;
  color.lVal = static_cast<LONG>(0x8000000D);
  c.Equal(U8(housing::ShowValue(housing::kPageFieldDescs[1], color).c_str()), std::string("&H8000000D&"),
          "a colour shows in hexadecimal");
}

}  // namespace jv::wincheck
