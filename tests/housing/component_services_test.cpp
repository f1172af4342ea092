// The runtime's generic pieces a component is made of: GUID text, the enumerators
// over connections, and the font's dispatch view.
#include <gtest/gtest.h>

#include "platform/automation/font_disp.h"
#include "platform/automation/std_font.h"
#include "platform/component/connection_point.h"
#include "platform/component/guid_text.h"
#include "tests/housing/test_support.h"

namespace jv::component {
namespace {

TEST(GuidTextTest, ReadsTheRegistryFormAndRefusesTheRest) {
  const GUID g = {0x0B40D233, 0xB738, 0x4C5D, {0x89, 0xF6, 0x6B, 0x40, 0x92, 0xC2, 0x6C, 0xC0}};
  EXPECT_EQ(GuidToString(g), "{0B40D233-B738-4C5D-89F6-6B4092C26CC0}");
  struct Case {
    const char* text;
    bool ok;
  };
  const Case cases[] = {
      {"{0B40D233-B738-4C5D-89F6-6B4092C26CC0}", true},  {"0b40d233-b738-4c5d-89f6-6b4092c26cc0", true},
      {"{0B40D233-B738-4C5D-89F6-6B4092C26CC0", false},  {"{0B40D233-B738-4C5D-89F66B4092C26CC0-}", false},
      {"{0B40D233-B738-4C5D-89F6-6B4092C26CCG}", false}, {"", false},
      {"JornavistaControl.ctrJornavista", false},
  };
  for (const Case& c : cases) {
    GUID out{};
    EXPECT_EQ(ParseGuid(c.text, &out), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(out, g) << c.text;
    }
  }
}

// A container of one point, as an object holds its points.
class PointOwner final : public testing::TestObject<IConnectionPointContainer> {
 public:
  HRESULT EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT FindConnectionPoint(REFIID, IConnectionPoint**) override { return E_NOTIMPL; }
  ConnectionPoint point{*this, IID_IPropertyNotifySink, false};
};

TEST(ConnectionPointTest, EnumeratorsWalkASnapshot) {
  auto owner = ComPtr<PointOwner>::Adopt(new PointOwner());
  std::vector<ComPtr<testing::NotifySink>> sinks;
  for (int i = 0; i < 3; ++i) {
    sinks.push_back(ComPtr<testing::NotifySink>::Adopt(new testing::NotifySink()));
    DWORD cookie = 0;
    ASSERT_EQ(owner->point.Advise(sinks.back().get(), &cookie), S_OK);
    EXPECT_EQ(cookie, static_cast<DWORD>(i + 1));
  }
  ComPtr<IEnumConnections> walk;
  ASSERT_EQ(owner->point.EnumConnections(walk.put()), S_OK);
  ASSERT_EQ(owner->point.Unadvise(2), S_OK);  // after the snapshot: still listed
  CONNECTDATA data[2] = {};
  EXPECT_EQ(walk->Next(2, data, nullptr), E_INVALIDARG) << "a count above one needs a fetched count";
  EXPECT_EQ(walk->Skip(1), S_OK);
  ComPtr<IEnumConnections> copy;
  ASSERT_EQ(walk->Clone(copy.put()), S_OK);
  ULONG fetched = 0;
  EXPECT_EQ(copy->Next(2, data, &fetched), S_OK);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[0].dwCookie, 2u);
  EXPECT_EQ(data[1].dwCookie, 3u);
  for (CONNECTDATA& d : data) d.pUnk->Release();
  EXPECT_EQ(copy->Next(1, data, nullptr), S_FALSE);
  EXPECT_EQ(walk->Skip(5), S_FALSE);
  EXPECT_EQ(walk->Reset(), S_OK);
  EXPECT_EQ(walk->Next(1, data, nullptr), S_OK);
  EXPECT_EQ(data[0].dwCookie, 1u);
  data[0].pUnk->Release();
  EXPECT_EQ(owner->refs(), 1u) << "the point shares its owner's count and holds none itself";
}

TEST(FontDispatchTest, EveryPropertyByItsStandardId) {
  IFont* raw = nullptr;
  ASSERT_EQ(CreateStdFont(FontDescription{}, &raw), S_OK);
  FontRef font = FontRef::Adopt(raw);
  ComPtr<IDispatch> face;
  ASSERT_EQ(font->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(face.put())), S_OK);
  struct Case {
    const char16_t* name;
    DISPID id;
    Variant put;
    HRESULT hr;
  };
  const Case cases[] = {
      {u"Name", DISPID_FONT_NAME, Variant::Str(u"Arial"), S_OK},
      {u"Name", DISPID_FONT_NAME, Variant::Str(u""), E_INVALIDARG},
      {u"Size", DISPID_FONT_SIZE, Variant::R8(12.5), S_OK},
      {u"Size", DISPID_FONT_SIZE, Variant::I4(0), E_INVALIDARG},
      {u"bold", DISPID_FONT_BOLD, Variant::Bool(true), S_OK},
      {u"Italic", DISPID_FONT_ITALIC, Variant::I4(1), S_OK},
      {u"Underline", DISPID_FONT_UNDER, Variant::Str(u"True"), S_OK},
      {u"Strikethrough", DISPID_FONT_STRIKE, Variant::Str(u"maybe"), DISP_E_TYPEMISMATCH},
      {u"Weight", DISPID_FONT_WEIGHT, Variant::I2(800), S_OK},
      {u"Charset", DISPID_FONT_CHARSET, Variant::I2(256), E_INVALIDARG},
  };
  for (const Case& c : cases) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    DISPID id = 0;
    EXPECT_EQ(face->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK) << ToUtf8Lossy(c.name);
    EXPECT_EQ(id, c.id) << ToUtf8Lossy(c.name);
    EXPECT_EQ(testing::InvokePut(face.get(), c.id, c.put), c.hr) << ToUtf8Lossy(c.name);
  }
  FontDescription d;
  ASSERT_EQ(DescribeFont(font.get(), &d), S_OK);
  EXPECT_EQ(d.name, u"Arial");
  EXPECT_EQ(d.size_cy, 125000);
  EXPECT_TRUE(d.bold && d.italic && d.underline && !d.strikethrough);
  EXPECT_EQ(d.weight, 800);
  Variant bold;
  ASSERT_EQ(testing::InvokeGet(face.get(), DISPID_FONT_BOLD, &bold), S_OK);
  EXPECT_EQ(bold.vt(), VT_BOOL);
  EXPECT_EQ(bold.raw().boolVal, VARIANT_TRUE);
  Variant none;
  EXPECT_EQ(testing::InvokeGet(face.get(), 1, &none), DISP_E_MEMBERNOTFOUND);
  ComPtr<IUnknown> a, b;
  ASSERT_EQ(face->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(a.put())), S_OK);
  ASSERT_EQ(font->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(b.put())), S_OK);
  EXPECT_EQ(a.get(), b.get()) << "the face answers the font's identity";
}

}  // namespace
}  // namespace jv::component
