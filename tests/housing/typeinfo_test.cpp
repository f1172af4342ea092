// The type information as a client reads it, checked line by line against the
// published interface: every type, member, dispatch id, parameter, flag and help
// string; the IDL in the tree against the one written from the table; and the
// registration record.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "housing/dispatch_table.h"
#include "housing/jornavista_object.h"
#include "housing/jornavista_typelib.h"
#include "platform/component/idl_writer.h"
#include "platform/component/type_library.h"
#include "platform/component/type_library_json.h"

namespace jv::housing {
namespace {

// The published members of _ctrJornavista, written out independently of the table.
// A property stands once and is published as a get followed by its put (putref
// for an object), whose one argument is New_<name>; Refresh is the one method.
struct Published {
  const char* name;
  INVOKEKIND put;  // INVOKE_FUNC for a method
  const char* type;  // of the value got or put
  DISPID id;
  const char* help;
};
const Published kPublished[] = {
    {"BackColor", INVOKE_PROPERTYPUT, "OLE_COLOR", 0x68030005,
     "Returns/sets the background color used to display text and graphics in an object."},
    {"ForeColor", INVOKE_PROPERTYPUT, "OLE_COLOR", 0x68030004,
     "Returns/sets the foreground color used to display text and graphics in an object."},
    {"Enabled", INVOKE_PROPERTYPUT, "VARIANT_BOOL", 0x68030003,
     "Returns/sets a value that determines whether an object can respond to user-generated events."},
    {"Font", INVOKE_PROPERTYPUTREF, "Font*", -512, "Returns a Font object."},
    {"BackStyle", INVOKE_PROPERTYPUT, "short", 0x68030002,
     "Indicates whether a Label or the background of a Shape is transparent or opaque."},
    {"BorderStyle", INVOKE_PROPERTYPUT, "short", 0x68030001, "Returns/sets the border style for an object."},
    {"Refresh", INVOKE_FUNC, "void", 0x6003000F, "Forces a complete repaint of a object."},
    {"SDate", INVOKE_PROPERTYPUT, "BSTR", 0x68030000, "Returns/sets the text contained in the control."},
};

struct PublishedMember {
  std::string name;
  INVOKEKIND kind;
  const char* type;
  DISPID id;
  std::string param;  // empty for a get or a method
  const char* help;
};
std::vector<PublishedMember> PublishedMembers() {
  std::vector<PublishedMember> members;
  for (const Published& p : kPublished) {
    if (p.put == INVOKE_FUNC) {
      members.push_back({p.name, INVOKE_FUNC, p.type, p.id, "", p.help});
      continue;
    }
    members.push_back({p.name, INVOKE_PROPERTYGET, p.type, p.id, "", p.help});
    members.push_back({p.name, p.put, p.type, p.id, std::string("New_") + p.name, p.help});
  }
  return members;
}

struct PublishedEvent {
  const char* name;
  DISPID id;
  std::vector<std::pair<std::string, std::string>> params;  // name, type (all by reference)
  const char* help;
};
const std::vector<std::pair<std::string, std::string>> kMouse = {
    {"Button", "short*"}, {"Shift", "short*"}, {"X", "float*"}, {"Y", "float*"}};
const PublishedEvent kPublishedEvents[] = {
    {"Click", 1, {}, "Occurs when the user presses and then releases a mouse button over an object."},
    {"DblClick",
     2,
     {},
     "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
     "an "
     "object."},
    {"KeyDown",
     3,
     {{"KeyCode", "short*"}, {"Shift", "short*"}},
     "Occurs when the user presses a key while an object has the focus."},
    {"KeyPress", 4, {{"KeyAscii", "short*"}}, "Occurs when the user presses and releases an ANSI key."},
    {"KeyUp",
     5,
     {{"KeyCode", "short*"}, {"Shift", "short*"}},
     "Occurs when the user releases a key while an object has the focus."},
    {"MouseDown", 6, kMouse, "Occurs when the user presses the mouse button while an object has the focus."},
    {"MouseMove", 7, kMouse, "Occurs when the user moves the mouse."},
    {"MouseUp", 8, kMouse, "Occurs when the user releases the mouse button while an object has the focus."},
};

class TypeInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(component::CreateTypeLibrary(kTypeLibrary, lib_.put()), S_OK);
    ASSERT_EQ(component::TypeLibraryJson(lib_.get(), &json_), S_OK);
  }
  ComPtr<ITypeLib> lib_;
  nlohmann::ordered_json json_;
};

