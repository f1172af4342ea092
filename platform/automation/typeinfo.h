// Read-only type information: ITypeLib and ITypeInfo with their standard method
// order and descriptor structures, through which a client lists a library's
// types, their members, kinds, types, parameters, dispatch ids, flags and help.
#pragma once

#include <cstdint>

#include "platform/automation/dispatch.h"
#include "platform/automation/interface_ids.h"

#ifdef _WIN32
#include <oaidl.h>
#else
using HREFTYPE = DWORD;
using ULONG_PTR = std::uintptr_t;

inline constexpr VARTYPE VT_UI2 = 18;
inline constexpr VARTYPE VT_UI4 = 19;
inline constexpr VARTYPE VT_VOID = 24;
inline constexpr VARTYPE VT_HRESULT = 25;
inline constexpr VARTYPE VT_PTR = 26;
inline constexpr VARTYPE VT_USERDEFINED = 29;

inline constexpr HRESULT TYPE_E_ELEMENTNOTFOUND = static_cast<HRESULT>(0x8002802Bu);
inline constexpr HRESULT TYPE_E_LIBNOTREGISTERED = static_cast<HRESULT>(0x8002801Du);

enum TYPEKIND {
  TKIND_ENUM,
  TKIND_RECORD,
  TKIND_MODULE,
  TKIND_INTERFACE,
  TKIND_DISPATCH,
  TKIND_COCLASS,
  TKIND_ALIAS,
  TKIND_UNION,
  TKIND_MAX
};
enum FUNCKIND { FUNC_VIRTUAL, FUNC_PUREVIRTUAL, FUNC_NONVIRTUAL, FUNC_STATIC, FUNC_DISPATCH };
enum INVOKEKIND {
  INVOKE_FUNC = 1,
  INVOKE_PROPERTYGET = 2,
  INVOKE_PROPERTYPUT = 4,
  INVOKE_PROPERTYPUTREF = 8
};
enum CALLCONV { CC_FASTCALL = 0, CC_CDECL = 1, CC_PASCAL = 2, CC_MACPASCAL = 3, CC_STDCALL = 4 };
enum SYSKIND { SYS_WIN16, SYS_WIN32, SYS_MAC, SYS_WIN64 };

inline constexpr WORD TYPEFLAG_FAPPOBJECT = 0x1;
inline constexpr WORD TYPEFLAG_FCANCREATE = 0x2;
inline constexpr WORD TYPEFLAG_FLICENSED = 0x4;
inline constexpr WORD TYPEFLAG_FPREDECLID = 0x8;
inline constexpr WORD TYPEFLAG_FHIDDEN = 0x10;
inline constexpr WORD TYPEFLAG_FCONTROL = 0x20;
inline constexpr WORD TYPEFLAG_FDUAL = 0x40;
inline constexpr WORD TYPEFLAG_FNONEXTENSIBLE = 0x80;
inline constexpr WORD TYPEFLAG_FOLEAUTOMATION = 0x100;
inline constexpr WORD TYPEFLAG_FRESTRICTED = 0x200;
inline constexpr WORD TYPEFLAG_FAGGREGATABLE = 0x400;
inline constexpr WORD TYPEFLAG_FREPLACEABLE = 0x800;
inline constexpr WORD TYPEFLAG_FDISPATCHABLE = 0x1000;

inline constexpr WORD FUNCFLAG_FRESTRICTED = 0x1;
inline constexpr WORD FUNCFLAG_FSOURCE = 0x2;
inline constexpr WORD FUNCFLAG_FBINDABLE = 0x4;
inline constexpr WORD FUNCFLAG_FREQUESTEDIT = 0x8;
inline constexpr WORD FUNCFLAG_FDISPLAYBIND = 0x10;
inline constexpr WORD FUNCFLAG_FDEFAULTBIND = 0x20;
inline constexpr WORD FUNCFLAG_FHIDDEN = 0x40;

inline constexpr INT IMPLTYPEFLAG_FDEFAULT = 0x1;
inline constexpr INT IMPLTYPEFLAG_FSOURCE = 0x2;
inline constexpr INT IMPLTYPEFLAG_FRESTRICTED = 0x4;

inline constexpr USHORT PARAMFLAG_NONE = 0x0;
inline constexpr USHORT PARAMFLAG_FIN = 0x1;
inline constexpr USHORT PARAMFLAG_FOUT = 0x2;
inline constexpr USHORT PARAMFLAG_FRETVAL = 0x8;
inline constexpr USHORT PARAMFLAG_FOPT = 0x10;

inline constexpr WORD LIBFLAG_FRESTRICTED = 0x1;
inline constexpr WORD LIBFLAG_FCONTROL = 0x2;
inline constexpr WORD LIBFLAG_FHIDDEN = 0x4;

struct ARRAYDESC;
struct PARAMDESCEX;
struct VARDESC;
struct ITypeComp;
struct ITypeLib;

