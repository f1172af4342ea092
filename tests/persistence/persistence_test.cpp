// InitProperties, ReadProperties and WriteProperties: the seven keys in order,
// the types written, the defaults passed, the conversions on reading, and where a
// failing step leaves the instance.
#include "apps/document/document_bag.h"
#include "platform/automation/std_font.h"
#include "platform/automation/variant_conversions.h"
#include "tests/control/control_fixture.h"

namespace jv::testing {
namespace {

FontRef MakeFont(TextView name, std::int64_t size_cy = 120000) {
  FontDescription d;
  d.name = Text(name);
  d.size_cy = size_cy;
  IFont* f = nullptr;
  EXPECT_EQ(CreateStdFont(d, &f), S_OK);
  return FontRef::Adopt(f);
}

IUnknown* ObjectOf(const VARIANT& v) { return v.vt == VT_UNKNOWN ? v.punkVal : nullptr; }

// A variant as "I2 0", "BSTR \"x\"", "OBJ <font name>" or "OBJ none", for whole-sequence comparisons.
std::string Show(const VARIANT& v) {
  switch (v.vt) {
    case VT_I2:
      return "I2 " + std::to_string(v.iVal);
    case VT_I4:
      return "I4 " + std::to_string(v.lVal);
    case VT_BOOL:
      return "BOOL " + std::to_string(v.boolVal);
    case VT_BSTR:
      return "BSTR \"" + ToUtf8Lossy(TextView(v.bstrVal, SysStringLen(v.bstrVal))) + "\"";
    case VT_UNKNOWN: {
      FontRef font;
      if (v.punkVal == nullptr || FAILED(ToFont(v, &font))) return "OBJ none";
      FontDescription d;
      EXPECT_EQ(DescribeFont(font.get(), &d), S_OK);
      return "OBJ " + ToUtf8Lossy(d.name);
    }
    default:
      return "vt " + std::to_string(v.vt);
  }
}

Variant Copy(const VARIANT& v) {
  Variant copy;
  EXPECT_EQ(Variant::Copy(v, &copy), S_OK);
  return copy;
}

// Passes every call to a document bag and records it, with the value and the default.
class RecordingBag final : public platform::PropertyBag {
 public:
  HRESULT ReadProperty(TextView key, const VARIANT& default_value, VARIANT* out) override {
    log.push_back("read " + ToUtf8Lossy(key) + " default " + Show(default_value));
    defaults.push_back(Copy(default_value));
    return inner.ReadProperty(key, default_value, out);
  }
  HRESULT WriteProperty(TextView key, const VARIANT& value, const VARIANT& default_value) override {
    log.push_back("write " + ToUtf8Lossy(key) + " " + Show(value) + " default " + Show(default_value));
    defaults.push_back(Copy(default_value));
    return inner.WriteProperty(key, value, default_value);
  }
  document::DocumentBag inner;
  std::vector<std::string> log;
  std::vector<Variant> defaults;
};

class PersistenceTest : public ControlTest {
 protected:
  PersistenceTest() : ambient_(MakeFont(u"Ambient")) { container_.SetAmbientFont(ambient_); }

  // Fields far from the defaults, so that what a handler did not reach shows.
  void SetOldValues() {
    ASSERT_EQ(ctl().put_BackColor(11), S_OK);
    ASSERT_EQ(ctl().put_ForeColor(12), S_OK);
    ASSERT_EQ(ctl().put_Enabled(VARIANT_TRUE), S_OK);
    ASSERT_EQ(ctl().putref_Font(old_font_.get()), S_OK);
    ASSERT_EQ(ctl().put_BackStyle(13), S_OK);
    ASSERT_EQ(ctl().put_BorderStyle(14), S_OK);
    container_.TakeChanged();
  }

