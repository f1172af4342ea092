// A client that knows only the library file, its four entry points and the
// published identifiers: creation, every member by id and by name, Invoke's
// failures, both outgoing interfaces, persistence, and balanced reference counts.
#include <gtest/gtest.h>

#include "housing/jornavista_ids.h"
#include "platform/automation/font_disp.h"
#include "platform/automation/std_font.h"
#include "platform/component/component_library.h"
#include "platform/dates/calendar.h"
#include "tests/housing/test_support.h"

namespace jv::testing {
namespace {

using component::ComponentLibrary;
namespace ids = jornavista;

class ClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(ComponentLibrary::Load(JV_OCX_PATH, &library_, &error), S_OK) << error;
    ASSERT_EQ(library_->GetClassObject(ids::CLSID_ctrJornavista, IID_IClassFactorySite,
                                       reinterpret_cast<void**>(factory_.put())),
              S_OK);
    site_ = ComPtr<TestSite>::Adopt(new TestSite());
    DATE today = 0;
    ASSERT_EQ(dates::FromCivil({2003, 11, 9}, &today), S_OK);
    site_->runtime().clock().Set(today);
    IFont* font = nullptr;
    ASSERT_EQ(CreateStdFont(FontDescription{}, &font), S_OK);
    site_->SetAmbientFont(FontRef::Adopt(font));
  }

  void TearDown() override {
    factory_.reset();
    site_.reset();
    EXPECT_EQ(LiveTestObjects(), 0) << "a test object is still referenced";
    EXPECT_EQ(LiveStdFontCount(), 0u) << "a font is still referenced";
    EXPECT_EQ(library_->CanUnloadNow(), S_OK) << "the library still counts a live object or lock";
    EXPECT_EQ(library_->Unload(), S_OK);
  }

  // A new instance on the test's site, initialised as a new document's.
  ComPtr<IDispatch> Create(bool init_new = true) {
    ComPtr<IDispatch> d;
    EXPECT_EQ(factory_->CreateInstanceOnSite(site_.get(), IID_IDispatch, reinterpret_cast<void**>(d.put())),
              S_OK);
    if (d && init_new) {
      ComPtr<IPersistPropertyBag> persist;
      EXPECT_EQ(d->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())), S_OK);
      EXPECT_EQ(persist->InitNew(), S_OK);
    }
    return d;
  }

  // The property-notify connection point of `d`, with a new sink connected to it.
  ComPtr<IConnectionPoint> ConnectNotifySink(IDispatch* d, ComPtr<NotifySink>* sink, DWORD* cookie) {
    ComPtr<IConnectionPointContainer> cpc;
    EXPECT_EQ(d->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.put())), S_OK);
    ComPtr<IConnectionPoint> cp;
    EXPECT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, cp.put()), S_OK);
    *sink = ComPtr<NotifySink>::Adopt(new NotifySink());
    EXPECT_EQ(cp->Advise(sink->get(), cookie), S_OK);
    return cp;
  }

  Text DateText(int y, int m, int d) {
    DATE date = 0;
    Text text;
    EXPECT_EQ(dates::FromCivil({y, m, d}, &date), S_OK);
    EXPECT_EQ(site_->runtime().dates().FormatShortDate(date, &text), S_OK);
    return text;
  }

  std::unique_ptr<ComponentLibrary> library_;
  ComPtr<IClassFactorySite> factory_;
  ComPtr<TestSite> site_;
};

Variant Get(IDispatch* d, DISPID id) {
  Variant v;
  EXPECT_EQ(InvokeGet(d, id, &v), S_OK) << "get of " << id;
  return v;
}