TEST_F(TypeInfoTest, TheLibraryHoldsThreeTypesInOrder) {
  EXPECT_EQ(json_["name"], "JornavistaControl");
  EXPECT_EQ(json_["help"], "JornavistaControl");
  EXPECT_EQ(json_["version"], "1.0");
  EXPECT_EQ(json_["lcid"], "0x0409");
  EXPECT_EQ(json_["guid"], "{45292B49-FDD8-480A-8486-8D677E004CE9}");
  ASSERT_EQ(json_["imports"].size(), 1u);
  EXPECT_EQ(json_["imports"][0]["name"], "stdole");
  EXPECT_EQ(json_["imports"][0]["version"], "2.0");
  struct Type {
    const char* name;
    const char* kind;
    std::vector<std::string> flags;
    std::size_t members;
  };
  const Type types[] = {
      {"_ctrJornavista",
       "dispinterface",
       {"hidden", "dual", "nonextensible", "oleautomation", "dispatchable"},
       15},
      {"ctrJornavista", "coclass", {"cancreate", "control"}, 0},
      {"__ctrJornavista", "dispinterface", {"hidden", "dispatchable"}, 8},
  };
  ASSERT_EQ(json_["types"].size(), std::size(types));
  for (std::size_t i = 0; i < std::size(types); ++i) {
    const auto& t = json_["types"][i];
    EXPECT_EQ(t["name"], types[i].name) << i;
    EXPECT_EQ(t["kind"], types[i].kind) << types[i].name;
    EXPECT_EQ(t["flag_names"].get<std::vector<std::string>>(), types[i].flags) << types[i].name;
    EXPECT_EQ(t["members"].size(), types[i].members) << types[i].name;
  }
  const auto& impls = json_["types"][1]["implements"];
  ASSERT_EQ(impls.size(), 2u);
  EXPECT_EQ(impls[0]["name"], "_ctrJornavista");
  EXPECT_EQ(impls[0]["flags"].get<std::vector<std::string>>(), std::vector<std::string>{"default"});
  EXPECT_EQ(impls[1]["name"], "__ctrJornavista");
  EXPECT_EQ(impls[1]["flags"].get<std::vector<std::string>>(),
            (std::vector<std::string>{"default", "source"}));
  EXPECT_EQ(json_["types"][0]["implements"][0]["name"], "IDispatch");
}

TEST_F(TypeInfoTest, EveryMemberIsAsPublished) {
  const auto& members = json_["types"][0]["members"];
  const std::vector<PublishedMember> published = PublishedMembers();
  ASSERT_EQ(members.size(), published.size());
  const char* kinds[] = {"", "method", "propget", "", "propput", "", "", "", "propputref"};
  for (std::size_t i = 0; i < published.size(); ++i) {
    const PublishedMember& p = published[i];
    const auto& m = members[i];
    const std::string what = p.name + " " + kinds[p.kind];
    EXPECT_EQ(m["name"], p.name) << what;
    EXPECT_EQ(m["kind"], kinds[p.kind]) << what;
    EXPECT_EQ(m["dispid"], p.id) << what;
    EXPECT_EQ(m["help"], p.help) << what;
    EXPECT_EQ(m["flags"], 0) << what;
    if (p.param.empty()) {
      EXPECT_EQ(m["type"], p.type) << what;
      EXPECT_TRUE(m["params"].empty()) << what;
    } else {
      EXPECT_EQ(m["type"], "void") << what;
      ASSERT_EQ(m["params"].size(), 1u) << what;
      EXPECT_EQ(m["params"][0]["name"], p.param) << what;
      EXPECT_EQ(m["params"][0]["type"], p.type) << what;
      EXPECT_EQ(m["params"][0]["flags"].get<std::vector<std::string>>(), std::vector<std::string>{"in"})
          << what;
    }
  }
}

