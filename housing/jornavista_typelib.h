// The type library of JornavistaControl 1.0 as one table, and the registration
// record of its class: the dispatch table, the type information, the registry
// entries and Jornavista.idl are all built from what is written here.
#pragma once

#include "housing/jornavista_ids.h"
#include "platform/component/server.h"
#include "platform/component/type_description.h"

namespace jv::housing {

using component::MemberDesc;
using component::MemberKind;
using component::ParamDesc;
using component::ValueType;

// _ctrJornavista, in interface order.
inline constexpr MemberDesc kMembers[] = {
    {"BackColor", MemberKind::kProperty, ValueType::kOleColor, jornavista::DISPID_BackColor, "New_BackColor",
     "Returns/sets the background color used to display text and graphics in an object."},
    {"ForeColor", MemberKind::kProperty, ValueType::kOleColor, jornavista::DISPID_ForeColor, "New_ForeColor",
     "Returns/sets the foreground color used to display text and graphics in an object."},
    {"Enabled", MemberKind::kProperty, ValueType::kBool, jornavista::DISPID_Enabled, "New_Enabled",
     "Returns/sets a value that determines whether an object can respond to user-generated events."},
    {"Font", MemberKind::kPropertyByRef, ValueType::kFont, jornavista::DISPID_Font, "New_Font",
     "Returns a Font object."},
    {"BackStyle", MemberKind::kProperty, ValueType::kI2, jornavista::DISPID_BackStyle, "New_BackStyle",
     "Indicates whether a Label or the background of a Shape is transparent or opaque."},
    {"BorderStyle", MemberKind::kProperty, ValueType::kI2, jornavista::DISPID_BorderStyle, "New_BorderStyle",
     "Returns/sets the border style for an object."},
    {"Refresh", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_Refresh, "",
     "Forces a complete repaint of a object."},
    {"SDate", MemberKind::kProperty, ValueType::kBstr, jornavista::DISPID_SDate, "New_SDate",
     "Returns/sets the text contained in the control."},
};

inline constexpr ParamDesc kKeyParams[] = {{"KeyCode", ValueType::kI2, true},
                                           {"Shift", ValueType::kI2, true}};
inline constexpr ParamDesc kKeyPressParams[] = {{"KeyAscii", ValueType::kI2, true}};
inline constexpr ParamDesc kMouseParams[] = {{"Button", ValueType::kI2, true},
                                             {"Shift", ValueType::kI2, true},
                                             {"X", ValueType::kR4, true},
                                             {"Y", ValueType::kR4, true}};

// __ctrJornavista, in interface order.
inline constexpr MemberDesc kEvents[] = {
    {"Click", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_Click, "",
     "Occurs when the user presses and then releases a mouse button over an object."},
    {"DblClick", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_DblClick, "",
     "Occurs when the user presses and releases a mouse button and then presses and releases it again over "
     "an "
     "object."},
    {"KeyDown", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyDown, "",
     "Occurs when the user presses a key while an object has the focus.", kKeyParams},
    {"KeyPress", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyPress, "",
     "Occurs when the user presses and releases an ANSI key.", kKeyPressParams},
    {"KeyUp", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_KeyUp, "",
     "Occurs when the user releases a key while an object has the focus.", kKeyParams},
    {"MouseDown", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseDown, "",
     "Occurs when the user presses the mouse button while an object has the focus.", kMouseParams},
    {"MouseMove", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseMove, "",
     "Occurs when the user moves the mouse.", kMouseParams},
    {"MouseUp", MemberKind::kMethod, ValueType::kVoid, jornavista::DISPID_MouseUp, "",
     "Occurs when the user releases the mouse button while an object has the focus.", kMouseParams},
};

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

// The component as the runtime's services take it (the class's creation function
// lives with the object that houses the control).
const component::ComponentDesc& Component();

}  // namespace jv::housing
