#include "platform/automation/std_font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace jv {
namespace {

FontRef MakeFont(const FontDescription& d = {}) {
  FontRef font;
  EXPECT_EQ(CreateStdFont(d, font.put()), S_OK);
  return font;
}

FontDescription Describe(IFont* font) {
  FontDescription d;
  EXPECT_EQ(DescribeFont(font, &d), S_OK);
  return d;
}

TEST(StdFont, NewFontHasTheStandardDefaults) {
  const FontDescription d = Describe(MakeFont().get());
  EXPECT_EQ(d.name, u"MS Sans Serif");
  EXPECT_EQ(d.size_cy, 82500);
  EXPECT_FALSE(d.bold || d.italic || d.underline || d.strikethrough);
  EXPECT_EQ(d.weight, 400);
  EXPECT_EQ(d.charset, 0);
}

TEST(StdFont, BoldAndWeightStayInStep) {
  struct Step {
    const char* name;
    bool set_bold;  // otherwise set the weight
    std::int32_t value;
    BOOL bold;
    SHORT weight;
  };
  const std::vector<Step> steps = {
      {"Bold true", true, 1, 1, 700},     {"Bold false", true, 0, 0, 400},
      {"Bold -1", true, -1, 1, 700},      {"Weight 599", false, 599, 0, 599},
      {"Weight 600", false, 600, 1, 600}, {"Weight 900", false, 900, 1, 900},
      {"Weight 0", false, 0, 0, 0},
  };
  FontRef font = MakeFont();
  for (const Step& s : steps) {
    EXPECT_EQ(s.set_bold ? font->put_Bold(s.value) : font->put_Weight(static_cast<SHORT>(s.value)), S_OK)
        << s.name;
    BOOL bold = 99;
    SHORT weight = 99;
    EXPECT_EQ(font->get_Bold(&bold), S_OK);
    EXPECT_EQ(font->get_Weight(&weight), S_OK);
    EXPECT_EQ(bold, s.bold) << s.name;
    EXPECT_EQ(weight, s.weight) << s.name;
  }
}

TEST(StdFont, DescriptionsCreateFontsWithTheBoldFlagWinningAContradiction) {
  struct Case {
    const char* name;
    bool bold;
    std::int16_t weight;
    std::int16_t expected_weight;
  };
  for (const Case& c : std::vector<Case>{{"regular", false, 400, 400},
                                         {"bold flag only", true, 400, 700},
                                         {"heavy", true, 800, 800},
                                         {"heavy, flag off", false, 800, 400}}) {
    FontDescription d;
    d.bold = c.bold;
    d.weight = c.weight;
    const FontDescription got = Describe(MakeFont(d).get());
    EXPECT_EQ(got.weight, c.expected_weight) << c.name;
    EXPECT_EQ(got.bold, c.bold) << c.name;
  }
  FontDescription full{u"Tahoma", 120000, false, true, true, true, 300, 2};
  const FontDescription got = Describe(MakeFont(full).get());
  EXPECT_EQ(got.name, u"Tahoma");
  EXPECT_EQ(got.size_cy, 120000);
  EXPECT_TRUE(got.italic && got.underline && got.strikethrough);
  EXPECT_EQ(got.weight, 300);
  EXPECT_EQ(got.charset, 2);
}

TEST(StdFont, InvalidValuesAreRefusedAndChangeNothing) {
  FontRef font = MakeFont();
  Bstr empty(u"");
  Bstr with_zero(TextView(u"Ari\0al", 6));
  EXPECT_EQ(font->put_Name(nullptr), E_INVALIDARG);
  EXPECT_EQ(font->put_Name(empty.get()), E_INVALIDARG);
  EXPECT_EQ(font->put_Name(with_zero.get()), E_INVALIDARG);
  EXPECT_EQ(font->put_Size(CY{0}), E_INVALIDARG);
  EXPECT_EQ(font->put_Size(CY{-10000}), E_INVALIDARG);
  EXPECT_EQ(font->put_Weight(-1), E_INVALIDARG);
  EXPECT_EQ(font->put_Weight(1001), E_INVALIDARG);
  EXPECT_EQ(font->put_Charset(256), E_INVALIDARG);
  EXPECT_EQ(font->put_Charset(-1), E_INVALIDARG);
  const FontDescription after = Describe(font.get());
  const FontDescription defaults;
  EXPECT_EQ(after.name, defaults.name);
  EXPECT_EQ(after.size_cy, defaults.size_cy);
  EXPECT_EQ(after.weight, defaults.weight);
  EXPECT_EQ(after.charset, defaults.charset);

  for (FontDescription bad : {FontDescription{.name = u""}, FontDescription{.size_cy = 0},
                              FontDescription{.weight = 2000}, FontDescription{.charset = 300}}) {
    IFont* out = nullptr;
    EXPECT_EQ(CreateStdFont(bad, &out), E_INVALIDARG);
    EXPECT_EQ(out, nullptr);
  }
}

TEST(StdFont, CloneIsIndependentAndIsEqualComparesFields) {
  FontRef font = MakeFont();
  Bstr arial(u"Arial");
  ASSERT_EQ(font->put_Name(arial.get()), S_OK);
  FontRef clone;
  ASSERT_EQ(font->Clone(clone.put()), S_OK);
  EXPECT_NE(clone, font);
  EXPECT_EQ(font->IsEqual(clone.get()), S_OK);
  EXPECT_EQ(font->IsEqual(MakeFont().get()), S_FALSE) << "different name";
  ASSERT_EQ(clone->put_Italic(1), S_OK);
  EXPECT_EQ(font->IsEqual(clone.get()), S_FALSE);
  EXPECT_FALSE(Describe(font.get()).italic) << "the original is untouched";
  EXPECT_EQ(font->IsEqual(nullptr), E_POINTER);
}

TEST(StdFont, DeviceMembersAreNotImplemented) {
  FontRef font = MakeFont();
  HFONT handle = &font;
  EXPECT_EQ(font->get_hFont(&handle), E_NOTIMPL);
  EXPECT_EQ(handle, nullptr);
  EXPECT_EQ(font->QueryTextMetrics(nullptr), E_NOTIMPL);
  EXPECT_EQ(font->SetRatio(1, 1), E_NOTIMPL);
  EXPECT_EQ(font->SetHdc(nullptr), E_NOTIMPL);
  EXPECT_EQ(font->AddRefHfont(nullptr), E_NOTIMPL);
  EXPECT_EQ(font->ReleaseHfont(nullptr), E_NOTIMPL);
}

TEST(StdFont, TheLastReleaseEndsTheObject) {
  const std::size_t before = LiveStdFontCount();
  IFont* font = nullptr;
  ASSERT_EQ(CreateStdFont({}, &font), S_OK);
  EXPECT_EQ(LiveStdFontCount(), before + 1);

  IUnknown* unknown = nullptr;
  ASSERT_EQ(font->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  EXPECT_EQ(unknown, static_cast<IUnknown*>(font));
  IFont* again = nullptr;
  ASSERT_EQ(unknown->QueryInterface(IID_IFont, reinterpret_cast<void**>(&again)), S_OK);
  EXPECT_EQ(again, font);
  void* other = &font;
  const IID unrelated = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
  EXPECT_EQ(font->QueryInterface(unrelated, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);

  EXPECT_EQ(again->Release(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_EQ(LiveStdFontCount(), before + 1);
  EXPECT_EQ(font->Release(), 0u);
  EXPECT_EQ(LiveStdFontCount(), before);
}

}  // namespace
}  // namespace jv
