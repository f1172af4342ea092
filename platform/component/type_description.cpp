#include "platform/component/type_description.h"

namespace jv::component {

namespace {

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

std::u16string_view View(const OLECHAR* text) {
  if (text == nullptr) return {};
  std::size_t n = 0;
  while (text[n] != 0) ++n;
  return {reinterpret_cast<const char16_t*>(text), n};
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(static_cast<unsigned char>(a[i])) != Upper(b[i])) return false;
  return true;
}

const MemberDesc* FindMember(std::span<const MemberDesc> members, DISPID id) {
  for (const MemberDesc& m : members)
    if (m.id == id) return &m;
  return nullptr;
}

const MemberDesc* FindMemberByName(std::span<const MemberDesc> members, std::u16string_view name) {
  for (const MemberDesc& m : members)
    if (SameNameIgnoringCase(m.name, name)) return &m;
  return nullptr;
}

const TypeDesc* FindType(const TypeLibraryDesc& library, std::string_view name) {
  for (const TypeDesc& t : library.types)
    if (t.name == name) return &t;
  return nullptr;
}

HRESULT IdsOfNames(std::span<const MemberDesc> members, const LPOLESTR* names, UINT count, DISPID* ids) {
  if (names == nullptr || ids == nullptr) return E_POINTER;
  if (count == 0) return E_INVALIDARG;
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  const MemberDesc* member = FindMemberByName(members, View(names[0]));
  if (member == nullptr) return DISP_E_UNKNOWNNAME;
  ids[0] = member->id;
  HRESULT result = S_OK;
  for (UINT i = 1; i < count; ++i) {
    const std::u16string_view name = View(names[i]);
    if (member->kind != MemberKind::kMethod && !member->put_param.empty() &&
        SameNameIgnoringCase(member->put_param, name)) {
      ids[i] = 0;
      continue;
    }
    for (std::size_t p = 0; p < member->params.size(); ++p)
      if (SameNameIgnoringCase(member->params[p].name, name)) ids[i] = static_cast<DISPID>(p);
    if (ids[i] == DISPID_UNKNOWN) result = DISP_E_UNKNOWNNAME;
  }
  return result;
}

std::string_view IdlTypeName(ValueType type) { return FactsOf(type).idl; }

}  // namespace jv::component
