// Late binding by dispatch id: IDispatch with the automation calling convention
// (DISPPARAMS, EXCEPINFO, the invoke flags) and the reserved dispatch ids.
#pragma once

#include <cstdint>

#include "platform/automation/bstr.h"
#include "platform/automation/hresult.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/unknown.h"
#include "platform/automation/variant.h"

#ifdef _WIN32
#include <oaidl.h>
#include <olectl.h>
#else
using DISPID = std::int32_t;
using MEMBERID = DISPID;
using LCID = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using WORD = std::uint16_t;
using USHORT = std::uint16_t;
using DWORD = std::uint32_t;
using LPOLESTR = OLECHAR*;
using LPCOLESTR = const OLECHAR*;
using REFGUID = const GUID&;

inline constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
inline constexpr IID IID_NULL = GUID_NULL;

inline constexpr DISPID DISPID_UNKNOWN = -1;
inline constexpr DISPID DISPID_VALUE = 0;
inline constexpr DISPID DISPID_PROPERTYPUT = -3;
inline constexpr DISPID DISPID_FONT = -512;
inline constexpr DISPID DISPID_AMBIENT_FONT = -703;
inline constexpr MEMBERID MEMBERID_NIL = DISPID_UNKNOWN;

// The dispatch ids of the standard font's properties.
inline constexpr DISPID DISPID_FONT_NAME = 0;
inline constexpr DISPID DISPID_FONT_SIZE = 2;
inline constexpr DISPID DISPID_FONT_BOLD = 3;
inline constexpr DISPID DISPID_FONT_ITALIC = 4;
inline constexpr DISPID DISPID_FONT_UNDER = 5;
inline constexpr DISPID DISPID_FONT_STRIKE = 6;
inline constexpr DISPID DISPID_FONT_WEIGHT = 7;
inline constexpr DISPID DISPID_FONT_CHARSET = 8;

inline constexpr WORD DISPATCH_METHOD = 0x1;
inline constexpr WORD DISPATCH_PROPERTYGET = 0x2;
inline constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
inline constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

inline constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
inline constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

// Arguments travel right to left: rgvarg[cArgs - 1] is the first. Named arguments
// come first in rgvarg, their ids in rgdispidNamedArgs; a put names its value
// DISPID_PROPERTYPUT.
struct DISPPARAMS {
  VARIANT* rgvarg;
  DISPID* rgdispidNamedArgs;
  UINT cArgs;
  UINT cNamedArgs;
};

struct EXCEPINFO {
  WORD wCode;
  WORD wReserved;
  BSTR bstrSource;
  BSTR bstrDescription;
  BSTR bstrHelpFile;
  DWORD dwHelpContext;
  void* pvReserved;
  HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
  SCODE scode;
};

struct ITypeInfo;

struct IDispatch : IUnknown {
  virtual HRESULT GetTypeInfoCount(UINT* pctinfo) = 0;
  virtual HRESULT GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid,
                                DISPID* rgDispId) = 0;
  virtual HRESULT Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;

 protected:
  ~IDispatch() = default;
};

inline constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
#endif

JV_INTERFACE_IDS(IDispatch, JV_IID(IDispatch));
