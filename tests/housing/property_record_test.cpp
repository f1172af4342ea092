// The property record that IPersistStreamInit and IPersistStorage carry: all seven
// properties survive a save into it, its binary form and a load into a second
// instance; a damaged or cut record is refused and leaves the target as it was.
#include <gtest/gtest.h>

#include "housing/jornavista_ids.h"
#include "housing/jornavista_object.h"
#include "housing/property_record.h"

namespace jv::housing {
namespace {

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
  ASSERT_EQ(DecodeRecord(EncodeRecord(saved->properties()), &decoded), S_OK);

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
      {u"a", std::int16_t{-2}}, {u"b", std::int32_t{-70000}}, {u"c", Truth{true}},
      {u"d", Text(u"x\u00e9\U0001F600")}, {u"e", NoFont{}}, {u"f", Text()},
  };
  std::vector<NamedProperty> decoded;
  ASSERT_EQ(DecodeRecord(EncodeRecord(all), &decoded), S_OK);
  ASSERT_EQ(decoded.size(), all.size());
  for (std::size_t i = 0; i < all.size(); ++i) {
    EXPECT_EQ(decoded[i].name, all[i].name);
    EXPECT_TRUE(decoded[i].value == all[i].value) << i;
  }
}

TEST(PropertyRecordTest, EveryCutOfARecordIsRefusedAndWritesNothing) {
  const std::vector<std::uint8_t> bytes =
      EncodeRecord(std::vector<NamedProperty>{{u"SDate", Text(u"1/2/2003")}, {u"Font", FontDescription{}}});
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    std::vector<NamedProperty> out = {{u"kept", std::int16_t{1}}};
    const HRESULT hr = DecodeRecord(std::span(bytes).first(n), &out);
    EXPECT_EQ(hr, STG_E_READFAULT) << n << " bytes";
    EXPECT_EQ(out.size(), 1u) << n << " bytes";
  }
}

TEST(PropertyRecordTest, DamagedRecordsAreRefusedWithTheirReason) {
  const std::vector<std::uint8_t> good = EncodeRecord(std::vector<NamedProperty>{{u"BackStyle", std::int16_t{3}}});
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
  std::vector<NamedProperty> twice = {{u"x", std::int16_t{1}}, {u"x", std::int16_t{2}}};
  std::vector<NamedProperty> out;
  EXPECT_EQ(DecodeRecord(EncodeRecord(twice), &out), STG_E_DOCFILECORRUPT) << "a name twice";
  std::vector<std::uint8_t> bad_bool = EncodeRecord(std::vector<NamedProperty>{{u"e", Truth{true}}});
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

}  // namespace
}  // namespace jv::housing