TEST_F(ClientTest, EveryPropertyIsWrittenAndReadBackById) {
  ComPtr<IDispatch> d = Create();
  struct Case {
    const char* name;
    DISPID id;
    Variant put;
    VARTYPE vt;
    std::int64_t expected;  // the integer read back, for the numeric properties
  };
  const Case cases[] = {
      {"BackColor", ids::DISPID_BackColor, Variant::I4(255), VT_I4, 255},
      {"BackColor system colour", ids::DISPID_BackColor, Variant::R8(2147483653.0), VT_I4,
       static_cast<std::int32_t>(0x80000005u)},
      {"ForeColor from text", ids::DISPID_ForeColor, Variant::Str(u" 4660 "), VT_I4, 4660},
      {"Enabled", ids::DISPID_Enabled, Variant::I4(5), VT_BOOL, VARIANT_TRUE},
      {"Enabled false", ids::DISPID_Enabled, Variant::Bool(false), VT_BOOL, VARIANT_FALSE},
      {"BackStyle", ids::DISPID_BackStyle, Variant::I2(-1), VT_I2, -1},
      {"BorderStyle from a hex literal", ids::DISPID_BorderStyle, Variant::Str(u"&H7"), VT_I2, 7},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InvokePut(d.get(), c.id, c.put), S_OK) << c.name;
    const Variant v = Get(d.get(), c.id);
    ASSERT_EQ(v.vt(), c.vt) << c.name;
    const std::int64_t got = c.vt == VT_I4 ? v.raw().lVal : c.vt == VT_I2 ? v.raw().iVal : v.raw().boolVal;
    EXPECT_EQ(got, c.expected) << c.name;
  }
  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_SDate, Variant::Str(u"abc")), S_OK);
  const Variant sdate = Get(d.get(), ids::DISPID_SDate);
  ASSERT_EQ(sdate.vt(), VT_BSTR);
  EXPECT_EQ(TextView(reinterpret_cast<char16_t*>(sdate.raw().bstrVal)), u"abc");
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(d->Invoke(ids::DISPID_Refresh, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
            S_OK);
}

TEST_F(ClientTest, ANewInstanceStartsOnTodayWithTheDefaults) {
  ComPtr<IDispatch> d = Create();
  const Variant sdate = Get(d.get(), ids::DISPID_SDate);
  ASSERT_EQ(sdate.vt(), VT_BSTR);
  EXPECT_EQ(TextView(reinterpret_cast<char16_t*>(sdate.raw().bstrVal)), DateText(2003, 11, 9));
  EXPECT_EQ(Get(d.get(), ids::DISPID_BackColor).raw().lVal, 0);
  EXPECT_EQ(Get(d.get(), ids::DISPID_Enabled).raw().boolVal, VARIANT_FALSE);
  // The ambient font, the very object the site handed over.
  const Variant font = Get(d.get(), ids::DISPID_Font);
  ASSERT_EQ(font.vt(), VT_DISPATCH);
  FontRef got;
  ASSERT_EQ(font.raw().pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(got.put())), S_OK);
  FontRef ambient;
  ASSERT_EQ(site_->GetAmbientFont(ambient.put()), S_OK);
  EXPECT_EQ(got.get(), ambient.get());
}

TEST_F(ClientTest, WithoutASiteTheInstanceRunsOnTheSystemClock) {
  ComPtr<IDispatch> d;
  ASSERT_EQ(factory_->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(d.put())), S_OK);
  Text expected;
  ASSERT_EQ(site_->runtime().dates().FormatShortDate(dates::SystemToday(), &expected), S_OK);
  const Variant sdate = Get(d.get(), ids::DISPID_SDate);
  EXPECT_EQ(TextView(reinterpret_cast<char16_t*>(sdate.raw().bstrVal)), expected);
  // Its own ambient font stands in for the container's.
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(d->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())), S_OK);
  EXPECT_EQ(persist->InitNew(), S_OK);
  EXPECT_EQ(Get(d.get(), ids::DISPID_Font).vt(), VT_DISPATCH);
}

