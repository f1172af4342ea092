// A component's type library as plain tables: the library, its types in order,
// every member with its kind, type, dispatch id, parameter names and help. One
// table feeds the dispatch of calls, the type information and the IDL text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>

#include "platform/automation/typeinfo.h"

namespace jv::component {

// The types members and parameters may have. kOleColor and kFont are the standard
// automation library's OLE_COLOR (a 32-bit colour) and Font (a font object).
enum class ValueType : std::uint8_t { kVoid, kBool, kI2, kI4, kR4, kBstr, kOleColor, kFont };

// What each value type is in a type library, in ValueType's order: its variant
// type (OLE_COLOR is an imported alias, VT_USERDEFINED; Font* a pointer to an
// imported interface, VT_PTR) and its IDL spelling.
struct ValueTypeFacts {
  ValueType type;
  VARTYPE vt;
  std::string_view idl;
};
inline constexpr ValueTypeFacts kValueTypes[] = {
    {ValueType::kVoid, VT_VOID, "void"},
    {ValueType::kBool, VT_BOOL, "VARIANT_BOOL"},
    {ValueType::kI2, VT_I2, "short"},
    {ValueType::kI4, VT_I4, "long"},
    {ValueType::kR4, VT_R4, "float"},
    {ValueType::kBstr, VT_BSTR, "BSTR"},
    {ValueType::kOleColor, VT_USERDEFINED, "OLE_COLOR"},
    {ValueType::kFont, VT_PTR, "Font*"},
};
constexpr bool ValueTypesInOrder() {
  for (std::size_t i = 0; i < std::size(kValueTypes); ++i)
    if (static_cast<std::size_t>(kValueTypes[i].type) != i) return false;
  return std::size(kValueTypes) == static_cast<std::size_t>(ValueType::kFont) + 1;
}
static_assert(ValueTypesInOrder(), "one row a value type, in the enumeration's order");
constexpr const ValueTypeFacts& FactsOf(ValueType type) {
  return kValueTypes[static_cast<std::size_t>(type)];
}

// A property has a get and a put; kPropertyByRef a get and a put-by-reference.
enum class MemberKind : std::uint8_t { kProperty, kPropertyByRef, kMethod };

struct ParamDesc {
  std::string_view name;
  ValueType type;
  bool by_ref = false;  // passed as a pointer, in and out
};

struct MemberDesc {
  std::string_view name;
  MemberKind kind;
  ValueType type;  // a property's type; a method's result (kVoid for none)
  DISPID id;
  std::string_view put_param;  // the parameter of a property's put
  std::string_view help;
  std::span<const ParamDesc> params = {};  // a method's parameters
  WORD func_flags = 0;
};

struct ImplTypeDesc {
  std::string_view type_name;  // a type of the same library
  INT flags;                   // IMPLTYPEFLAG_*
};

struct TypeDesc {
  TYPEKIND kind;  // TKIND_DISPATCH or TKIND_COCLASS
  std::string_view name;
  GUID guid;
  WORD flags;  // TYPEFLAG_*; a dispatch interface with TYPEFLAG_FDUAL also has a vtable
  std::string_view help;
  std::span<const MemberDesc> members = {};  // TKIND_DISPATCH
  std::span<const ImplTypeDesc> impls = {};  // TKIND_COCLASS
};

struct ImportDesc {
  std::string_view name;
  GUID guid;
  WORD major;
  WORD minor;
  std::string_view file;
};

struct TypeLibraryDesc {
  std::string_view name;
  std::string_view help;
  GUID guid;
  WORD major;
  WORD minor;
  LCID lcid;
  WORD flags;  // LIBFLAG_*
  std::span<const ImportDesc> imports;
  std::span<const TypeDesc> types;
};

// The standard automation library, which every type library here imports for
// IDispatch, Font and OLE_COLOR.
inline constexpr GUID kStdOleLibId = {0x00020430, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr ImportDesc kStdOle = {"stdole", kStdOleLibId, 2, 0, "stdole2.tlb"};

// Looks members up the way automation clients do: names compare without regard
// to ASCII case.
const MemberDesc* FindMember(std::span<const MemberDesc> members, DISPID id);
const MemberDesc* FindMemberByName(std::span<const MemberDesc> members, std::u16string_view name);
const TypeDesc* FindType(const TypeLibraryDesc& library, std::string_view name);
bool SameNameIgnoringCase(std::string_view a, std::u16string_view b);

// GetIDsOfNames over a member table: names[0] is a member, the others its
// parameters (a put's parameter is 0, a method's are numbered from 0). Every name
// not found gets DISPID_UNKNOWN and the call fails DISP_E_UNKNOWNNAME.
[[nodiscard]] HRESULT IdsOfNames(std::span<const MemberDesc> members, const LPOLESTR* names, UINT count,
                                 DISPID* ids);

// The IDL spelling of a type ("OLE_COLOR", "VARIANT_BOOL", "Font*").
std::string_view IdlTypeName(ValueType type);

}  // namespace jv::component
