// The type library of JornavistaControl 1.0 as one table, and the registration
// record of its class: the dispatch table, the type information, the registry
// entries and Jornavista.idl are all built from what is written here.
#pragma once

#include "housing/jornavista_members.h"
#include "platform/component/server.h"

namespace jv::housing {

inline constexpr component::ImplTypeDesc kClassInterfaces[] = {
    {"_ctrJornavista", IMPLTYPEFLAG_FDEFAULT},
    {"__ctrJornavista", IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
};

// Both interfaces derive from IDispatch, which makes them dispatchable.
inline constexpr component::TypeDesc kTypes[] = {
    {TKIND_DISPATCH, "_ctrJornavista", jornavista::IID__ctrJornavista,
     TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION |
         TYPEFLAG_FDISPATCHABLE,
     "", kMembers},
    {TKIND_COCLASS,
     "ctrJornavista",
     jornavista::CLSID_ctrJornavista,
     TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL,
     "",
     {},
     kClassInterfaces},
    {TKIND_DISPATCH, "__ctrJornavista", jornavista::DIID___ctrJornavista,
     TYPEFLAG_FHIDDEN | TYPEFLAG_FDISPATCHABLE, "", kEvents},
};

inline constexpr component::ImportDesc kImports[] = {component::kStdOle};

inline constexpr component::TypeLibraryDesc kTypeLibrary = {"JornavistaControl",
                                                            "JornavistaControl",
                                                            jornavista::LIBID_JornavistaControl,
                                                            1,
                                                            0,
                                                            0x0409,
                                                            0,
                                                            kImports,
                                                            kTypes};

// The registration record of ctrJornavista.
// OLEMISC_RECOMPOSEONRESIZE | CANTLINKINSIDE | INSIDEOUT | ACTIVATEWHENVISIBLE | SETCLIENTSITEFIRST
inline constexpr std::uint32_t kMiscStatus = 0x1 | 0x10 | 0x80 | 0x100 | 0x20000;
inline constexpr std::uint32_t kToolboxBitmap = 30000;
inline constexpr std::string_view kPropertyPages[] = {"StandardFont"};
// Form designers list the controls of the category "Controls".
inline constexpr GUID kCategories[] = {jornavista::CATID_Control};

// The component as the runtime's services take it (the class's creation function
// lives with the object that houses the control).
const component::ComponentDesc& Component();

}  // namespace jv::housing