TEST_F(ClientTest, MembersAndPutParametersAreFoundByName) {
  ComPtr<IDispatch> d = Create();
  struct Case {
    const char16_t* name;
    const char16_t* param;
    DISPID id;
  };
  const Case cases[] = {
      {u"BackColor", u"New_BackColor", ids::DISPID_BackColor},
      {u"forecolor", u"NEW_FORECOLOR", ids::DISPID_ForeColor},
      {u"Enabled", u"New_Enabled", ids::DISPID_Enabled},
      {u"Font", u"New_Font", ids::DISPID_Font},
      {u"BackStyle", u"New_BackStyle", ids::DISPID_BackStyle},
      {u"BorderStyle", u"New_BorderStyle", ids::DISPID_BorderStyle},
      {u"SDATE", u"New_SDate", ids::DISPID_SDate},
  };
  for (const Case& c : cases) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name), const_cast<LPOLESTR>(c.param)};
    DISPID got[2] = {0, 0};
    EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 2, 0x0409, got), S_OK) << ToUtf8Lossy(c.name);
    EXPECT_EQ(got[0], c.id) << ToUtf8Lossy(c.name);
    EXPECT_EQ(got[1], 0) << ToUtf8Lossy(c.param);
    // Bound by name, the member works as by id.
    Variant v;
    EXPECT_EQ(InvokeGet(d.get(), got[0], &v), S_OK) << ToUtf8Lossy(c.name);
  }
  LPOLESTR refresh[] = {const_cast<LPOLESTR>(u"Refresh")};
  DISPID id = 0;
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, refresh, 1, 0, &id), S_OK);
  EXPECT_EQ(id, ids::DISPID_Refresh);

  LPOLESTR unknown[] = {const_cast<LPOLESTR>(u"SDate"), const_cast<LPOLESTR>(u"Nope")};
  DISPID got[2] = {0, 0};
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 2, 0, got), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(got[0], ids::DISPID_SDate);
  EXPECT_EQ(got[1], DISPID_UNKNOWN);
  LPOLESTR none[] = {const_cast<LPOLESTR>(u"Caption")};
  EXPECT_EQ(d->GetIDsOfNames(IID_NULL, none, 1, 0, got), DISP_E_UNKNOWNNAME);
  EXPECT_EQ(got[0], DISPID_UNKNOWN);
  EXPECT_EQ(d->GetIDsOfNames(IID_IDispatch, none, 1, 0, got), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(ClientTest, InvokeReportsEachStandardFailure) {
  ComPtr<IDispatch> d = Create();
  VARIANT one = Variant::I2(1).Detach();
  VARIANT two[2] = {Variant::I2(1).Detach(), Variant::I2(2).Detach()};
  VARIANT text = Variant::Str(u"abc").Detach();
  VARIANT big = Variant::I4(70000).Detach();
  VARIANT missing = Variant::Error(DISP_E_PARAMNOTFOUND).Detach();
  VARIANT null = Variant::Null().Detach();
  DISPID put = DISPID_PROPERTYPUT;
  DISPID other = 5;
  DISPID two_names[2] = {DISPID_PROPERTYPUT, 1};
  struct Case {
    const char* name;
    DISPID id;
    IID riid;
    WORD flags;
    DISPPARAMS params;
    HRESULT expected;
    UINT arg_err;  // ~0u: not set
  };
  const UINT kUnset = ~0u;
  const Case cases[] = {
      {"unknown dispatch id",
       0x12345,
       IID_NULL,
       DISPATCH_PROPERTYGET,
       {nullptr, nullptr, 0, 0},
       DISP_E_MEMBERNOTFOUND,
       kUnset},
      {"interface id not null",
       ids::DISPID_SDate,
       IID_IDispatch,
       DISPATCH_PROPERTYGET,
       {nullptr, nullptr, 0, 0},
       DISP_E_UNKNOWNINTERFACE,
       kUnset},
      {"get with an argument",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYGET,
       {&one, nullptr, 1, 0},
       DISP_E_BADPARAMCOUNT,
       kUnset},
      {"get with a named argument",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYGET,
       {&one, &other, 1, 1},
       DISP_E_NONAMEDARGS,
       kUnset},
      {"put without its value",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {nullptr, nullptr, 0, 0},
       DISP_E_BADPARAMCOUNT,
       kUnset},
      {"put of two values",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {two, two_names, 2, 2},
       DISP_E_BADPARAMCOUNT,
       kUnset},
      {"put not named as a put",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&one, nullptr, 1, 0},
       DISP_E_PARAMNOTFOUND,
       kUnset},
      {"put named otherwise",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&one, &other, 1, 1},
       DISP_E_PARAMNOTFOUND,
       kUnset},
      {"missing argument",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&missing, &put, 1, 1},
       DISP_E_PARAMNOTOPTIONAL,
       kUnset},
      {"text that is no number",
       ids::DISPID_BackStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&text, &put, 1, 1},
       DISP_E_TYPEMISMATCH,
       0},
      {"beyond 16 bits",
       ids::DISPID_BorderStyle,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&big, &put, 1, 1},
       DISP_E_OVERFLOW,
       0},
      {"Null to a string",
       ids::DISPID_SDate,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&null, &put, 1, 1},
       DISP_E_TYPEMISMATCH,
       0},
      {"a number for the font",
       ids::DISPID_Font,
       IID_NULL,
       DISPATCH_PROPERTYPUTREF,
       {&one, &put, 1, 1},
       DISP_E_TYPEMISMATCH,
       0},
      {"put-by-reference of a value property",
       ids::DISPID_BackColor,
       IID_NULL,
       DISPATCH_PROPERTYPUTREF,
       {&one, &put, 1, 1},
       DISP_E_MEMBERNOTFOUND,
       kUnset},
      {"put by value of the font",
       ids::DISPID_Font,
       IID_NULL,
       DISPATCH_PROPERTYPUT,
       {&one, &put, 1, 1},
       DISP_E_MEMBERNOTFOUND,
       kUnset},
      {"Refresh as a property",
       ids::DISPID_Refresh,
       IID_NULL,
       DISPATCH_PROPERTYGET,
       {nullptr, nullptr, 0, 0},
       DISP_E_MEMBERNOTFOUND,
       kUnset},
      {"Refresh with an argument",
       ids::DISPID_Refresh,
       IID_NULL,
       DISPATCH_METHOD,
       {&one, nullptr, 1, 0},
       DISP_E_BADPARAMCOUNT,
       kUnset},
      {"no kind of call",
       ids::DISPID_SDate,
       IID_NULL,
       0,
       {nullptr, nullptr, 0, 0},
       DISP_E_MEMBERNOTFOUND,
       kUnset},
  };
  for (const Case& c : cases) {
    DISPPARAMS params = c.params;
    UINT arg_err = kUnset;
    Variant result;
    EXPECT_EQ(d->Invoke(c.id, c.riid, 0x0409, c.flags, &params, result.put(), nullptr, &arg_err), c.expected)
        << c.name;
    EXPECT_EQ(arg_err, c.arg_err) << c.name;
  }
  EXPECT_EQ(Get(d.get(), ids::DISPID_BackStyle).raw().iVal, 0) << "no failed put stored anything";
  for (VARIANT* v : {&one, &two[0], &two[1], &text, &big, &missing, &null}) VariantClear(v);
}