TEST_F(TypeInfoTest, EveryEventIsAsPublished) {
  const auto& events = json_["types"][2]["members"];
  ASSERT_EQ(events.size(), std::size(kPublishedEvents));
  for (std::size_t i = 0; i < std::size(kPublishedEvents); ++i) {
    const PublishedEvent& e = kPublishedEvents[i];
    const auto& m = events[i];
    EXPECT_EQ(m["name"], e.name) << e.name;
    EXPECT_EQ(m["kind"], "method") << e.name;
    EXPECT_EQ(m["dispid"], e.id) << e.name;
    EXPECT_EQ(m["type"], "void") << e.name;
    EXPECT_EQ(m["help"], e.help) << e.name;
    ASSERT_EQ(m["params"].size(), e.params.size()) << e.name;
    for (std::size_t p = 0; p < e.params.size(); ++p) {
      EXPECT_EQ(m["params"][p]["name"], e.params[p].first) << e.name << " " << p;
      EXPECT_EQ(m["params"][p]["type"], e.params[p].second) << e.name << " " << p;
      EXPECT_EQ(m["params"][p]["flags"].get<std::vector<std::string>>(),
                (std::vector<std::string>{"in", "out"}))
          << e.name << " " << p;
    }
  }
}

// The dual interface's vtable slots, as the type information gives them, are the
// C++ interface's: a pointer to a virtual member holds its vtable offset plus one
// (the Itanium C++ ABI that GCC and Clang follow here).
template <class F>
std::ptrdiff_t VtableOffset(F member) {
  struct Representation {
    std::ptrdiff_t ptr;
    std::ptrdiff_t adj;
  };
  static_assert(sizeof(F) == sizeof(Representation));
  Representation r;
  std::memcpy(&r, &member, sizeof r);
  return r.ptr - 1;
}

TEST_F(TypeInfoTest, VtableSlotsMatchTheDualInterface) {
  const std::ptrdiff_t offsets[] = {
      VtableOffset(&_ctrJornavista::get_BackColor),   VtableOffset(&_ctrJornavista::put_BackColor),
      VtableOffset(&_ctrJornavista::get_ForeColor),   VtableOffset(&_ctrJornavista::put_ForeColor),
      VtableOffset(&_ctrJornavista::get_Enabled),     VtableOffset(&_ctrJornavista::put_Enabled),
      VtableOffset(&_ctrJornavista::get_Font),        VtableOffset(&_ctrJornavista::putref_Font),
      VtableOffset(&_ctrJornavista::get_BackStyle),   VtableOffset(&_ctrJornavista::put_BackStyle),
      VtableOffset(&_ctrJornavista::get_BorderStyle), VtableOffset(&_ctrJornavista::put_BorderStyle),
      VtableOffset(&_ctrJornavista::Refresh),         VtableOffset(&_ctrJornavista::get_SDate),
      VtableOffset(&_ctrJornavista::put_SDate),
  };
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib_->GetTypeInfo(0, info.put()), S_OK);
  for (UINT i = 0; i < std::size(offsets); ++i) {
    FUNCDESC* f = nullptr;
    ASSERT_EQ(info->GetFuncDesc(i, &f), S_OK);
    EXPECT_EQ(f->oVft, offsets[i]) << "function " << i;
    EXPECT_EQ(f->funckind, FUNC_DISPATCH) << "function " << i;
    info->ReleaseFuncDesc(f);
  }
}

