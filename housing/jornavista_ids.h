// The published identifiers of JornavistaControl 1.0 (the library, the class, its
// two interfaces, every dispatch id), and the dual interface for C++ clients.
#pragma once

#include <cstdint>

#include "platform/automation/dispatch.h"
#include "platform/automation/font.h"
#include "platform/automation/interface_ids.h"

namespace jornavista {

inline constexpr GUID LIBID_JornavistaControl = {
    0x45292B49, 0xFDD8, 0x480A, {0x84, 0x86, 0x8D, 0x67, 0x7E, 0x00, 0x4C, 0xE9}};
inline constexpr CLSID CLSID_ctrJornavista = {
    0x0B40D233, 0xB738, 0x4C5D, {0x89, 0xF6, 0x6B, 0x40, 0x92, 0xC2, 0x6C, 0xC0}};
inline constexpr IID IID__ctrJornavista = {
    0xD2B9A7BF, 0x7336, 0x46FF, {0x8C, 0xA2, 0x22, 0x10, 0x61, 0x75, 0x12, 0x33}};
inline constexpr IID DIID___ctrJornavista = {
    0x4198655C, 0xAF18, 0x4462, {0xBF, 0x75, 0x82, 0xF4, 0x06, 0xD0, 0x17, 0xD8}};
inline constexpr const char* kProgId = "JornavistaControl.ctrJornavista";
// The control's own property page (the appearance properties and SDate).
inline constexpr CLSID CLSID_JornavistaPropertyPage = {
    0x0E7E0208, 0x3698, 0x4DDA, {0x88, 0xA8, 0x91, 0x38, 0xDB, 0x51, 0xF9, 0xE2}};
// The component category "Controls", in which a form designer looks for controls.
inline constexpr GUID CATID_Control = {
    0x40FC6ED4, 0x2438, 0x11CF, {0xA3, 0xDB, 0x08, 0x00, 0x36, 0xF1, 0x25, 0x02}};

// Members of _ctrJornavista. The six stored properties count up from SDate.
inline constexpr DISPID DISPID_SDate = 0x68030000;
inline constexpr DISPID DISPID_BorderStyle = 0x68030001;
inline constexpr DISPID DISPID_BackStyle = 0x68030002;
inline constexpr DISPID DISPID_Enabled = 0x68030003;
inline constexpr DISPID DISPID_ForeColor = 0x68030004;
inline constexpr DISPID DISPID_BackColor = 0x68030005;
inline constexpr DISPID DISPID_Refresh = 0x6003000F;
inline constexpr DISPID DISPID_Font = -512;

// Events of __ctrJornavista; declared, never raised.
inline constexpr DISPID DISPID_Click = 1;
inline constexpr DISPID DISPID_DblClick = 2;
inline constexpr DISPID DISPID_KeyDown = 3;
inline constexpr DISPID DISPID_KeyPress = 4;
inline constexpr DISPID DISPID_KeyUp = 5;
inline constexpr DISPID DISPID_MouseDown = 6;
inline constexpr DISPID DISPID_MouseMove = 7;
inline constexpr DISPID DISPID_MouseUp = 8;

}  // namespace jornavista

// The members of _ctrJornavista after IDispatch's, in vtable order (the type
// library's order, a get before its put), each with its value type's name in
// jv::component::ValueType: PROPERTY(Name, Type, kValueType) is a get and a put,
// PROPERTY_BYREF(Name, Type, kValueType) a get and a put by reference, METHOD(Name)
// a call without arguments. The vtable below is made from it, and the member table
// (housing/jornavista_members.h) is checked against it when it compiles, so the
// two cannot part.
#define JV_CTRJORNAVISTA_MEMBERS(PROPERTY, PROPERTY_BYREF, METHOD) \
  PROPERTY(BackColor, OLE_COLOR, kOleColor)                        \
  PROPERTY(ForeColor, OLE_COLOR, kOleColor)                        \
  PROPERTY(Enabled, VARIANT_BOOL, kBool)                           \
  PROPERTY_BYREF(Font, IFont*, kFont)                              \
  PROPERTY(BackStyle, std::int16_t, kI2)                           \
  PROPERTY(BorderStyle, std::int16_t, kI2)                         \
  METHOD(Refresh)                                                  \
  PROPERTY(SDate, BSTR, kBstr)

#define JV_CTRJORNAVISTA_PROPERTY(Name, Type, value_type)          \
  virtual HRESULT JV_STDMETHODCALLTYPE get_##Name(Type* Name) = 0; \
  virtual HRESULT JV_STDMETHODCALLTYPE put_##Name(Type New_##Name) = 0;
#define JV_CTRJORNAVISTA_PROPERTY_BYREF(Name, Type, value_type)    \
  virtual HRESULT JV_STDMETHODCALLTYPE get_##Name(Type* Name) = 0; \
  virtual HRESULT JV_STDMETHODCALLTYPE putref_##Name(Type New_##Name) = 0;
#define JV_CTRJORNAVISTA_METHOD(Name) virtual HRESULT JV_STDMETHODCALLTYPE Name() = 0;

// The vtable view of the dual interface.
struct _ctrJornavista : IDispatch {
  JV_CTRJORNAVISTA_MEMBERS(JV_CTRJORNAVISTA_PROPERTY, JV_CTRJORNAVISTA_PROPERTY_BYREF,
                           JV_CTRJORNAVISTA_METHOD)

 protected:
  ~_ctrJornavista() = default;
};

#undef JV_CTRJORNAVISTA_PROPERTY
#undef JV_CTRJORNAVISTA_PROPERTY_BYREF
#undef JV_CTRJORNAVISTA_METHOD

JV_INTERFACE_IDS(_ctrJornavista, JV_IID(IDispatch),
                 (jv::NamedIid{&jornavista::IID__ctrJornavista, "_ctrJornavista"}));