TEST_F(ClientTest, AMembersOwnFailureIsItsStatus) {
  ComPtr<IDispatch> d = Create();
  ComPtr<NotifySink> sink;
  DWORD cookie = 0;
  const ComPtr<IConnectionPoint> cp = ConnectNotifySink(d.get(), &sink, &cookie);

  headless::FaultInjector& faults = site_->runtime().faults();
  faults.Arm(headless::Operation::txtDate_Text_put, 0, E_ACCESSDENIED);
  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_SDate, Variant::Str(u"x")), E_ACCESSDENIED);
  EXPECT_TRUE(sink->changed.empty()) << "a put that failed to store notifies nobody";
  faults.DisarmAll();

  faults.Arm(headless::Operation::txtDate_Text_get, 0, E_FAIL);
  Variant v;
  EXPECT_EQ(InvokeGet(d.get(), ids::DISPID_SDate, &v), E_FAIL);
  faults.DisarmAll();

  // The notification fails: the put reports it, and the value is stored all the same.
  faults.Arm(headless::Operation::PropertyChanged, 0, E_FAIL);
  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_BackColor, Variant::I4(7)), E_FAIL);
  faults.DisarmAll();
  EXPECT_EQ(Get(d.get(), ids::DISPID_BackColor).raw().lVal, 7);
  EXPECT_EQ(cp->Unadvise(cookie), S_OK);
}

