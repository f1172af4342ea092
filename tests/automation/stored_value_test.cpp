// The one rule for the variants a stored property takes, in both forms: the
// record's (values only) and the document's (values and references).
#include "platform/automation/stored_value.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/automation/std_font.h"
#include "tests/automation/by_reference.h"
#include "tests/automation/counted_object.h"

namespace jv {
namespace {

using testing::CountedObject;
using testing::ReferenceTo;

// The font of an object as a store might keep it: here, whether it was a font. A
// font answers IFont; anything else is no font.
HRESULT Kept(IUnknown* object, bool* out) {
  FontRef font;
  if (FAILED(object->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.put()))))
    return DISP_E_TYPEMISMATCH;
  *out = true;
  return S_OK;
}

// What was read, as text, so that one table covers every kind.
std::string Shown(const StoredValue<bool>& v) {
  switch (v.index()) {
    case 0:
      return "I2 " + std::to_string(std::get<0>(v));
    case 1:
      return "I4 " + std::to_string(std::get<1>(v));
    case 2:
      return std::get<2>(v).value ? "Bool true" : "Bool false";
    case 3:
      return "Text " + ToUtf8Lossy(std::get<3>(v));
    case 4:
      return "Font";
    default:
      return "Nothing";
  }
}

TEST(StoredValue, EachFormTakesItsTypesAndRefusesTheRest) {
  std::int16_t i2 = -2;
  std::int32_t i4 = -70000;
  VARIANT_BOOL yes = 5;  // any non-zero pattern is True
  BSTR text = SysAllocString(u"x\u00e9");
  IFont* font = nullptr;
  ASSERT_EQ(CreateStdFont(FontDescription{}, &font), S_OK);
  const FontRef held = FontRef::Adopt(font);
  bool ended = false;
  CountedObject* plain = CountedObject::Create(&ended);
  IUnknown* object = font;
  IUnknown* nothing = nullptr;
  const Variant by_value_i2 = Variant::I2(-2);
  VARIANT inner = ReferenceTo(VT_I4, &i4);
  VARIANT inner_variant = ReferenceTo(VT_VARIANT, &inner);

  struct Case {
    const char* name;
    VARIANT in;
    HRESULT by_value;      // the status in the record's form
    HRESULT by_reference;  // in the document's
    const char* read;      // what either form read, where it succeeded
  } const cases[] = {
      {"I2", Variant::I2(-2).Detach(), S_OK, S_OK, "I2 -2"},
      {"I4", Variant::I4(-70000).Detach(), S_OK, S_OK, "I4 -70000"},
      {"Bool", Variant::Bool(true).Detach(), S_OK, S_OK, "Bool true"},
      {"BSTR", Variant::Str(u"x\u00e9").Detach(), S_OK, S_OK, "Text x\u00e9"},
      {"a font", Variant::Object(font).Detach(), S_OK, S_OK, "Font"},
      {"Nothing", Variant::Object(nullptr).Detach(), S_OK, S_OK, "Nothing"},
      {"an object that is no font", Variant::Object(plain).Detach(), DISP_E_TYPEMISMATCH, DISP_E_TYPEMISMATCH,
       ""},
      {"Empty", Variant::Empty().Detach(), DISP_E_BADVARTYPE, DISP_E_BADVARTYPE, ""},
      {"Null", Variant::Null().Detach(), DISP_E_BADVARTYPE, DISP_E_BADVARTYPE, ""},
      {"R8", Variant::R8(1).Detach(), DISP_E_BADVARTYPE, DISP_E_BADVARTYPE, ""},
      {"Date", Variant::Date(37934).Detach(), DISP_E_BADVARTYPE, DISP_E_BADVARTYPE, ""},
      {"Error", Variant::Error(DISP_E_PARAMNOTFOUND).Detach(), DISP_E_BADVARTYPE, DISP_E_BADVARTYPE, ""},
      {"I2 by reference", ReferenceTo(VT_I2, &i2), DISP_E_BADVARTYPE, S_OK, "I2 -2"},
      {"Bool by reference", ReferenceTo(VT_BOOL, &yes), DISP_E_BADVARTYPE, S_OK, "Bool true"},
      {"BSTR by reference", ReferenceTo(VT_BSTR, &text), DISP_E_BADVARTYPE, S_OK, "Text x\u00e9"},
      {"a font by reference", ReferenceTo(VT_UNKNOWN, &object), DISP_E_BADVARTYPE, S_OK, "Font"},
      {"Nothing by reference", ReferenceTo(VT_DISPATCH, &nothing), DISP_E_BADVARTYPE, S_OK, "Nothing"},
      {"a reference to nothing", ReferenceTo(VT_I4, nullptr), DISP_E_BADVARTYPE, E_POINTER, ""},
      {"a variant by reference", ReferenceTo(VT_VARIANT, const_cast<VARIANT*>(&by_value_i2.raw())),
       DISP_E_BADVARTYPE, S_OK, "I2 -2"},
      {"through a variant to a reference", ReferenceTo(VT_VARIANT, &inner), DISP_E_BADVARTYPE, S_OK,
       "I4 -70000"},
      {"a variant reference to another", ReferenceTo(VT_VARIANT, &inner_variant), DISP_E_BADVARTYPE,
       DISP_E_BADVARTYPE, ""},
  };
  for (const Case& c : cases) {
    for (const StoredForm form : {StoredForm::kByValue, StoredForm::kByValueOrReference}) {
      const HRESULT want = form == StoredForm::kByValue ? c.by_value : c.by_reference;
      const std::string where =
          std::string(c.name) + (form == StoredForm::kByValue ? ", by value" : ", either");
      StoredValue<bool> got = std::int16_t{12345};
      EXPECT_EQ(ReadStoredValue(c.in, form, Kept, &got), want) << where;
      EXPECT_EQ(Shown(got), SUCCEEDED(want) ? c.read : "I2 12345") << where << ": written only on success";
    }
  }
  for (const Case& c : cases)
    if ((c.in.vt & VT_BYREF) == 0) VariantClear(const_cast<VARIANT*>(&c.in));
  SysFreeString(text);
  plain->Release();
  EXPECT_TRUE(ended) << "the plain object's references were all given back";
}

}  // namespace
}  // namespace jv
