#include "platform/automation/variant_conversions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "platform/automation/std_font.h"
#include "tests/automation/by_reference.h"
#include "tests/automation/counted_object.h"

namespace jv {
namespace {

constexpr HRESULT kOverflow = DISP_E_OVERFLOW;
constexpr HRESULT kMismatch = DISP_E_TYPEMISMATCH;

Variant S(const char16_t* text) { return Variant::Str(text); }
Variant R8(double d) { return Variant::R8(d); }
Variant Cy(std::int64_t ten_thousandths) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_CY;
  v.cyVal.int64 = ten_thousandths;
  return Variant::Attach(v);
}
Variant R4(float f) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R4;
  v.fltVal = f;
  return Variant::Attach(v);
}

// Converts by target type and hands the result back as a double, so that one table
// covers the numeric and truth-value conversions.
HRESULT Convert(const Variant& in, VARTYPE target, double* out) {
  HRESULT hr = E_UNEXPECTED;
  if (target == VT_I2) {
    std::int16_t r = 12345;
    hr = ToInt16(in, &r);
    *out = r;
  } else if (target == VT_I4) {
    std::int32_t r = 12345;
    hr = ToInt32(in, &r);
    *out = r;
  } else if (target == VT_BOOL) {
    VARIANT_BOOL r = 12345;
    hr = ToBool(in, &r);
    *out = r;
  } else if (target == VT_R8) {
    double r = 12345;
    hr = ToDouble(in, &r);
    *out = r;
  }
  return hr;
}

struct NumberCase {
  std::string name;
  Variant in;
  VARTYPE target;
  HRESULT status;
  double expected;  // on failure: the untouched output, 12345
};