TEST_F(ClientTest, FontIsPutAndReadByReference) {
  ComPtr<IDispatch> d = Create();
  IFont* raw = nullptr;
  ASSERT_EQ(CreateStdFont({u"Arial", 120000}, &raw), S_OK);
  FontRef font = FontRef::Adopt(raw);
  ComPtr<IFontDisp> face;
  ASSERT_EQ(font->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(face.put())), S_OK);
  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_Font, Variant::Object(face.get()), DISPATCH_PROPERTYPUTREF), S_OK);

  const Variant got = Get(d.get(), ids::DISPID_Font);
  ASSERT_EQ(got.vt(), VT_DISPATCH);
  ComPtr<IUnknown> identity, expected;
  ASSERT_EQ(got.raw().pdispVal->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.put())), S_OK);
  ASSERT_EQ(font->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(expected.put())), S_OK);
  EXPECT_EQ(identity.get(), expected.get()) << "the same object, not a copy";

  // A change the host makes to its font is what Font then reports.
  EXPECT_EQ(InvokePut(face.get(), DISPID_FONT_SIZE, Variant::I4(14)), S_OK);
  Variant size;
  ASSERT_EQ(InvokeGet(got.raw().pdispVal, DISPID_FONT_SIZE, &size), S_OK);
  ASSERT_EQ(size.vt(), VT_CY);
  EXPECT_EQ(size.raw().cyVal.int64, 140000);

  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_Font, Variant::Object(nullptr), DISPATCH_PROPERTYPUTREF), S_OK);
  const Variant nothing = Get(d.get(), ids::DISPID_Font);
  EXPECT_EQ(nothing.vt(), VT_DISPATCH);
  EXPECT_EQ(nothing.raw().pdispVal, nullptr);
}

