// The property record that IPersistStreamInit and IPersistStorage carry: all seven
// properties survive a save into it, its binary form and a load into a second
// instance; a damaged or cut record is refused and leaves the target as it was.
#include <gtest/gtest.h>

#include "housing/jornavista_ids.h"
#include "housing/jornavista_object.h"
#include "housing/property_record.h"
#include "housing/record_persistence.h"

namespace jv::housing {
namespace {

using ::testing::ValuesIn;

namespace ids = jornavista;

ComPtr<_ctrJornavista> NewInstance() {
  ComPtr<_ctrJornavista> c;
  EXPECT_EQ(CreatectrJornavista(nullptr, ids::IID__ctrJornavista, reinterpret_cast<void**>(c.put())), S_OK);
  return c;
}

ComPtr<IPersistPropertyBag> PersistOf(_ctrJornavista* c) {
  ComPtr<IPersistPropertyBag> p;
  EXPECT_EQ(c->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(p.put())), S_OK);
  return p;
}

ComPtr<PropertyRecord> NewRecord(std::vector<NamedProperty> properties = {}) {
  ComPtr<PropertyRecord> r;
  *r.put() = PropertyRecord::Create(std::move(properties));
  return r;
}

// The binary form of a record the writer takes.
std::vector<std::uint8_t> Encoded(std::span<const NamedProperty> properties) {
  std::vector<std::uint8_t> bytes;
  EXPECT_EQ(EncodeRecord(properties, &bytes), S_OK);
  return bytes;
}

Text SDateOf(_ctrJornavista* c) {
  BSTR b = nullptr;
  EXPECT_EQ(c->get_SDate(&b), S_OK);
  Text t(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
  SysFreeString(b);
  return t;
}

TEST(PropertyRecordTest, AllSevenPropertiesSurviveTheBinaryForm) {
  ComPtr<_ctrJornavista> first = NewInstance();
  ASSERT_EQ(PersistOf(first.get())->InitNew(), S_OK);
  FontDescription arial{u"Arial", 120000, true, true, false, true, 700, 2};
  FontRef font;
  ASSERT_EQ(CreateStdFont(arial, font.put()), S_OK);
  ASSERT_EQ(first->put_BackColor(255), S_OK);
  ASSERT_EQ(first->put_ForeColor(0x8000000D), S_OK);
  ASSERT_EQ(first->put_Enabled(VARIANT_TRUE), S_OK);
  ASSERT_EQ(first->putref_Font(font.get()), S_OK);
  ASSERT_EQ(first->put_BackStyle(-1), S_OK);
  ASSERT_EQ(first->put_BorderStyle(7), S_OK);
  BSTR text = SysAllocString(reinterpret_cast<const OLECHAR*>(u"14/11/2003"));
  ASSERT_EQ(first->put_SDate(text), S_OK);
  SysFreeString(text);

  ComPtr<PropertyRecord> saved = NewRecord();
  ASSERT_EQ(PersistOf(first.get())->Save(saved.get(), 1, 1), S_OK);
  ASSERT_EQ(saved->properties().size(), 7u);
  std::vector<NamedProperty> decoded;
  ASSERT_EQ(DecodeRecord(Encoded(saved->properties()), &decoded), S_OK);

  ComPtr<_ctrJornavista> second = NewInstance();
  ASSERT_EQ(PersistOf(second.get())->Load(NewRecord(decoded).get(), nullptr), S_OK);
  OLE_COLOR color = 0;
  EXPECT_EQ(second->get_BackColor(&color), S_OK);
  EXPECT_EQ(color, 255u);
  EXPECT_EQ(second->get_ForeColor(&color), S_OK);
  EXPECT_EQ(color, 0x8000000Du);
  VARIANT_BOOL enabled = VARIANT_FALSE;
  EXPECT_EQ(second->get_Enabled(&enabled), S_OK);
  EXPECT_EQ(enabled, VARIANT_TRUE);
  std::int16_t style = 0;
  EXPECT_EQ(second->get_BackStyle(&style), S_OK);
  EXPECT_EQ(style, -1);
  EXPECT_EQ(second->get_BorderStyle(&style), S_OK);
  EXPECT_EQ(style, 7);
  EXPECT_EQ(SDateOf(second.get()), u"14/11/2003");
  FontRef loaded;
  ASSERT_EQ(second->get_Font(loaded.put()), S_OK);
  FontDescription got;
  ASSERT_EQ(DescribeFont(loaded.get(), &got), S_OK);
  EXPECT_EQ(got.name, arial.name);
  EXPECT_EQ(got.size_cy, arial.size_cy);
  EXPECT_EQ(got.weight, arial.weight);
  EXPECT_EQ(got.charset, arial.charset);
  EXPECT_EQ(std::tuple(got.bold, got.italic, got.underline, got.strikethrough),
            std::tuple(true, true, false, true));
}

TEST(PropertyRecordTest, ANoneFontAndEveryKindEncodeAndDecodeAlike) {
  const std::vector<NamedProperty> all = {
      {u"a", std::int16_t{-2}}, {u"b", std::int32_t{-70000}}, {u"c", BooleanValue{true}},
      {u"d", Text(u"x\u00e9\U0001F600")}, {u"e", NoFont{}}, {u"f", Text()},
  };
  std::vector<NamedProperty> decoded;
  ASSERT_EQ(DecodeRecord(Encoded(all), &decoded), S_OK);
  ASSERT_EQ(decoded.size(), all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(decoded[i].name, all[i].name);
    EXPECT_TRUE(decoded[i].value == all[i].value) << i;
  }
}

TEST(PropertyRecordTest, EveryCutOfARecordIsRefusedAndWritesNothing) {
  const std::vector<std::uint8_t> bytes =
      Encoded(std::vector<NamedProperty>{{u"SDate", Text(u"1/2/2003")}, {u"Font", FontDescription{}}});
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::vector<NamedProperty> out = {{u"kept", std::int16_t{1}}};
    const HRESULT hr = DecodeRecord(std::span(bytes).first(n), &out);
    EXPECT_EQ(hr, STG_E_READFAULT) << n << " bytes";
    EXPECT_EQ(out.size(), 1u) << n << " bytes";
  }
}

TEST(PropertyRecordTest, DamagedRecordsAreRefusedWithTheirReason) {
  const std::vector<std::uint8_t> good = Encoded(std::vector<NamedProperty>{{u"BackStyle", std::int16_t{3}}});
  // The entry starts at byte 12: name length (2), "BackStyle" (18), kind (2), value (2).
  struct Case {
    const char* what;
    std::size_t at;
    std::uint8_t value;
    HRESULT expected;
  };
  const Case cases[] = {
      {"another magic", 0, 'X', STG_E_INVALIDHEADER},
      {"version 0", 4, 0, STG_E_INVALIDHEADER},
      {"a newer version", 4, 2, STG_E_OLDDLL},
      {"one entry more than there are", 6, 2, STG_E_DOCFILECORRUPT},
      {"no entries though a body follows", 6, 0, STG_E_DOCFILECORRUPT},
      {"an unknown kind", 32, 99, STG_E_DOCFILECORRUPT},
      {"an empty name", 12, 0, STG_E_DOCFILECORRUPT},
      {"a body longer than announced", 8, 23, STG_E_DOCFILECORRUPT},
      {"a huge body", 11, 0x40, STG_E_DOCFILECORRUPT},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = good;
    if (c.at == 4) bytes[5] = 0;
    bytes[c.at] = c.value;
    std::vector<NamedProperty> out;
    EXPECT_EQ(DecodeRecord(bytes, &out), c.expected) << c.what;
    EXPECT_TRUE(out.empty()) << c.what;
  }
  std::vector<NamedProperty> twice = {{u"x", std::int16_t{1}}, {u"y", std::int16_t{2}}};
  std::vector<std::uint8_t> twice_bytes = Encoded(twice);
  twice_bytes[12 + 8 + 2] = 'x';  // the second entry's name, "y", becomes "x"
  std::vector<NamedProperty> out;
  EXPECT_EQ(DecodeRecord(twice_bytes, &out), STG_E_DOCFILECORRUPT) << "a name twice";
  std::vector<std::uint8_t> bad_bool = Encoded(std::vector<NamedProperty>{{u"e", BooleanValue{true}}});
  bad_bool.back() = 0x01;
  EXPECT_EQ(DecodeRecord(bad_bool, &out), STG_E_DOCFILECORRUPT) << "a truth value neither 0 nor -1";
}

TEST(PropertyRecordTest, TheBagRefusesWhatItCannotKeep) {
  ComPtr<PropertyRecord> record = NewRecord();
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = 1.5;
  EXPECT_EQ(record->Write(reinterpret_cast<LPCOLESTR>(u"R"), &v), DISP_E_BADVARTYPE);
  v.vt = VT_UNKNOWN;
  v.punkVal = record.get();  // an object that is no font
  EXPECT_EQ(record->Write(reinterpret_cast<LPCOLESTR>(u"O"), &v), DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(record->properties().empty());
  VARIANT out;
  VariantInit(&out);
  EXPECT_EQ(record->Read(reinterpret_cast<LPCOLESTR>(u"missing"), &out, nullptr), E_INVALIDARG);
}

// A container's own font: any values, whether the standard font takes them or not.
class ForeignFont final : public RefCounted<IFont> {
 public:
  explicit ForeignFont(FontDescription d) : d_(std::move(d)) {}
  HRESULT JV_STDMETHODCALLTYPE get_Name(BSTR* name) override {
    *name = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(d_.name.data()),
                              static_cast<std::uint32_t>(d_.name.size()));
    return *name != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  HRESULT JV_STDMETHODCALLTYPE get_Size(CY* size) override {
    size->int64 = d_.size_cy;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE get_Bold(BOOL* v) override { return Flag(d_.bold, v); }
  HRESULT JV_STDMETHODCALLTYPE get_Italic(BOOL* v) override { return Flag(d_.italic, v); }
  HRESULT JV_STDMETHODCALLTYPE get_Underline(BOOL* v) override { return Flag(d_.underline, v); }
  HRESULT JV_STDMETHODCALLTYPE get_Strikethrough(BOOL* v) override { return Flag(d_.strikethrough, v); }
  HRESULT JV_STDMETHODCALLTYPE get_Weight(SHORT* v) override {
    *v = d_.weight;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE get_Charset(SHORT* v) override {
    *v = d_.charset;
    return S_OK;
  }
  HRESULT JV_STDMETHODCALLTYPE put_Name(BSTR) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Size(CY) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Bold(BOOL) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Italic(BOOL) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Underline(BOOL) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Strikethrough(BOOL) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Weight(SHORT) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE put_Charset(SHORT) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE get_hFont(HFONT*) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE Clone(IFont**) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE IsEqual(IFont*) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE SetRatio(LONG, LONG) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE QueryTextMetrics(TEXTMETRICOLE*) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE AddRefHfont(HFONT) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE ReleaseHfont(HFONT) override { return E_NOTIMPL; }
  HRESULT JV_STDMETHODCALLTYPE SetHdc(HDC) override { return E_NOTIMPL; }

 private:
  ~ForeignFont() override = default;
  static HRESULT Flag(bool flag, BOOL* out) {
    *out = flag ? 1 : 0;
    return S_OK;
  }
  FontDescription d_;
};

// An initialised instance whose SDate is `sdate` and whose font is `font`.
ComPtr<_ctrJornavista> InstanceWith(const Text& sdate, IFont* font) {
  ComPtr<_ctrJornavista> c = NewInstance();
  EXPECT_EQ(PersistOf(c.get())->InitNew(), S_OK);
  BSTR text = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(sdate.data()),
                                static_cast<std::uint32_t>(sdate.size()));
  EXPECT_EQ(c->put_SDate(text), S_OK);
  SysFreeString(text);
  if (font != nullptr) {
    EXPECT_EQ(c->putref_Font(font), S_OK);
  }
  return c;
}

struct SaveCase {
  const char* what;
  std::size_t sdate_units;
  std::size_t font_name_units;  // 0: the instance's own font
  FontDescription font_values;  // with font_name_units 0 and these not the default: a foreign font
  HRESULT expected;
};

class SaveLimits : public ::testing::TestWithParam<SaveCase> {};

// One set of limits for both directions: what the save refuses it refuses with a
// status that says why, and what it writes loads into a second instance equal.
TEST_P(SaveLimits, TheSaveRefusesWhatTheLoadWouldRefuseAndWhatItWritesLoadsBackEqual) {
  const SaveCase& c = GetParam();
  FontRef font;
  if (c.font_name_units > 0) {
    FontDescription d;
    d.name = Text(c.font_name_units, u'F');
    ASSERT_EQ(CreateStdFont(d, font.put()), S_OK);
  } else if (!(c.font_values == FontDescription{})) {
    *font.put() = new ForeignFont(c.font_values);
  }
  ComPtr<_ctrJornavista> first = InstanceWith(Text(c.sdate_units, u'7'), font.get());
  std::vector<std::uint8_t> bytes = {1, 2, 3};
  ASSERT_EQ(SaveRecordBytes(*PersistOf(first.get()).get(), true, &bytes), c.expected) << c.what;
  if (c.expected != S_OK) {
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{1, 2, 3})) << c.what << ": nothing written";
    return;
  }
  ComPtr<_ctrJornavista> second = NewInstance();
  ASSERT_EQ(LoadRecordBytes(*PersistOf(second.get()).get(), bytes), S_OK) << c.what;
  EXPECT_EQ(SDateOf(second.get()).size(), c.sdate_units) << c.what;
  EXPECT_EQ(SDateOf(second.get()), SDateOf(first.get())) << c.what;
  FontRef saved, loaded;
  ASSERT_EQ(first->get_Font(saved.put()), S_OK);
  ASSERT_EQ(second->get_Font(loaded.put()), S_OK);
  FontDescription want, got;
  ASSERT_EQ(DescribeFont(saved.get(), &want), S_OK);
  ASSERT_EQ(DescribeFont(loaded.get(), &got), S_OK);
  EXPECT_TRUE(got == want) << c.what;
}

// The instance's own font is MS Sans Serif, so its record takes 195 bytes besides
// SDate's two a unit: 524,190 units are the most that fit in the 1 MiB body.
const SaveCase kSaveCases[] = {
    {"the longest SDate that fits", 524'190, 0, {}, S_OK},
    {"one unit more than fits", 524'191, 0, {}, kRecordTooLarge},
    {"the most the bag took before", 524'288, 0, {}, kRecordTooLarge},
    {"more than the bag takes", 524'289, 0, {}, kRecordTooLarge},
    {"the longest font name", 10, 65'535, {}, S_OK},
    {"a font name past the 16-bit length", 10, 65'536, {}, kRecordTooLarge},
    {"a container's font of weight 700", 10, 0, {u"Tahoma", 90000, true, false, false, false, 700, 0}, S_OK},
    {"a container's font of weight 1200", 10, 0, {u"Tahoma", 90000, true, false, false, false, 1200, 0},
     kRecordValueRefused},
    {"a container's font of weight -1", 10, 0, {u"Tahoma", 90000, false, false, false, false, -1, 0},
     kRecordValueRefused},
    {"a container's font of size 0", 10, 0, {u"Tahoma", 0, false, false, false, false, 400, 0},
     kRecordValueRefused},
    {"a container's font without a name", 10, 0, {u"", 90000, false, false, false, false, 400, 0},
     kRecordValueRefused},
    {"a container's font of charset 256", 10, 0, {u"Tahoma", 90000, false, false, false, false, 400, 256},
     kRecordValueRefused},
};
INSTANTIATE_TEST_SUITE_P(PropertyRecordTest, SaveLimits, ValuesIn(kSaveCases));

// A record whose one entry is a font with these values, written byte by byte: the
// writer itself refuses the ones the font refuses.
std::vector<std::uint8_t> FontRecord(const Text& name, std::int64_t size, std::int16_t weight,
                                     std::int16_t charset) {
  std::vector<std::uint8_t> body;
  auto u16 = [&](std::uint16_t v) { body.insert(body.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
  u16(4);
  for (char16_t ch : std::u16string_view(u"Font")) u16(ch);
  u16(VT_DISPATCH);
  u16(static_cast<std::uint16_t>(name.size()));
  for (char16_t ch : name) u16(ch);
  for (int i = 0; i < 8; ++i) body.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(size) >> (8 * i)));
  u16(static_cast<std::uint16_t>(weight));
  u16(static_cast<std::uint16_t>(charset));
  body.push_back(0);
  std::vector<std::uint8_t> bytes = {'J', 'V', 'P', 'S', 1, 0, 1, 0};
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(body.size() >> (8 * i)));
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

struct LoadCase {
  const char* what;
  std::vector<std::uint8_t> bytes;
  HRESULT expected;
};

class LoadChecks : public ::testing::TestWithParam<LoadCase> {};

// A record that is refused changes nothing: not BackColor before the bad value,
// not the font, not SDate; and the instance still takes a good record afterwards.
TEST_P(LoadChecks, ARefusedRecordAppliesNothing) {
  const LoadCase& c = GetParam();
  ComPtr<_ctrJornavista> target = NewInstance();
  const Text sdate = SDateOf(target.get());
  FontRef font_before;
  ASSERT_EQ(target->get_Font(font_before.put()), S_OK);
  std::vector<std::uint8_t> bytes = c.bytes;
  ASSERT_EQ(LoadRecordBytes(*PersistOf(target.get()).get(), bytes), c.expected) << c.what;
  if (c.expected == S_OK) return;
  OLE_COLOR color = 1;
  ASSERT_EQ(target->get_BackColor(&color), S_OK);
  EXPECT_EQ(color, 0u) << c.what;
  EXPECT_EQ(SDateOf(target.get()), sdate) << c.what;
  FontRef font_after;
  ASSERT_EQ(target->get_Font(font_after.put()), S_OK);
  EXPECT_EQ(font_after.get(), font_before.get()) << c.what;
  const std::vector<std::uint8_t> good = Encoded(std::vector<NamedProperty>{{u"BackColor", std::int32_t{9}}});
  EXPECT_EQ(LoadRecordBytes(*PersistOf(target.get()).get(), good), S_OK) << c.what;
  ASSERT_EQ(target->get_BackColor(&color), S_OK);
  EXPECT_EQ(color, 9u) << c.what;
}

// BackColor first, then the value the control cannot take.
std::vector<std::uint8_t> AfterBackColor(const char16_t* name, PropertyValue value) {
  return Encoded(std::vector<NamedProperty>{{u"BackColor", std::int32_t{255}}, {name, std::move(value)}});
}

const LoadCase kLoadCases[] = {
    {"BackStyle an I4 of 70000", AfterBackColor(u"BackStyle", std::int32_t{70000}), STG_E_DOCFILECORRUPT},
    {"BorderStyle an I4 of -40000", AfterBackColor(u"BorderStyle", std::int32_t{-40000}), STG_E_DOCFILECORRUPT},
    {"Enabled a text that is no number", AfterBackColor(u"Enabled", Text(u"yes please")), STG_E_DOCFILECORRUPT},
    {"Font a number", AfterBackColor(u"Font", std::int16_t{3}), STG_E_DOCFILECORRUPT},
    {"ForeColor a font", AfterBackColor(u"ForeColor", FontDescription{}), STG_E_DOCFILECORRUPT},
    {"SDate no font", AfterBackColor(u"SDate", NoFont{}), STG_E_DOCFILECORRUPT},
    {"a font of weight 1001", FontRecord(u"Arial", 90000, 1001, 0), STG_E_DOCFILECORRUPT},
    {"a font of weight -1", FontRecord(u"Arial", 90000, -1, 0), STG_E_DOCFILECORRUPT},
    {"a font of size 0", FontRecord(u"Arial", 0, 400, 0), STG_E_DOCFILECORRUPT},
    {"a font of size -1", FontRecord(u"Arial", -1, 400, 0), STG_E_DOCFILECORRUPT},
    {"a font without a name", FontRecord(u"", 90000, 400, 0), STG_E_DOCFILECORRUPT},
    {"a font of charset 256", FontRecord(u"Arial", 90000, 400, 256), STG_E_DOCFILECORRUPT},
    // What converts loads: the checks refuse no more than the control does.
    {"a font the font takes", FontRecord(u"Arial", 90000, 1000, 255), S_OK},
    {"BackColor a text that holds a number", AfterBackColor(u"ForeColor", Text(u"255")), S_OK},
    {"BackStyle an I4 of 32767", AfterBackColor(u"BackStyle", std::int32_t{32767}), S_OK},
    {"a name that is no property", AfterBackColor(u"Other", std::int32_t{70000}), S_OK},
};
INSTANTIATE_TEST_SUITE_P(PropertyRecordTest, LoadChecks, ValuesIn(kLoadCases));

TEST(PropertyRecordTest, TheWriterRefusesNamesTheReaderRefuses) {
  std::vector<std::uint8_t> bytes;
  const std::vector<NamedProperty> twice = {{u"x", std::int16_t{1}}, {u"x", std::int16_t{2}}};
  EXPECT_EQ(EncodeRecord(twice, &bytes), kRecordValueRefused) << "a name twice";
  EXPECT_EQ(EncodeRecord(std::vector<NamedProperty>{{u"", std::int16_t{1}}}, &bytes), kRecordValueRefused);
  EXPECT_EQ(EncodeRecord(std::vector<NamedProperty>{{Text(65'536, u'n'), std::int16_t{1}}}, &bytes),
            kRecordTooLarge);
  EXPECT_TRUE(bytes.empty());
  // The bag refuses a font the standard font would not make again.
  ComPtr<PropertyRecord> record = NewRecord();
  FontRef heavy;
  *heavy.put() = new ForeignFont({u"Tahoma", 90000, true, false, false, false, 1200, 0});
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_UNKNOWN;
  v.punkVal = heavy.get();
  EXPECT_EQ(record->Write(reinterpret_cast<LPCOLESTR>(u"Font"), &v), kRecordValueRefused);
  EXPECT_TRUE(record->properties().empty());
}

}  // namespace
}  // namespace jv::housing
