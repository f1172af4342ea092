// The document's text: values keep their variant types through a round trip, and
// a malformed text is refused with its line and what is wrong.
#include <gtest/gtest.h>

#include "apps/document/form_document.h"
#include "platform/automation/variant_conversions.h"

namespace jv::document {
namespace {

FontRef MakeFont(const FontDescription& d) {
  IFont* f = nullptr;
  EXPECT_EQ(CreateStdFont(d, &f), S_OK);
  return FontRef::Adopt(f);
}

FormDocument ManyControls(int count) {
  FormDocument form;
  for (int i = 0; i < count; ++i) {
    ControlRecord c;
    c.class_name = "ctrJornavista";
    c.name = "cal" + std::to_string(i);
    c.left = -i * 100;
    c.top = i * 37;
    c.width = 3525;
    c.height = 3795 + i;
    DocumentBag& b = c.properties;
    EXPECT_EQ(b.Put(u"BackColor", Variant::I4(INT32_MIN + i).raw()), S_OK);
    EXPECT_EQ(b.Put(u"ForeColor", Variant::I2(static_cast<std::int16_t>(-i)).raw()), S_OK);
    EXPECT_EQ(b.Put(u"Enabled", Variant::Bool(i % 2 == 0).raw()), S_OK);
    FontDescription d;
    d.name = u"Fonte \u00e7 " + FromAscii(std::to_string(i));
    d.size_cy = 1 + i * 12345;
    d.italic = i % 3 == 0;
    d.weight = static_cast<std::int16_t>(i * 10 % 1001);
    d.bold = d.weight >= 600;
    d.charset = static_cast<std::int16_t>(i % 256);
    EXPECT_EQ(b.Put(u"Font", Variant::Object(i % 5 == 0 ? nullptr : MakeFont(d).get()).raw()), S_OK);
    EXPECT_EQ(b.Put(u"SDate", Variant::Str(u"\u65e5\u4ed8 \U0001F4C5 \"q\" \\ \n\t" +
                                           FromAscii(std::to_string(i)) + Text(1, u'\0') + u"end")
                                  .raw()),
              S_OK);
    form.controls.push_back(std::move(c));
  }
  return form;
}

// Each stored value as type and text, which shows a type changed on the way.
std::vector<std::string> Describe(const FormDocument& form) {
  std::vector<std::string> out;
  for (const ControlRecord& c : form.controls) {
    out.push_back(c.class_name + " " + c.name + " " + std::to_string(c.left) + "," + std::to_string(c.top) +
                  " " + std::to_string(c.width) + "x" + std::to_string(c.height));
    for (const DocumentBag::Entry& e : c.properties.entries()) {
      std::string value = "vt" + std::to_string(e.value.vt()) + " ";
      FontRef font;
      FontDescription d;
      Text text;
      if (SUCCEEDED(ToFont(e.value, &font)))
        value += font && SUCCEEDED(DescribeFont(font.get(), &d))
                     ? ToUtf8Lossy(d.name) + " " + std::to_string(d.size_cy) + " " +
                           std::to_string(d.weight) + (d.italic ? " i" : "") + " " + std::to_string(d.charset)
                     : "Nothing";
      else if (SUCCEEDED(ToText(e.value, &text)))
        value += ToUtf8Lossy(text);
      out.push_back("  " + ToUtf8Lossy(e.key) + " " + value);
    }
  }
  return out;
}

TEST(DocumentTextTest, ManyControlsRoundTripWithTheirTypesAndEveryCharacter) {
  const FormDocument form = ManyControls(40);
  std::string text;
  ASSERT_EQ(FormatDocument(form, &text), std::nullopt);
  FormDocument read;
  ASSERT_EQ(ParseDocument(text, "f.json", &read), std::nullopt);
  EXPECT_EQ(Describe(read), Describe(form));
  std::string again;
  ASSERT_EQ(FormatDocument(read, &again), std::nullopt);
  EXPECT_EQ(again, text);
  EXPECT_NE(text.find("\u65e5\u4ed8 \U0001F4C5"), std::string::npos) << "UTF-8 as it stands, not escaped";
}

TEST(DocumentTextTest, FontSizesPassExactlyUpToTheLimit) {
  for (const std::int64_t cy : {std::int64_t{1}, std::int64_t{82500}, std::int64_t{123457},
                                std::int64_t{10000}, kMaxFontSizeCy - 1, kMaxFontSizeCy}) {
    FontDescription d;
    d.size_cy = cy;
    nlohmann::ordered_json j;
    ASSERT_EQ(FontToJson(d, &j), std::nullopt) << cy;
    FontDescription back;
    ASSERT_EQ(ParseFontJson(j.dump(), &back), std::nullopt) << cy << " as " << j.dump();
    EXPECT_EQ(back.size_cy, cy) << j.dump();
  }
  FontDescription huge;
  huge.size_cy = kMaxFontSizeCy + 1;
  nlohmann::ordered_json j;
  EXPECT_NE(FontToJson(huge, &j), std::nullopt)
      << "a size the text cannot hold exactly is refused, not rounded";
}

TEST(DocumentTextTest, AValueThatCannotBeConvertedIsNotMalformed) {
  FormDocument read;
  ASSERT_EQ(ParseDocument(R"({"format": "jornavista-form", "version": 1, "controls": [
      {"class": "ctrJornavista", "name": "a", "left": 0, "top": 0, "width": 0, "height": 0,
       "properties": {"BorderStyle": {"type": "int32", "value": 70000}, "Other": {"type": "string", "value": ""}}}]})",
                          "f.json", &read),
            std::nullopt);
  EXPECT_EQ(Describe(read),
            (std::vector<std::string>{"ctrJornavista a 0,0 0x0", "  BorderStyle vt3 70000", "  Other vt8 "}));
}