TEST_F(ClientTest, EveryPutReachesEachPropertySinkAndNoEventIsRaised) {
  ComPtr<IDispatch> d = Create();
  ComPtr<IConnectionPointContainer> cpc;
  ASSERT_EQ(d->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc.put())), S_OK);
  ComPtr<IConnectionPoint> notify, events;
  ASSERT_EQ(cpc->FindConnectionPoint(IID_IPropertyNotifySink, notify.put()), S_OK);
  ASSERT_EQ(cpc->FindConnectionPoint(ids::DIID___ctrJornavista, events.put()), S_OK);
  EXPECT_EQ(cpc->FindConnectionPoint(IID_IDispatch, ComPtr<IConnectionPoint>().put()),
            CONNECT_E_NOCONNECTION);

  auto first = ComPtr<NotifySink>::Adopt(new NotifySink());
  auto second = ComPtr<NotifySink>::Adopt(new NotifySink());
  second->answer = E_FAIL;  // one sink's failure does not keep the other from hearing
  auto event_sink = ComPtr<EventSink>::Adopt(new EventSink());
  DWORD c1 = 0, c2 = 0, c3 = 0;
  ASSERT_EQ(notify->Advise(second.get(), &c2), S_OK);
  ASSERT_EQ(notify->Advise(first.get(), &c1), S_OK);
  ASSERT_EQ(events->Advise(event_sink.get(), &c3), S_OK);
  DWORD refused = 0;
  EXPECT_EQ(events->Advise(first.get(), &refused), CONNECT_E_CANNOTCONNECT)
      << "a sink with neither the event interface nor IDispatch";
  EXPECT_NE(c1, c2);

  IFont* raw = nullptr;
  ASSERT_EQ(CreateStdFont(FontDescription{}, &raw), S_OK);
  const Variant font = Variant::Object(raw);
  raw->Release();
  struct Put {
    DISPID id;
    Variant value;
    WORD flags;
  };
  const Put puts[] = {
      {ids::DISPID_BackColor, Variant::I4(1), DISPATCH_PROPERTYPUT},
      {ids::DISPID_ForeColor, Variant::I4(1), DISPATCH_PROPERTYPUT},
      {ids::DISPID_Enabled, Variant::Bool(true), DISPATCH_PROPERTYPUT},
      {ids::DISPID_Font, font, DISPATCH_PROPERTYPUTREF},
      {ids::DISPID_BackStyle, Variant::I2(1), DISPATCH_PROPERTYPUT},
      {ids::DISPID_BorderStyle, Variant::I2(1), DISPATCH_PROPERTYPUT},
      {ids::DISPID_SDate, Variant::Str(u"1/1/2000"), DISPATCH_PROPERTYPUT},
      {ids::DISPID_BackStyle, Variant::I2(1), DISPATCH_PROPERTYPUT},  // unchanged value: told again
  };
  std::vector<DISPID> expected;
  for (const Put& p : puts) {
    EXPECT_EQ(InvokePut(d.get(), p.id, p.value, p.flags), S_OK) << p.id;
    expected.push_back(p.id);
  }
  EXPECT_EQ(first->changed, expected);
  EXPECT_EQ(second->changed, expected);

  // The user clicks a day and presses keys: SDate changes, no event is raised.
  first->changed.clear();
  ASSERT_EQ(site_->face().ClickCell(20), S_OK);
  ASSERT_EQ(site_->face().PressKey(39, 0), S_OK);
  EXPECT_EQ(first->changed, (std::vector<DISPID>{ids::DISPID_SDate, ids::DISPID_SDate}));
  EXPECT_TRUE(event_sink->raised.empty());

  ComPtr<IEnumConnections> listed;
  ASSERT_EQ(notify->EnumConnections(listed.put()), S_OK);
  CONNECTDATA data[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(listed->Next(3, data, &fetched), S_FALSE);
  ASSERT_EQ(fetched, 2u);
  EXPECT_EQ(data[0].dwCookie, c2);
  EXPECT_EQ(data[1].dwCookie, c1);
  for (ULONG i = 0; i < fetched; ++i) data[i].pUnk->Release();
  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(cpc->EnumConnectionPoints(points.put()), S_OK);
  IConnectionPoint* found[3] = {};
  EXPECT_EQ(points->Next(3, found, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  for (ULONG i = 0; i < fetched; ++i) found[i]->Release();

  EXPECT_EQ(notify->Unadvise(c1), S_OK);
  EXPECT_EQ(notify->Unadvise(c1), CONNECT_E_NOCONNECTION);
  EXPECT_EQ(notify->Unadvise(c2), S_OK);
  EXPECT_EQ(events->Unadvise(c3), S_OK);
  const std::size_t heard = first->changed.size();
  EXPECT_EQ(InvokePut(d.get(), ids::DISPID_BackColor, Variant::I4(2)), S_OK);
  EXPECT_EQ(first->changed.size(), heard) << "a disconnected sink hears nothing more";
}

TEST_F(ClientTest, TheInstanceOutlivesASinkThatDropsTheLastReference) {
  ComPtr<IDispatch> d = Create();
  ComPtr<NotifySink> sink;
  DWORD cookie = 0;
  ComPtr<IConnectionPoint> cp = ConnectNotifySink(d.get(), &sink, &cookie);
  ASSERT_EQ(cp->Unadvise(cookie + 100), CONNECT_E_NOCONNECTION);
  cp.reset();
  // The sink now holds the only reference and drops it inside the put's notice.
  IDispatch* last = d.Detach();
  sink->release_on_change = last;
  EXPECT_EQ(InvokePut(last, ids::DISPID_BackColor, Variant::I4(3)), S_OK);
  EXPECT_EQ(sink->release_on_change, nullptr);
  factory_.reset();
  EXPECT_EQ(library_->CanUnloadNow(), S_OK) << "the instance ended once the call returned";
  EXPECT_EQ(sink->refs(), 1u) << "and let go of its sink";
}

TEST_F(ClientTest, TheInstanceOutlivesASinkThatDropsItDuringAUsersClick) {
  ComPtr<IDispatch> d = Create();
  ComPtr<NotifySink> sink;
  DWORD cookie = 0;
  ConnectNotifySink(d.get(), &sink, &cookie);
  // The click publishes SDate and then still gives the grid the focus: the
  // instance must last until its handler is done.
  sink->release_on_change = d.Detach();
  headless::HeadlessFace& face = site_->face();
  EXPECT_EQ(face.ClickCell(20), S_OK);
  EXPECT_EQ(sink->release_on_change, nullptr);
  EXPECT_EQ(sink->changed, std::vector<DISPID>{ids::DISPID_SDate});
}

TEST_F(ClientTest, PropertiesSurviveSavingAndLoadingThroughTheBag) {
  ComPtr<IDispatch> d = Create();
  IFont* raw = nullptr;
  ASSERT_EQ(CreateStdFont({u"Courier New", 100000}, &raw), S_OK);
  const Variant font = Variant::Object(raw);
  raw->Release();
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_BackColor, Variant::I4(255)), S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_ForeColor, Variant::I4(static_cast<std::int32_t>(0x80000008u))),
            S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_Enabled, Variant::Bool(true)), S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_Font, font, DISPATCH_PROPERTYPUTREF), S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_BackStyle, Variant::I2(-1)), S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_BorderStyle, Variant::I2(7)), S_OK);
  ASSERT_EQ(InvokePut(d.get(), ids::DISPID_SDate, Variant::Str(u"no date")), S_OK);

  auto bag = ComPtr<MapBag>::Adopt(new MapBag());
  ComPtr<IPersistPropertyBag> persist;
  ASSERT_EQ(d->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())), S_OK);
  ASSERT_EQ(persist->Save(bag.get(), 1, 1), S_OK);
  EXPECT_EQ(bag->order, (std::vector<std::u16string>{u"BackColor", u"ForeColor", u"Enabled", u"Font",
                                                     u"BackStyle", u"BorderStyle", u"SDate"}));
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_EQ(clsid, ids::CLSID_ctrJornavista);
  EXPECT_EQ(persist->InitNew(), CO_E_ALREADYINITIALIZED);
  persist.reset();
  d.reset();

  ComPtr<IDispatch> loaded = Create(false);
  ASSERT_EQ(loaded->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())), S_OK);
  ASSERT_EQ(persist->Load(bag.get(), nullptr), S_OK);
  EXPECT_EQ(persist->Load(bag.get(), nullptr), CO_E_ALREADYINITIALIZED);
  EXPECT_EQ(Get(loaded.get(), ids::DISPID_BackColor).raw().lVal, 255);
  EXPECT_EQ(static_cast<OLE_COLOR>(Get(loaded.get(), ids::DISPID_ForeColor).raw().lVal), 0x80000008u);
  EXPECT_EQ(Get(loaded.get(), ids::DISPID_Enabled).raw().boolVal, VARIANT_TRUE);
  EXPECT_EQ(Get(loaded.get(), ids::DISPID_BackStyle).raw().iVal, -1);
  EXPECT_EQ(Get(loaded.get(), ids::DISPID_BorderStyle).raw().iVal, 7);
  const Variant sdate = Get(loaded.get(), ids::DISPID_SDate);
  EXPECT_EQ(TextView(reinterpret_cast<char16_t*>(sdate.raw().bstrVal)), u"no date");
  FontRef got;
  ASSERT_EQ(Get(loaded.get(), ids::DISPID_Font)
                .raw()
                .pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(got.put())),
            S_OK);
  FontDescription described;
  ASSERT_EQ(DescribeFont(got.get(), &described), S_OK);
  EXPECT_EQ(described.name, u"Courier New");

  // A bag with nothing in it gives every default, SDate empty.
  ComPtr<IDispatch> empty = Create(false);
  ComPtr<IPersistPropertyBag> empty_persist;
  ASSERT_EQ(empty->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(empty_persist.put())),
            S_OK);
  auto nothing = ComPtr<MapBag>::Adopt(new MapBag());
  ASSERT_EQ(empty_persist->Load(nothing.get(), nullptr), S_OK);
  const Variant blank = Get(empty.get(), ids::DISPID_SDate);
  EXPECT_EQ(SysStringLen(blank.raw().bstrVal), 0u);
  EXPECT_EQ(Get(empty.get(), ids::DISPID_BorderStyle).raw().iVal, 0);
}