  FontRef ambient_;
  FontRef old_font_ = MakeFont(u"Old");
};

TEST_F(PersistenceTest, NewInstanceTakesTheDefaultsAndTheAmbientFontObject) {
  Start(2003, 11, 9);
  SetOldValues();
  ASSERT_EQ(ctl().InitProperties(), S_OK);
  EXPECT_EQ(s().m_BackColor, 0u);
  EXPECT_EQ(s().m_ForeColor, 0u);
  EXPECT_EQ(s().m_Enabled, VARIANT_FALSE);
  EXPECT_EQ(s().m_Font.get(), ambient_.get()) << "a shared reference, not a copy";
  EXPECT_EQ(s().m_BackStyle, 0);
  EXPECT_EQ(s().m_BorderStyle, 0);
  EXPECT_EQ(DateText(), "11/9/2003");
  EXPECT_TRUE(container_.TakeChanged().empty());
}

TEST_F(PersistenceTest, InitPropertiesWithoutAnAmbientFontKeepsFontAndStyles) {
  Start(2003, 11, 9);
  SetOldValues();
  runtime_.faults().Arm(headless::Operation::AmbientFont, 1, E_UNEXPECTED);
  EXPECT_EQ(ctl().InitProperties(), E_UNEXPECTED);
  EXPECT_EQ(s().m_BackColor, 0u);
  EXPECT_EQ(s().m_Enabled, VARIANT_FALSE);
  EXPECT_EQ(s().m_Font.get(), old_font_.get());
  EXPECT_EQ(s().m_BackStyle, 13);
  EXPECT_EQ(s().m_BorderStyle, 14);
}

TEST_F(PersistenceTest, WritesTheSevenKeysInOrderWithTheirTypesAndDefaults) {
  Start(2003, 11, 9);
  SetOldValues();
  RecordingBag bag;
  ASSERT_EQ(ctl().WriteProperties(bag), S_OK);
  EXPECT_EQ(bag.log, (std::vector<std::string>{
                         "write BackColor I4 11 default I2 0",
                         "write ForeColor I4 12 default I2 0",
                         "write Enabled BOOL -1 default I2 0",
                         "write Font OBJ Old default OBJ Ambient",
                         "write BackStyle I2 13 default I2 0",
                         "write BorderStyle I2 14 default I2 0",
                         "write SDate BSTR \"11/9/2003\" default BSTR \"\"",
                     }));
  EXPECT_EQ(ObjectOf(bag.defaults[3].raw()), static_cast<IUnknown*>(ambient_.get()));
  EXPECT_TRUE(container_.TakeChanged().empty());
}

TEST_F(PersistenceTest, DefaultsAreLeftOutAndReadBackAsDefaults) {
  Start(2003, 11, 9);
  ASSERT_EQ(ctl().InitProperties(), S_OK);
  ASSERT_EQ(ctl().put_SDate(u""), S_OK);
  document::DocumentBag bag;
  ASSERT_EQ(ctl().WriteProperties(bag), S_OK);
  EXPECT_TRUE(bag.entries().empty()) << "every value equals its default, the font being the ambient object";

  // The container's ambient font is read anew: the one it has now is the default.
  const FontRef later = MakeFont(u"Later");
  container_.SetAmbientFont(later);
  SetOldValues();
  ASSERT_EQ(ctl().ReadProperties(bag), S_OK);
  EXPECT_EQ(s().m_Font.get(), later.get());
}

TEST_F(PersistenceTest, ReadsTheSevenKeysInOrderFetchingTheAmbientFontJustBeforeFont) {
  Start(2003, 11, 9);
  runtime_.faults().Arm(headless::Operation::AmbientFont, 1, E_UNEXPECTED);
  RecordingBag bag;
  EXPECT_EQ(ctl().ReadProperties(bag), E_UNEXPECTED);
  EXPECT_EQ(bag.log, (std::vector<std::string>{"read BackColor default I2 0", "read ForeColor default I2 0",
                                               "read Enabled default I2 0"}));
  bag.log.clear();
  ASSERT_EQ(ctl().ReadProperties(bag), S_OK);
  EXPECT_EQ(bag.log, (std::vector<std::string>{"read BackColor default I2 0", "read ForeColor default I2 0",
                                               "read Enabled default I2 0", "read Font default OBJ Ambient",
                                               "read BackStyle default I2 0", "read BorderStyle default I2 0",
                                               "read SDate default BSTR \"\""}));
}

// What a stored bag does to an instance whose fields hold the old values 11, 12,
// True, "Old", 13, 14 and SDate "11/9/2003".
struct ReadCase {
  const char* name;
  std::vector<std::pair<const char16_t*, Variant>> stored;
  int failing_read;  // the bag refuses its Nth read (0: never)
  HRESULT result;
  OLE_COLOR back_color;
  VARIANT_BOOL enabled;
  const char* font;  // "Old", "Ambient", "Stored" or "none"
  std::int16_t border_style;
  const char* sdate;
};

FontRef StoredFont() {
  static const FontRef font = MakeFont(u"Stored");
  return font;
}

const ReadCase kReadCases[] = {
    {"EmptyBagGivesTheDefaults", {}, 0, S_OK, 0, VARIANT_FALSE, "Ambient", 0, ""},
    {"EnabledZeroIsFalse", {{u"Enabled", Variant::I2(0)}}, 0, S_OK, 0, VARIANT_FALSE, "Ambient", 0, ""},
    {"EnabledNonZeroIsTrue", {{u"Enabled", Variant::I4(2)}}, 0, S_OK, 0, VARIANT_TRUE, "Ambient", 0, ""},
    {"BackColorAsInt16", {{u"BackColor", Variant::I2(255)}}, 0, S_OK, 255, VARIANT_FALSE, "Ambient", 0, ""},
    {"BackColorAsText",
     {{u"BackColor", Variant::Str(u" 255 ")}},
     0,
     S_OK,
     255,
     VARIANT_FALSE,
     "Ambient",
     0,
     ""},
    {"BackColorAsHexText",
     {{u"BackColor", Variant::Str(u"&H80000005")}},
     0,
     S_OK,
     kSysWindow,
     VARIANT_FALSE,
     "Ambient",
     0,
     ""},
    {"StoredFontAndText",
     {{u"Font", Variant::Object(StoredFont().get())}, {u"SDate", Variant::Str(u"14/11/2003 \U0001F4C5")}},
     0,
     S_OK,
     0,
     VARIANT_FALSE,
     "Stored",
     0,
     "14/11/2003 \U0001F4C5"},
    {"FontNothing", {{u"Font", Variant::Object(nullptr)}}, 0, S_OK, 0, VARIANT_FALSE, "none", 0, ""},
    // The read stops at the failing key: the keys before it are read, the rest keep their old values.
    {"BorderStyleOutOfRangeStopsBeforeSDate",
     {{u"BackColor", Variant::I4(5)}, {u"BorderStyle", Variant::I4(70000)}, {u"SDate", Variant::Str(u"x")}},
     0,
     DISP_E_OVERFLOW,
     5,
     VARIANT_FALSE,
     "Ambient",
     14,
     "11/9/2003"},
    {"BackColorNotANumber",
     {{u"BackColor", Variant::Str(u"red")}},
     0,
     DISP_E_TYPEMISMATCH,
     11,
     VARIANT_TRUE,
     "Old",
     14,
     "11/9/2003"},
    {"FontThatIsText",
     {{u"Font", Variant::Str(u"Arial")}},
     0,
     DISP_E_TYPEMISMATCH,
     0,
     VARIANT_FALSE,
     "Old",
     14,
     "11/9/2003"},
    {"BagRefusesTheFourthRead", {}, 4, E_FAIL, 0, VARIANT_FALSE, "Old", 14, "11/9/2003"},
    {"BagRefusesTheLastRead", {}, 7, E_FAIL, 0, VARIANT_FALSE, "Ambient", 0, "11/9/2003"},
};

class ReadPropertiesTest : public PersistenceTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadPropertiesTest, ConvertsEachKeyAndStopsAtTheFirstFailure) {
  const ReadCase& c = GetParam();
  Start(2003, 11, 9);
  SetOldValues();
  document::DocumentBag bag;
  for (const auto& [key, value] : c.stored) ASSERT_EQ(bag.Put(key, value.raw()), S_OK) << c.name;
  int reads = 0;
  bag.SetFaultCheck([&](document::BagOperation) { return ++reads == c.failing_read ? E_FAIL : S_OK; });
  runtime_.journal().Enable(true);

