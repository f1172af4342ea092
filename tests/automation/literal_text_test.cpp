#include "platform/automation/literal_text.h"

#include <gtest/gtest.h>

namespace jv {
namespace {

TEST(LiteralTextTest, HexadecimalFormsKeepEightDigitsAndTheirLetterCase) {
  EXPECT_EQ(Hex32(0x80020003u), "0x80020003");
  EXPECT_EQ(Hex32(0xFFFFFDD8u), "0xFFFFFDD8");
  EXPECT_EQ(Hex32(0xFFFFFDD8u, HexLetters::kLower), "0xfffffdd8");
  EXPECT_EQ(Hex32(42), "0x0000002A");
  EXPECT_EQ(BasicHex32(0x00FF8000u), "&H00FF8000");
  EXPECT_EQ(VersionText(1, 0), "1.0");
  EXPECT_EQ(VersionText(65535, 12), "65535.12");
  EXPECT_EQ(BasicHex32(0x8000000Fu), "&H8000000F");
}

TEST(LiteralTextTest, QuotedEscapesWhatWouldEndOrBreakTheLiteral) {
  struct Case {
    std::string_view text;
    std::string_view quoted;
  };
  const Case cases[] = {
      {"", R"("")"},
      {"ctrJornavista", R"("ctrJornavista")"},
      {R"(say "hi")", R"("say \"hi\"")"},
      {R"(C:\dir)", R"("C:\\dir")"},
      {"two\nlines\ttab\r", R"("two\nlines\ttab\r")"},
      {std::string_view("nul\0bell\a", 9), R"("nul\x00bell\x07")"},
      {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
  };
  for (const Case& c : cases) EXPECT_EQ(Quoted(c.text), c.quoted) << c.quoted;
}

}  // namespace
}  // namespace jv