struct Malformed {
  const char* name;
  const char* text;
  const char* error;  // what follows "f.json:"
};

// A valid document with one control; the cases replace a part of it.
constexpr const char* kHead = "{\"format\": \"jornavista-form\", \"version\": 1, \"controls\": [\n";
constexpr const char* kControl =
    "{\"class\": \"ctrJornavista\", \"name\": \"a\", \"left\": 0, \"top\": 0, \"width\": 1, \"height\": 1,\n";

std::string Doc(const std::string& properties) {
  return std::string(kHead) + kControl + "\"properties\": {\n" + properties + "\n}}]}";
}

const Malformed kMalformed[] = {
    {"Empty", "", "1: syntax error while parsing value - unexpected end of input"},
    {"Truncated", "{\"format\": \"jornavista-form\",\n\"version\": 1,\n\"controls\": [", "3: syntax error"},
    {"BadSyntaxOnLine3", "{\n\"format\": \"jornavista-form\",\n\"version\": 1 \"controls\": []}",
     "3: syntax error"},
    {"OtherFormat", "{\"format\": \"other\", \"version\": 1, \"controls\": []}",
     "1: not a Jornavista form document"},
    {"NoVersion", "{\"format\": \"jornavista-form\",\n \"controls\": []}",
     "1: the document has no \"version\""},
    {"LaterVersion", "{\"format\": \"jornavista-form\",\n \"version\": 2, \"controls\": []}",
     "2: version 2 is not supported (this host reads version 1)"},
    {"UnknownTopKey", "{\"format\": \"jornavista-form\", \"version\": 1, \"controls\": [],\n\"extra\": 1}",
     "2: unknown key \"extra\" in the document"},
    {"DuplicateKey", "{\"format\": \"jornavista-form\",\n\"format\": \"jornavista-form\"}",
     "2: duplicate key \"format\""},
    {"NegativeWidth",
     "{\"format\": \"jornavista-form\", \"version\": 1, \"controls\": [\n{\"class\": \"c\", \"name\": \"a\", "
     "\"left\": 0, \"top\": 0,\n\"width\": -1, \"height\": 1, \"properties\": {}}]}",
     "3: control \"a\": \"width\" must be from 0 to 2147483647, not -1"},
    {"SameNameTwice",
     "{\"format\": \"jornavista-form\", \"version\": 1, \"controls\": [\n{\"class\": \"c\", \"name\": \"a\", "
     "\"left\": 0, \"top\": 0, \"width\": 1, \"height\": 1, \"properties\": {}},\n{\"class\": \"c\", "
     "\"name\": \"a\", "
     "\"left\": 0, \"top\": 0, \"width\": 1, \"height\": 1, \"properties\": {}}]}",
     "3: a second control is named \"a\""},
    {"UnknownTypeTag", "", "4: control \"a\": property \"BackColor\": unknown type \"long\""},
    {"Int16OutOfRange", "",
     "4: control \"a\": property \"BackStyle\": the int16 value must be from -32768 to 32767, not 70000"},
    {"Int32AsText", "",
     "4: control \"a\": property \"BackColor\": the int32 value is a string, expected an integer"},
    {"HugeInteger", "",
     "4: control \"a\": property \"BackColor\": the int32 value must be from -2147483648 to 2147483647, not "
     "18446744073709551615"},
    {"FontBoldContradictsWeight", "",
     "5: control \"a\": property \"Font\": the font's Bold is true but its Weight is 400"},
    {"FontSizeFiveDecimals", "", "5: control \"a\": property \"Font\": the font's Size must be above 0"},
    {"FontNameWithZero", "", "5: control \"a\": property \"Font\": the font's Name holds a zero character"},
    {"LoneSurrogateEscape", "", "4: syntax error while parsing value - invalid string: surrogate"},
    {"NestedTooDeep", "", "4: nested more than 64 levels deep"},
};