  EXPECT_EQ(ctl().ReadProperties(bag), c.result) << c.name;
  EXPECT_EQ(s().m_BackColor, c.back_color) << c.name;
  EXPECT_EQ(s().m_Enabled, c.enabled) << c.name;
  const std::map<std::string, IFont*> fonts = {{"Old", old_font_.get()},
                                               {"Ambient", ambient_.get()},
                                               {"Stored", StoredFont().get()},
                                               {"none", nullptr}};
  EXPECT_EQ(s().m_Font.get(), fonts.at(c.font)) << c.name << ": expected the " << c.font << " font";
  EXPECT_EQ(s().m_BorderStyle, c.border_style) << c.name;
  EXPECT_EQ(DateText(), c.sdate) << c.name;
  // No notice and no redraw: at most txtDate is written.
  for (const std::string& entry : runtime_.journal().Take())
    EXPECT_EQ(entry.rfind("txtDate.Text=", 0), 0u) << c.name << ": " << entry;
  EXPECT_TRUE(container_.TakeChanged().empty()) << c.name;
  EXPECT_EQ(s().m_SelDate, Day(2003, 11, 9)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Bags, ReadPropertiesTest, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PersistenceTest, WriteStopsAtTheFirstRefusedKey) {
  Start(2003, 11, 9);
  SetOldValues();
  document::DocumentBag bag;
  int writes = 0;
  bag.SetFaultCheck([&](document::BagOperation op) {
    return op == document::BagOperation::kWrite && ++writes == 5 ? E_ACCESSDENIED : S_OK;
  });
  EXPECT_EQ(ctl().WriteProperties(bag), E_ACCESSDENIED);
  EXPECT_EQ(bag.last_key(), u"BackStyle");
  EXPECT_EQ(bag.entries().size(), 4u);
}

}  // namespace
}  // namespace jv::testing
