// Microsoft Active Accessibility's object interface, IAccessible, with the
// constants its answers use: the system's own declaration on Windows, the same
// shape elsewhere, so that the accessible objects of the day grid build and are
// tested on every runtime.
#pragma once

#include "platform/automation/bstr.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"

#ifdef _WIN32
#include <oleacc.h>
#else
struct IAccessible : IDispatch {
  virtual HRESULT get_accParent(IDispatch** ppdispParent) = 0;
  virtual HRESULT get_accChildCount(long* pcountChildren) = 0;
  virtual HRESULT get_accChild(VARIANT varChildID, IDispatch** ppdispChild) = 0;
  virtual HRESULT get_accName(VARIANT varID, BSTR* pszName) = 0;
  virtual HRESULT get_accValue(VARIANT varID, BSTR* pszValue) = 0;
  virtual HRESULT get_accDescription(VARIANT varID, BSTR* pszDescription) = 0;
  virtual HRESULT get_accRole(VARIANT varID, VARIANT* pvarRole) = 0;
  virtual HRESULT get_accState(VARIANT varID, VARIANT* pvarState) = 0;
  virtual HRESULT get_accHelp(VARIANT varID, BSTR* pszHelp) = 0;
  virtual HRESULT get_accHelpTopic(BSTR* pszHelpFile, VARIANT varID, long* pidTopic) = 0;
  virtual HRESULT get_accKeyboardShortcut(VARIANT varID, BSTR* pszKeyboardShortcut) = 0;
  virtual HRESULT get_accFocus(VARIANT* pvarID) = 0;
  virtual HRESULT get_accSelection(VARIANT* pvarChildren) = 0;
  virtual HRESULT get_accDefaultAction(VARIANT varID, BSTR* pszDefaultAction) = 0;
  virtual HRESULT accSelect(long flagsSelect, VARIANT varID) = 0;
  virtual HRESULT accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varID) = 0;
  virtual HRESULT accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) = 0;
  virtual HRESULT accHitTest(long xLeft, long yTop, VARIANT* pvarID) = 0;
  virtual HRESULT accDoDefaultAction(VARIANT varID) = 0;
  virtual HRESULT put_accName(VARIANT varID, BSTR szName) = 0;
  virtual HRESULT put_accValue(VARIANT varID, BSTR szValue) = 0;

 protected:
  ~IAccessible() = default;
};
#endif

namespace jv::platform::msaa {

// {618736E0-3C3D-11CF-810C-00AA00389B71}, defined here: MinGW's IID_IAccessible is
// a datum of oleacc.dll, and a plain reference to it reads the import thunk.
inline constexpr IID kIID_IAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

inline constexpr long kChildSelf = 0;

inline constexpr long kRoleGrouping = 0x14;
inline constexpr long kRoleTable = 0x18;
inline constexpr long kRoleCell = 0x1D;
inline constexpr long kRoleText = 0x2A;
inline constexpr long kRolePushButton = 0x2B;

inline constexpr long kStateSelected = 0x2;
inline constexpr long kStateFocused = 0x4;
inline constexpr long kStateReadOnly = 0x40;
inline constexpr long kStateInvisible = 0x8000;
inline constexpr long kStateFocusable = 0x100000;
inline constexpr long kStateSelectable = 0x200000;

inline constexpr long kNavUp = 1, kNavDown = 2, kNavLeft = 3, kNavRight = 4, kNavNext = 5, kNavPrevious = 6,
                      kNavFirstChild = 7, kNavLastChild = 8;

inline constexpr long kSelectTakeFocus = 0x1, kSelectTakeSelection = 0x2;

// The status of a call on an object whose window has gone.
inline constexpr HRESULT kDisconnected = static_cast<HRESULT>(0x80010108u);  // RPC_E_DISCONNECTED

}  // namespace jv::platform::msaa

JV_INTERFACE_IDS(IAccessible, JV_IID(IDispatch),
                 (jv::NamedIid{&jv::platform::msaa::kIID_IAccessible, "IAccessible"}));