TEST_F(TypeInfoTest, LookupsByNameAndByGuidAgreeWithTheTable) {
  for (UINT i = 0; i < std::size(kTypes); ++i) {
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(lib_->GetTypeInfoOfGuid(kTypes[i].guid, info.put()), S_OK) << kTypes[i].name;
    UINT index = 99;
    ComPtr<ITypeLib> owner;
    ASSERT_EQ(info->GetContainingTypeLib(owner.put(), &index), S_OK);
    EXPECT_EQ(index, i);
  }
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(lib_->GetTypeInfo(0, dispatch.put()), S_OK);
  for (const MemberDesc& m : kMembers) {
    Text name = FromAscii(m.name);
    LPOLESTR names[] = {name.data()};
    MEMBERID id = 0;
    EXPECT_EQ(dispatch->GetIDsOfNames(names, 1, &id), S_OK) << m.name;
    EXPECT_EQ(id, m.id) << m.name;
  }
  BOOL found = 0;
  Text sdate = u"sdate";
  EXPECT_EQ(lib_->IsName(sdate.data(), 0, &found), S_OK);
  EXPECT_TRUE(found);
  EXPECT_EQ(lib_->GetTypeInfo(3, dispatch.put()), TYPE_E_ELEMENTNOTFOUND);
}

TEST(IdlTest, TheIdlInTheTreeIsTheOneTheTableWrites) {
  std::ifstream in(JV_IDL_SOURCE);
  ASSERT_TRUE(in) << JV_IDL_SOURCE;
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), component::WriteIdl(kTypeLibrary))
      << "housing/Jornavista.idl is stale: copy it from the build's housing/Jornavista.idl";
}

TEST(RegistrationRecordTest, TheClassIsRecordedAsPublished) {
  ASSERT_EQ(Component().classes.size(), 1u);
  const component::ClassDesc& c = Component().classes[0];
  EXPECT_EQ(c.name, "ctrJornavista");
  EXPECT_EQ(c.prog_id, "JornavistaControl.ctrJornavista");
  EXPECT_EQ(c.threading, "Apartment");
  EXPECT_EQ(c.misc_status, 0x20191u);
  EXPECT_EQ(c.toolbox_bitmap, 30000u);
  EXPECT_EQ(c.events, jornavista::DIID___ctrJornavista);
  ASSERT_EQ(c.property_pages.size(), 1u);
  EXPECT_EQ(c.property_pages[0], "StandardFont");
}

TEST(ColorArgumentTest, EveryColourPatternIsAccepted) {
  struct Case {
    const char* name;
    Variant in;
    HRESULT hr;
    OLE_COLOR expected;
  };
  const Case cases[] = {
      {"red", Variant::I4(255), S_OK, 255},
      {"system colour as a signed pattern", Variant::I4(static_cast<std::int32_t>(0x8000000Du)), S_OK,
       0x8000000Du},
      {"system colour as a number", Variant::R8(2147483661.0), S_OK, 0x8000000Du},
      {"hex text", Variant::Str(u"&H80000005"), S_OK, 0x80000005u},
      {"largest", Variant::R8(4294967295.0), S_OK, 0xFFFFFFFFu},
      {"rounds half to even", Variant::R8(2147483648.5), S_OK, 0x80000000u},
      {"beyond 32 bits", Variant::R8(4294967296.0), DISP_E_OVERFLOW, 0},
      {"negative beyond", Variant::R8(-2147483649.0), DISP_E_OVERFLOW, 0},
      {"not a number", Variant::Str(u"red"), DISP_E_TYPEMISMATCH, 0},
  };
  for (const Case& c : cases) {
    OLE_COLOR got = 0;
    EXPECT_EQ(ToColor(c.in.raw(), &got), c.hr) << c.name;
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

}  // namespace
}  // namespace jv::housing