TEST_F(ClientTest, TheClassObjectAndTheLockKeepTheLibraryLoaded) {
  EXPECT_EQ(library_->CanUnloadNow(), S_FALSE) << "the class object held by the fixture";
  ComPtr<IUnknown> other;
  const GUID unknown_class = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(library_->GetClassObject(unknown_class, IID_IClassFactory, reinterpret_cast<void**>(other.put())),
            CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(library_->GetClassObject(ids::CLSID_ctrJornavista, IID_IDispatch,
                                     reinterpret_cast<void**>(other.put())),
            E_NOINTERFACE);
  EXPECT_EQ(factory_->CreateInstance(site_.get(), IID_IUnknown, reinterpret_cast<void**>(other.put())),
            CLASS_E_NOAGGREGATION);
  ASSERT_EQ(factory_->LockServer(1), S_OK);
  factory_.reset();
  EXPECT_EQ(library_->CanUnloadNow(), S_FALSE) << "locked";
  ComPtr<IClassFactory> again;
  ASSERT_EQ(library_->GetClassObject(ids::CLSID_ctrJornavista, IID_IClassFactory,
                                     reinterpret_cast<void**>(again.put())),
            S_OK);
  ASSERT_EQ(again->LockServer(0), S_OK);
  ComPtr<IDispatch> instance;
  ASSERT_EQ(again->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(instance.put())), S_OK);
  again.reset();
  EXPECT_EQ(library_->CanUnloadNow(), S_FALSE) << "an instance lives";
  EXPECT_EQ(library_->Unload(), S_FALSE) << "the loader keeps it loaded under the instance";
  instance.reset();
  EXPECT_EQ(library_->CanUnloadNow(), S_OK);
}

