#include "platform/automation/variant.h"

#include <gtest/gtest.h>

#include "tests/automation/by_reference.h"
#include "tests/automation/counted_object.h"

namespace jv {
namespace {

using testing::CountedObject;

TEST(Variant, CopiesOwnTheirStringAndMovesEmptyTheSource) {
  Variant a = Variant::Str(u"SDate");
  Variant b = a;
  ASSERT_EQ(b.vt(), VT_BSTR);
  EXPECT_NE(b.raw().bstrVal, a.raw().bstrVal);
  EXPECT_EQ(TextView(b.raw().bstrVal, SysStringLen(b.raw().bstrVal)), u"SDate");
  Variant c = std::move(a);
  EXPECT_EQ(a.vt(), VT_EMPTY);
  EXPECT_EQ(c.vt(), VT_BSTR);
  c = b;  // replaces, freeing the old string (ASan would report a leak)
  EXPECT_NE(c.raw().bstrVal, b.raw().bstrVal);
  const Variant zero = Variant::Str(TextView(u"a\0b", 3));
  EXPECT_EQ(Variant(zero).raw().bstrVal[1], 0) << "embedded zeros survive a copy";
  EXPECT_EQ(SysStringLen(Variant(zero).raw().bstrVal), 3u);
}

TEST(Variant, ObjectReferencesAreCountedAndReleasedByTheLastHolder) {
  bool ended = false;
  CountedObject* object = CountedObject::Create(&ended);
  {
    Variant v = Variant::Object(object);
    EXPECT_EQ(object->refs(), 2u);
    Variant copy = v;
    EXPECT_EQ(object->refs(), 3u);
    EXPECT_EQ(object->Release(), 2u) << "the variants hold the other two";
    EXPECT_FALSE(ended);
  }
  EXPECT_TRUE(ended);
  EXPECT_EQ(Variant::Object(nullptr).raw().punkVal, nullptr) << "Nothing";
}

TEST(Variant, ClearLeavesWhatAReferencePointsTo) {
  std::int32_t value = 7;
  VARIANT v = testing::ReferenceTo(VT_I4, &value);
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(VariantCopy(&copy, &v), S_OK);
  EXPECT_EQ(copy.plVal, &value);
  EXPECT_EQ(VariantClear(&v), S_OK);
  EXPECT_EQ(v.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(&copy), S_OK);
  EXPECT_EQ(value, 7);
}

TEST(Variant, UnknownTypesAreRefusedWithoutTouchingTheDestination) {
  VARIANT bad;
  VariantInit(&bad);
  bad.vt = 0x2003;  // an array of 32-bit integers: not held by this system
  Variant dest = Variant::I4(5);
  VARIANT raw = dest.Detach();
  EXPECT_EQ(VariantCopy(&raw, &bad), DISP_E_BADVARTYPE);
  EXPECT_EQ(raw.vt, VT_I4);
  EXPECT_EQ(raw.lVal, 5);
  EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
  Variant copied;
  EXPECT_EQ(Variant::Copy(bad, &copied), DISP_E_BADVARTYPE);
  EXPECT_EQ(copied.vt(), VT_EMPTY);
  EXPECT_FALSE(IsValidVariantType(VT_BYREF | VT_EMPTY));
  EXPECT_FALSE(IsValidVariantType(VT_VARIANT)) << "a variant holds a variant only by reference";
  EXPECT_TRUE(IsValidVariantType(VT_BYREF | VT_VARIANT));
  VariantClear(&raw);
}

}  // namespace
}  // namespace jv
