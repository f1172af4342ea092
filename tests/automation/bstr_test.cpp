#include "platform/automation/bstr.h"

#include <gtest/gtest.h>

#include <cstring>

namespace jv {
namespace {

TEST(Bstr, LengthPrefixCountsBytesAndAllowsEmbeddedZeros) {
  const char16_t text[] = u"a\0b";
  Bstr b = Bstr::Attach(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text), 3));
  ASSERT_NE(b.get(), nullptr);
  std::uint32_t prefix = 0;
  std::memcpy(&prefix, reinterpret_cast<const unsigned char*>(b.get()) - 4, 4);
  EXPECT_EQ(prefix, 6u);
  EXPECT_EQ(SysStringByteLen(b.get()), 6u);
  EXPECT_EQ(b.length(), 3u);
  EXPECT_EQ(b.view(), TextView(text, 3));
  EXPECT_EQ(b.get()[3], 0) << "a terminating zero follows the text";
  EXPECT_EQ(SysStringLen(nullptr), 0u) << "a null BSTR is the empty string";
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
}

TEST(Bstr, CopiesAreIndependentAndMovesTransfer) {
  Bstr a(u"font");
  Bstr copy = a;
  EXPECT_NE(copy.get(), a.get());
  EXPECT_EQ(copy.view(), u"font");
  BSTR raw = a.get();
  Bstr moved = std::move(a);
  EXPECT_EQ(moved.get(), raw);
  EXPECT_EQ(a.get(), nullptr);
}

TEST(Utf8, RoundTripsIncludingCharactersBeyondTheBmp) {
  for (const std::string utf8 : {"", "abc", "Mi\xC3\xA9rcoles", "\xE2\x82\xAC", "\xF0\x9F\x98\x80 x"}) {
    Text text;
    ASSERT_EQ(Utf8ToText(utf8, &text), S_OK) << utf8;
    std::string back;
    ASSERT_EQ(TextToUtf8(text, &back), S_OK) << utf8;
    EXPECT_EQ(back, utf8);
  }
  Text smiley;
  ASSERT_EQ(Utf8ToText("\xF0\x9F\x98\x80", &smiley), S_OK);
  EXPECT_EQ(smiley, Text(u"\xD83D\xDE00")) << "a surrogate pair";
}

TEST(Utf8, MalformedInputIsRefusedAndLeavesTheOutputAlone) {
  const char* bad[] = {"\xC3",
                       "\x80",
                       "\xC0\x80" /* overlong */,
                       "\xED\xA0\x80" /* surrogate */,
                       "\xF4\x90\x80\x80" /* above U+10FFFF */,
                       "\xFF",
                       "ab\xE2\x82"};
  for (const char* utf8 : bad) {
    Text out = u"kept";
    EXPECT_EQ(Utf8ToText(utf8, &out), E_INVALIDARG) << "input " << ::testing::PrintToString(utf8);
    EXPECT_EQ(out, u"kept");
  }
  for (const Text& text : {Text(u"\xD800"), Text(u"x\xDC00"),
                           Text(u"\xD83D"
                                u"a")}) {
    std::string out = "kept";
    EXPECT_EQ(TextToUtf8(text, &out), E_INVALIDARG) << ToUtf8Lossy(text);
    EXPECT_EQ(out, "kept");
  }
  EXPECT_EQ(ToUtf8Lossy(u"a\xD800"), "a\xEF\xBF\xBD");
}

}  // namespace
}  // namespace jv