// An instance without a site has no ambient font: its Font is a standard font the
// library made. Whichever view of it a client keeps, the library's code runs it.
TEST_F(ClientTest, AFontTheLibraryMadeKeepsTheLibraryLoadedUntilReleased) {
  const struct {
    const char* view;
    const IID* iid;
  } views[] = {{"IFont", &IID_IFont}, {"IFontDisp", &IID_IFontDisp}, {"IDispatch", &IID_IDispatch}};
  for (const auto& v : views) {
    ComPtr<IClassFactory> plain;
    ASSERT_EQ(factory_->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(plain.put())), S_OK);
    ComPtr<IDispatch> instance;
    ASSERT_EQ(plain->CreateInstance(nullptr, IID_IDispatch, reinterpret_cast<void**>(instance.put())), S_OK);
    plain.reset();
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(instance->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(persist.put())), S_OK);
    ASSERT_EQ(persist->InitNew(), S_OK);
    persist.reset();
    ComPtr<IUnknown> kept;
    {
      const Variant font = Get(instance.get(), ids::DISPID_Font);
      ASSERT_EQ(font.vt(), VT_DISPATCH) << v.view;
      ASSERT_NE(font.raw().pdispVal, nullptr) << v.view;
      ASSERT_EQ(font.raw().pdispVal->QueryInterface(*v.iid, reinterpret_cast<void**>(kept.put())), S_OK)
          << v.view;
    }
    instance.reset();
    factory_.reset();
    EXPECT_EQ(library_->CanUnloadNow(), S_FALSE) << "the client still holds the library's font as " << v.view;
    kept.reset();
    EXPECT_EQ(library_->CanUnloadNow(), S_OK) << "the font released (" << v.view << ")";
    ASSERT_EQ(library_->GetClassObject(ids::CLSID_ctrJornavista, IID_IClassFactorySite,
                                       reinterpret_cast<void**>(factory_.put())),
              S_OK);
  }
}

TEST_F(ClientTest, TheInstanceDescribesItsClassAndInterface) {
  ComPtr<IDispatch> d = Create();
  UINT count = 0;
  EXPECT_EQ(d->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 1u);
  ComPtr<ITypeInfo> info;
  EXPECT_EQ(d->GetTypeInfo(1, 0, info.put()), DISP_E_BADINDEX);
  ASSERT_EQ(d->GetTypeInfo(0, 0, info.put()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, ids::IID__ctrJornavista);
  info->ReleaseTypeAttr(attr);
  ComPtr<IProvideClassInfo> provide;
  ASSERT_EQ(d->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(provide.put())), S_OK);
  ComPtr<ITypeInfo> klass;
  ASSERT_EQ(provide->GetClassInfo(klass.put()), S_OK);
  ASSERT_EQ(klass->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->guid, ids::CLSID_ctrJornavista);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  klass->ReleaseTypeAttr(attr);
  // Every interface of the instance leads back to the one identity.
  ComPtr<IUnknown> a, b;
  ASSERT_EQ(d->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(a.put())), S_OK);
  ASSERT_EQ(provide->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(b.put())), S_OK);
  EXPECT_EQ(a.get(), b.get());
}

TEST(ComponentLibraryTest, AFileThatIsNoComponentLibraryIsRefused) {
  std::unique_ptr<ComponentLibrary> lib;
  std::string error;
  EXPECT_EQ(ComponentLibrary::Load("/nonexistent/Jornavista.ocx", &lib, &error), E_INVALIDARG);
  EXPECT_NE(error.find("cannot load"), std::string::npos) << error;
  EXPECT_EQ(lib, nullptr);
}

}  // namespace
}  // namespace jv::testing