TEST(VariantConversions, NumbersAndTruthValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<NumberCase> cases = {
      // Rounding half to even, and the range of the target.
      {"2.5 to I2", R8(2.5), VT_I2, S_OK, 2},
      {"3.5 to I2", R8(3.5), VT_I2, S_OK, 4},
      {"-2.5 to I2", R8(-2.5), VT_I2, S_OK, -2},
      {"70000 to I2", Variant::I4(70000), VT_I2, kOverflow, 12345},
      {"32767.5 to I2", R8(32767.5), VT_I2, kOverflow, 12345},
      {"-32768.5 to I2", R8(-32768.5), VT_I2, S_OK, -32768},
      {"2147483648.0 to I4", R8(2147483648.0), VT_I4, kOverflow, 12345},
      {"2147483647.5 to I4", R8(2147483647.5), VT_I4, kOverflow, 12345},
      {"-2147483648.5 to I4", R8(-2147483648.5), VT_I4, S_OK, -2147483648.0},
      {"NaN to I4", R8(nan), VT_I4, kOverflow, 12345},
      {"inf to R8", R8(inf), VT_R8, kOverflow, 12345},
      {"date 2.5 to I2", Variant::Date(2.5), VT_I2, S_OK, 2},
      {"CY 2.5 to I4", Cy(25000), VT_I4, S_OK, 2},
      {"CY -2.5 to I2", Cy(-25000), VT_I2, S_OK, -2},
      {"CY 2.5001 to I2", Cy(25001), VT_I2, S_OK, 3},
      {"CY 1.25 to R8", Cy(12500), VT_R8, S_OK, 1.25},
      {"R4 0.5 to R8", R4(0.5f), VT_R8, S_OK, 0.5},
      // Empty, Boolean, and what never converts.
      {"Empty to I2", Variant::Empty(), VT_I2, S_OK, 0},
      {"Empty to Bool", Variant::Empty(), VT_BOOL, S_OK, 0},
      {"True to I4", Variant::Bool(true), VT_I4, S_OK, -1},
      {"0 to Bool", Variant::I4(0), VT_BOOL, S_OK, 0},
      {"5 to Bool", Variant::I2(5), VT_BOOL, S_OK, -1},
      {"0.1 to Bool", R8(0.1), VT_BOOL, S_OK, -1},
      {"Null to I4", Variant::Null(), VT_I4, kMismatch, 12345},
      {"Nothing to I4", Variant::Object(nullptr), VT_I4, kMismatch, 12345},
      {"error to R8", Variant::Error(DISP_E_PARAMNOTFOUND), VT_R8, kMismatch, 12345},
      // Numbers in text.
      {"'255' to I2", S(u"255"), VT_I2, S_OK, 255},
      {"' 255 ' to I4", S(u" \t255 "), VT_I4, S_OK, 255},
      {"'&HFF' to I2", S(u"&HFF"), VT_I2, S_OK, 255},
      {"'&hff' to I4", S(u"&hff"), VT_I4, S_OK, 255},
      {"'&O17' to I2", S(u"&O17"), VT_I2, S_OK, 15},
      {"'&HFFFF' to I2", S(u"&HFFFF"), VT_I2, S_OK, -1},
      {"'&H8000' to I2", S(u"&H8000"), VT_I2, S_OK, -32768},
      {"'&H10000' to I2", S(u"&H10000"), VT_I2, kOverflow, 12345},
      {"'&HFFFF' to I4", S(u"&HFFFF"), VT_I4, S_OK, 65535},
      {"'&HFFFFFFFF' to I4", S(u"&HFFFFFFFF"), VT_I4, S_OK, -1},
      {"'&H100000000' to I4", S(u"&H100000000"), VT_I4, kOverflow, 12345},
      {"'&HFFFFFFFF' to R8", S(u"&HFFFFFFFF"), VT_R8, S_OK, -1},
      {"17 hex digits to I4", S(u"&H1FFFFFFFFFFFFFFFF"), VT_I4, kOverflow, 12345},
      {"'1e2' to I2", S(u"1e2"), VT_I2, S_OK, 100},
      {"'-3.5' to I4", S(u"-3.5"), VT_I4, S_OK, -4},
      {"'+4' to I2", S(u"+4"), VT_I2, S_OK, 4},
      {"'.5' to R8", S(u".5"), VT_R8, S_OK, 0.5},
      {"'2.5' to I2", S(u"2.5"), VT_I2, S_OK, 2},
      {"'70000' to I2", S(u"70000"), VT_I2, kOverflow, 12345},
      {"'1e400' to R8", S(u"1e400"), VT_R8, kOverflow, 12345},
      {"'1e-400' to R8", S(u"1e-400"), VT_R8, S_OK, 0},
      {"'abc' to I2", S(u"abc"), VT_I2, kMismatch, 12345},
      {"'' to I4", S(u""), VT_I4, kMismatch, 12345},
      {"'1 2' to I4", S(u"1 2"), VT_I4, kMismatch, 12345},
      {"'12abc' to I4", S(u"12abc"), VT_I4, kMismatch, 12345},
      {"'1,000' to I4", S(u"1,000"), VT_I4, kMismatch, 12345},
      {"'1e' to R8", S(u"1e"), VT_R8, kMismatch, 12345},
      {"'-' to R8", S(u"-"), VT_R8, kMismatch, 12345},
      {"'&H' to I4", S(u"&H"), VT_I4, kMismatch, 12345},
      {"'&HG' to I4", S(u"&HG"), VT_I4, kMismatch, 12345},
      {"'-&HFF' to I4", S(u"-&HFF"), VT_I4, kMismatch, 12345},
      {"'inf' to R8", S(u"inf"), VT_R8, kMismatch, 12345},
      {"full-width digit to I4", S(u"\xFF11"), VT_I4, kMismatch, 12345},
      // Text to truth value.
      {"'True' to Bool", S(u"True"), VT_BOOL, S_OK, -1},
      {"' fAlSe ' to Bool", S(u" fAlSe "), VT_BOOL, S_OK, 0},
      {"'0' to Bool", S(u"0"), VT_BOOL, S_OK, 0},
      {"'-1' to Bool", S(u"-1"), VT_BOOL, S_OK, -1},
      {"'&H0' to Bool", S(u"&H0"), VT_BOOL, S_OK, 0},
      {"'yes' to Bool", S(u"yes"), VT_BOOL, kMismatch, 12345},
      {"'' to Bool", S(u""), VT_BOOL, kMismatch, 12345},
      {"'True' to I4", S(u"True"), VT_I4, kMismatch, 12345},
  };
  for (const NumberCase& c : cases) {
    double got = 0;
    EXPECT_EQ(Convert(c.in, c.target, &got), c.status) << c.name;
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

struct TextCase {
  std::string name;
  Variant in;
  HRESULT status;
  Text expected;  // on failure: the untouched output, "kept"
};

TEST(VariantConversions, ToText) {
  const std::vector<TextCase> cases = {
      {"I2", Variant::I2(-7), S_OK, u"-7"},
      {"I4", Variant::I4(2147483647), S_OK, u"2147483647"},
      {"True", Variant::Bool(true), S_OK, u"True"},
      {"False", Variant::Bool(false), S_OK, u"False"},
      {"Empty", Variant::Empty(), S_OK, u""},
      {"embedded zero", Variant::Str(TextView(u"a\0b", 3)), S_OK, Text(u"a\0b", 3)},
      {"2.5", R8(2.5), S_OK, u"2.5"},
      {"-0", R8(-0.0), S_OK, u"0"},
      {"0.1+0.2", R8(0.1 + 0.2), S_OK, u"0.30000000000000004"},
      {"1e14", R8(1e14), S_OK, u"100000000000000"},
      {"1e15", R8(1e15), S_OK, u"1E+15"},
      {"1e20", R8(1e20), S_OK, u"1E+20"},
      {"-2.5e300", R8(-2.5e300), S_OK, u"-2.5E+300"},
      {"0.00001", R8(0.00001), S_OK, u"0.00001"},
      {"1.5e-7", R8(1.5e-7), S_OK, u"1.5E-07"},
      {"R4 0.1", R4(0.1f), S_OK, u"0.1"},
      {"NaN", R8(std::numeric_limits<double>::quiet_NaN()), kOverflow, u"kept"},
      {"CY 2.5", Cy(25000), S_OK, u"2.5"},
      {"CY minimum", Cy(std::numeric_limits<std::int64_t>::min()), S_OK, u"-922337203685477.5808"},
      {"date", Variant::Date(37934), S_OK, u"11/9/2003"},
      {"date and time", Variant::Date(37934.75), S_OK, u"11/9/2003 18:00:00"},
      {"day zero", Variant::Date(0), S_OK, u"12/30/1899"},
      {"before zero", Variant::Date(-1.25), S_OK, u"12/29/1899 6:00:00"},
      {"first date", Variant::Date(-657434), S_OK, u"1/1/0100"},
      {"last date", Variant::Date(2958465.999999), S_OK, u"12/31/9999 23:59:59"},
      {"rounds to midnight", Variant::Date(37934.999999), S_OK, u"11/10/2003"},
      {"before first", Variant::Date(-657435), kOverflow, u"kept"},
      {"after last", Variant::Date(2958466), kOverflow, u"kept"},
      {"Null", Variant::Null(), kMismatch, u"kept"},
      {"Nothing", Variant::Object(nullptr), kMismatch, u"kept"},
  };
  for (const TextCase& c : cases) {
    Text got = u"kept";
    EXPECT_EQ(ToText(c.in, &got), c.status) << c.name;
    EXPECT_EQ(got, c.expected) << c.name << ": " << ToUtf8Lossy(got);
  }
}

TEST(VariantConversions, ByReferenceValuesConvertAsWhatTheyPointTo) {
  std::int32_t value = 70000;
  VARIANT ref = testing::ReferenceTo(VT_I4, &value);
  std::int32_t i4 = 0;
  EXPECT_EQ(ToInt32(ref, &i4), S_OK);
  EXPECT_EQ(i4, 70000);
  std::int16_t i2 = 0;
  EXPECT_EQ(ToInt16(ref, &i2), kOverflow);

  VARIANT outer = testing::ReferenceTo(VT_VARIANT, &ref);
  i4 = 0;
  EXPECT_EQ(ToInt32(outer, &i4), S_OK) << "a variant by reference, itself by reference";
  EXPECT_EQ(i4, 70000);

  outer.pvarVal = &outer;
  EXPECT_EQ(ToInt32(outer, &i4), DISP_E_BADVARTYPE) << "a reference to itself";
  ref.plVal = nullptr;
  EXPECT_EQ(ToInt32(ref, &i4), E_POINTER);
}

TEST(VariantConversions, ToFont) {
  FontRef font;
  ASSERT_EQ(CreateStdFont({}, font.put()), S_OK);
  bool ended = false;
  IUnknown* plain = testing::CountedObject::Create(&ended);
  IUnknown* font_object = font.get();

  FontRef got;
  EXPECT_EQ(ToFont(Variant::Object(font_object), &got), S_OK);
  EXPECT_EQ(got, font) << "the same object, not a copy";
  EXPECT_EQ(ToFont(Variant::Object(nullptr), &got), S_OK);
  EXPECT_FALSE(got) << "Nothing gives no font";

  got = font;
  EXPECT_EQ(ToFont(Variant::Object(plain), &got), kMismatch);
  EXPECT_EQ(ToFont(Variant::Empty(), &got), kMismatch);
  EXPECT_EQ(ToFont(Variant::I4(0), &got), kMismatch);
  EXPECT_EQ(ToFont(S(u"Arial"), &got), kMismatch);
  EXPECT_EQ(got, font) << "failures keep what the output held";

  IUnknown* slot = font_object;
  const VARIANT ref = testing::ReferenceTo(VT_DISPATCH, &slot);
  got = nullptr;
  EXPECT_EQ(ToFont(ref, &got), S_OK);
  EXPECT_EQ(got, font);

  plain->Release();
  EXPECT_TRUE(ended) << "the failed query left no reference behind";
}

struct ChangeCase {
  std::string name;
  Variant in;
  VARTYPE to;
  HRESULT status;
  Text expected;  // the result read back as text; "" when it cannot be
};

TEST(VariantConversions, ChangeType) {
  const std::vector<ChangeCase> cases = {
      {"I4 70000 to I2", Variant::I4(70000), VT_I2, kOverflow, u""},
      {"'&HFF' to UI1", S(u"&HFF"), VT_UI1, S_OK, u"255"},
      {"256 to UI1", R8(256), VT_UI1, kOverflow, u""},
      {"-0.5 to UI1", R8(-0.5), VT_UI1, S_OK, u"0"},
      {"'2.5' to CY", S(u"2.5"), VT_CY, S_OK, u"2.5"},
      {"I4 to CY", Variant::I4(-2147483647 - 1), VT_CY, S_OK, u"-2147483648"},
      {"1e30 to CY", R8(1e30), VT_CY, kOverflow, u""},
      {"0.5 to R4", R8(0.5), VT_R4, S_OK, u"0.5"},
      {"1e39 to R4", R8(1e39), VT_R4, kOverflow, u""},
      {"5 to BSTR", Variant::I4(5), VT_BSTR, S_OK, u"5"},
      {"True to I2", Variant::Bool(true), VT_I2, S_OK, u"-1"},
      {"'FALSE' to BOOL", S(u"FALSE"), VT_BOOL, S_OK, u"False"},
      {"37934 to DATE", R8(37934), VT_DATE, S_OK, u"11/9/2003"},
      {"3e6 to DATE", R8(3e6), VT_DATE, kOverflow, u""},
      {"text to DATE", S(u"11/9/2003"), VT_DATE, kMismatch, u""},
      {"Null to NULL", Variant::Null(), VT_NULL, S_OK, u""},
      {"I4 to NULL", Variant::I4(1), VT_NULL, kMismatch, u""},
      {"BSTR to EMPTY", S(u"x"), VT_EMPTY, S_OK, u""},
      {"Nothing to UNKNOWN", Variant::Object(nullptr), VT_UNKNOWN, S_OK, u""},
      {"error to ERROR", Variant::Error(DISP_E_PARAMNOTFOUND), VT_ERROR, S_OK, u""},
      {"to a reference", Variant::I4(1), VT_BYREF | VT_I4, DISP_E_BADVARTYPE, u""},
  };
  for (const ChangeCase& c : cases) {
    Variant out = Variant::I2(99);
    EXPECT_EQ(ChangeType(c.in.raw(), c.to, out.put()), c.status) << c.name;
    if (FAILED(c.status)) {
      EXPECT_EQ(out.vt(), VT_EMPTY) << c.name << ": put() handed out an empty slot, left so";
      continue;
    }
    EXPECT_EQ(out.vt(), c.to) << c.name;
    Text text;
    if (SUCCEEDED(ToText(out, &text))) {
      EXPECT_EQ(text, c.expected) << c.name;
    }
  }
}

TEST(VariantConversions, ChangeTypeInPlaceAndFailureKeepsTheOutput) {
  Variant v = S(u" 42 ");
  VARIANT raw = v.Detach();
  ASSERT_EQ(ChangeType(raw, VT_I4, &raw), S_OK);
  EXPECT_EQ(raw.vt, VT_I4);
  EXPECT_EQ(raw.lVal, 42);
  Variant back = Variant::Attach(raw);

  Variant out = S(u"kept");
  VARIANT slot = out.Detach();
  EXPECT_EQ(ChangeType(S(u"abc").raw(), VT_I4, &slot), kMismatch);
  Variant kept = Variant::Attach(slot);
  Text text;
  ASSERT_EQ(ToText(kept, &text), S_OK);
  EXPECT_EQ(text, u"kept");
}

}  // namespace
}  // namespace jv