// The property part of the cases above that have no text of their own.
const std::map<std::string, std::string> kProperties = {
    {"UnknownTypeTag", "\"BackColor\": {\"type\": \"long\", \"value\": 1}"},
    {"Int16OutOfRange", "\"BackStyle\": {\"type\": \"int16\", \"value\": 70000}"},
    {"Int32AsText", "\"BackColor\": {\"type\": \"int32\", \"value\": \"255\"}"},
    {"HugeInteger", "\"BackColor\": {\"type\": \"int32\", \"value\": 18446744073709551615}"},
    {"FontBoldContradictsWeight",
     "\"Font\": {\"type\": \"font\", \"value\": {\"Name\": \"A\", \"Size\": 8,\n\"Bold\": true, \"Weight\": "
     "400}}"},
    {"FontSizeFiveDecimals",
     "\"Font\": {\"type\": \"font\", \"value\": {\"Name\": \"A\",\n\"Size\": 8.00001}}"},
    {"FontNameWithZero",
     "\"Font\": {\"type\": \"font\", \"value\": {\n\"Name\": \"A\\u0000\", \"Size\": 8}}"},
    {"LoneSurrogateEscape", "\"SDate\": {\"type\": \"string\", \"value\": \"\\ud800\"}"},
    {"NestedTooDeep", "\"X\": " + std::string(70, '[') + std::string(70, ']')},
};

class MalformedTest : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedTest, IsRefusedWithItsLineAndLeavesTheTargetAlone) {
  const Malformed& c = GetParam();
  const auto part = kProperties.find(c.name);
  const std::string text = part != kProperties.end() ? Doc(part->second) : c.text;
  FormDocument target = ManyControls(1);
  const auto error = ParseDocument(text, "f.json", &target);
  ASSERT_TRUE(error.has_value()) << c.name;
  EXPECT_EQ(error->rfind(std::string("f.json:") + c.error, 0), 0u) << c.name << " gave: " << *error;
  EXPECT_EQ(target.controls.size(), 1u) << c.name;
  EXPECT_EQ(target.controls[0].name, "cal0") << c.name;
}

INSTANTIATE_TEST_SUITE_P(Texts, MalformedTest, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

struct BagWrite {
  const char* name;
  Variant value;
  Variant default_value;
  bool stored;
};

const BagWrite kBagWrites[] = {
    {"Int32ZeroAgainstInt16Zero", Variant::I4(0), Variant::I2(0), false},
    {"FalseAgainstInt16Zero", Variant::Bool(false), Variant::I2(0), false},
    {"TrueAgainstInt16Zero", Variant::Bool(true), Variant::I2(0), true},
    {"TextZeroAgainstNumberZero", Variant::Str(u"0"), Variant::I2(0), true},
    {"NothingAgainstNothing", Variant::Object(nullptr), Variant::Object(nullptr), false},
    {"EqualButOtherFont", Variant::Object(MakeFont({}).get()), Variant::Object(MakeFont({}).get()), true},
};

class BagWriteTest : public ::testing::TestWithParam<BagWrite> {};

// Left out only when equal to the default; a later read then gives that default,
// even over a value an earlier write stored.
TEST_P(BagWriteTest, LeavesOutOnlyWhatEqualsTheDefault) {
  const BagWrite& c = GetParam();
  DocumentBag bag;
  ASSERT_EQ(bag.WriteProperty(u"K", Variant::I2(9).raw(), Variant::I2(0).raw()), S_OK);
  ASSERT_EQ(bag.WriteProperty(u"K", c.value.raw(), c.default_value.raw()), S_OK) << c.name;
  EXPECT_EQ(bag.Find(u"K") != nullptr, c.stored) << c.name;
  Variant read;
  ASSERT_EQ(bag.ReadProperty(u"K", c.default_value.raw(), read.put()), S_OK) << c.name;
  EXPECT_EQ(read.vt(), c.stored ? c.value.vt() : c.default_value.vt()) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Values, BagWriteTest, ::testing::ValuesIn(kBagWrites),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DocumentBagTest, RefusesWhatADocumentCannotHoldAndChangesNothing) {
  DocumentBag bag;
  struct NoFont final : IUnknown {
    HRESULT QueryInterface(REFIID riid, void** out) override {
      *out = riid == IID_IUnknown ? this : nullptr;
      return *out != nullptr ? S_OK : E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
  } object;
  EXPECT_EQ(bag.WriteProperty(u"K", Variant::R8(1.5).raw(), Variant::I2(0).raw()), DISP_E_BADVARTYPE);
  EXPECT_EQ(bag.WriteProperty(u"K", Variant::Object(&object).raw(), Variant::I2(0).raw()),
            DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(bag.entries().empty());
}

}  // namespace
}  // namespace jv::document