struct TYPEDESC {
  union {
    TYPEDESC* lptdesc;  // VT_PTR: what it points to
    ARRAYDESC* lpadesc;
    HREFTYPE hreftype;  // VT_USERDEFINED: for GetRefTypeInfo
  };
  VARTYPE vt;
};

struct IDLDESC {
  ULONG_PTR dwReserved;
  USHORT wIDLFlags;
};

struct PARAMDESC {
  PARAMDESCEX* pparamdescex;
  USHORT wParamFlags;
};

struct ELEMDESC {
  TYPEDESC tdesc;
  union {
    IDLDESC idldesc;
    PARAMDESC paramdesc;
  };
};

struct FUNCDESC {
  MEMBERID memid;
  SCODE* lprgscode;
  ELEMDESC* lprgelemdescParam;
  FUNCKIND funckind;
  INVOKEKIND invkind;
  CALLCONV callconv;
  SHORT cParams;
  SHORT cParamsOpt;
  SHORT oVft;
  SHORT cScodes;
  ELEMDESC elemdescFunc;
  WORD wFuncFlags;
};

struct TYPEATTR {
  GUID guid;
  LCID lcid;
  DWORD dwReserved;
  MEMBERID memidConstructor;
  MEMBERID memidDestructor;
  LPOLESTR lpstrSchema;
  ULONG cbSizeInstance;
  TYPEKIND typekind;
  WORD cFuncs;
  WORD cVars;
  WORD cImplTypes;
  WORD cbSizeVft;
  WORD cbAlignment;
  WORD wTypeFlags;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  TYPEDESC tdescAlias;
  IDLDESC idldescType;
};

struct TLIBATTR {
  GUID guid;
  LCID lcid;
  SYSKIND syskind;
  WORD wMajorVerNum;
  WORD wMinorVerNum;
  WORD wLibFlags;
};

struct ITypeInfo : IUnknown {
  virtual HRESULT GetTypeAttr(TYPEATTR** ppTypeAttr) = 0;
  virtual HRESULT GetTypeComp(ITypeComp** ppTComp) = 0;
  virtual HRESULT GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) = 0;
  virtual HRESULT GetVarDesc(UINT index, VARDESC** ppVarDesc) = 0;
  virtual HRESULT GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) = 0;
  virtual HRESULT GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) = 0;
  virtual HRESULT GetImplTypeFlags(UINT index, INT* pImplTypeFlags) = 0;
  virtual HRESULT GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) = 0;
  virtual HRESULT Invoke(void* pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) = 0;
  virtual HRESULT GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString,
                                   DWORD* pdwHelpContext, BSTR* pBstrHelpFile) = 0;
  virtual HRESULT GetDllEntry(MEMBERID memid, INVOKEKIND invKind, BSTR* pBstrDllName, BSTR* pBstrName,
                              WORD* pwOrdinal) = 0;
  virtual HRESULT GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT AddressOfMember(MEMBERID memid, INVOKEKIND invKind, void** ppv) = 0;
  virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObj) = 0;
  virtual HRESULT GetMops(MEMBERID memid, BSTR* pBstrMops) = 0;
  virtual HRESULT GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) = 0;
  virtual void ReleaseTypeAttr(TYPEATTR* pTypeAttr) = 0;
  virtual void ReleaseFuncDesc(FUNCDESC* pFuncDesc) = 0;
  virtual void ReleaseVarDesc(VARDESC* pVarDesc) = 0;

 protected:
  ~ITypeInfo() = default;
};

struct ITypeLib : IUnknown {
  virtual UINT GetTypeInfoCount() = 0;
  virtual HRESULT GetTypeInfo(UINT index, ITypeInfo** ppTInfo) = 0;
  virtual HRESULT GetTypeInfoType(UINT index, TYPEKIND* pTKind) = 0;
  virtual HRESULT GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) = 0;
  virtual HRESULT GetLibAttr(TLIBATTR** ppTLibAttr) = 0;
  virtual HRESULT GetTypeComp(ITypeComp** ppTComp) = 0;
  // index -1 documents the library itself.
  virtual HRESULT GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                   BSTR* pBstrHelpFile) = 0;
  virtual HRESULT IsName(LPOLESTR szNameBuf, ULONG lHashVal, BOOL* pfName) = 0;
  virtual HRESULT FindName(LPOLESTR szNameBuf, ULONG lHashVal, ITypeInfo** ppTInfo, MEMBERID* rgMemId,
                           USHORT* pcFound) = 0;
  virtual void ReleaseTLibAttr(TLIBATTR* pTLibAttr) = 0;

 protected:
  ~ITypeLib() = default;
};

inline constexpr IID IID_ITypeInfo = {0x00020401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_ITypeLib = {0x00020402, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
#endif

JV_INTERFACE_IDS(ITypeInfo, JV_IID(ITypeInfo));
JV_INTERFACE_IDS(ITypeLib, JV_IID(ITypeLib));
