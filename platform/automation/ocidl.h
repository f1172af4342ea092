// The interfaces between a control and its container: the class object, the
// outgoing interfaces (connection points, property-change notices), persistence
// through a property bag, and the class's type information.
#pragma once

#include "platform/automation/dispatch.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/typeinfo.h"
#include "platform/automation/unknown.h"
#include "platform/automation/variant.h"

#ifdef _WIN32
#include <ocidl.h>
#include <unknwn.h>
#else
struct IClassFactory : IUnknown {
  virtual HRESULT CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) = 0;
  // While locked the server stays loaded, even with no object alive.
  virtual HRESULT LockServer(BOOL fLock) = 0;

 protected:
  ~IClassFactory() = default;
};

struct IConnectionPoint;
struct IConnectionPointContainer;

struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
};

struct IEnumConnections : IUnknown {
  virtual HRESULT Next(ULONG cConnections, CONNECTDATA* rgcd, ULONG* pcFetched) = 0;
  virtual HRESULT Skip(ULONG cConnections) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnections** ppEnum) = 0;

 protected:
  ~IEnumConnections() = default;
};

struct IEnumConnectionPoints : IUnknown {
  virtual HRESULT Next(ULONG cConnections, IConnectionPoint** ppCP, ULONG* pcFetched) = 0;
  virtual HRESULT Skip(ULONG cConnections) = 0;
  virtual HRESULT Reset() = 0;
  virtual HRESULT Clone(IEnumConnectionPoints** ppEnum) = 0;

 protected:
  ~IEnumConnectionPoints() = default;
};

struct IConnectionPoint : IUnknown {
  virtual HRESULT GetConnectionInterface(IID* pIID) = 0;
  virtual HRESULT GetConnectionPointContainer(IConnectionPointContainer** ppCPC) = 0;
  virtual HRESULT Advise(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  virtual HRESULT Unadvise(DWORD dwCookie) = 0;
  virtual HRESULT EnumConnections(IEnumConnections** ppEnum) = 0;

 protected:
  ~IConnectionPoint() = default;
};

struct IConnectionPointContainer : IUnknown {
  virtual HRESULT EnumConnectionPoints(IEnumConnectionPoints** ppEnum) = 0;
  virtual HRESULT FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP) = 0;

 protected:
  ~IConnectionPointContainer() = default;
};

// The container's side of a bindable control: told which property changed.
struct IPropertyNotifySink : IUnknown {
  virtual HRESULT OnChanged(DISPID dispID) = 0;
  virtual HRESULT OnRequestEdit(DISPID dispID) = 0;

 protected:
  ~IPropertyNotifySink() = default;
};

struct IErrorLog : IUnknown {
  virtual HRESULT AddError(LPCOLESTR pszPropName, EXCEPINFO* pExcepInfo) = 0;

 protected:
  ~IErrorLog() = default;
};

// The container's store of named values. Read with *pVar empty hands back the
// stored type; with a type set asks the bag to coerce to it. A name without a value
// fails E_INVALIDARG.
struct IPropertyBag : IUnknown {
  virtual HRESULT Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog* pErrorLog) = 0;
  virtual HRESULT Write(LPCOLESTR pszPropName, VARIANT* pVar) = 0;

 protected:
  ~IPropertyBag() = default;
};

struct IPersist : IUnknown {
  virtual HRESULT GetClassID(CLSID* pClassID) = 0;

 protected:
  ~IPersist() = default;
};

struct IPersistPropertyBag : IPersist {
  virtual HRESULT InitNew() = 0;
  virtual HRESULT Load(IPropertyBag* pPropBag, IErrorLog* pErrorLog) = 0;
  virtual HRESULT Save(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) = 0;

 protected:
  ~IPersistPropertyBag() = default;
};

struct IProvideClassInfo : IUnknown {
  virtual HRESULT GetClassInfo(ITypeInfo** ppTI) = 0;

 protected:
  ~IProvideClassInfo() = default;
};

inline constexpr HRESULT CO_E_ALREADYINITIALIZED = static_cast<HRESULT>(0x800401F1u);
inline constexpr HRESULT REGDB_E_READREGDB = static_cast<HRESULT>(0x80040150u);
inline constexpr HRESULT REGDB_E_WRITEREGDB = static_cast<HRESULT>(0x80040151u);
inline constexpr HRESULT REGDB_E_INVALIDVALUE = static_cast<HRESULT>(0x80040153u);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);

inline constexpr IID IID_IClassFactory = {0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IPersist = {0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IProvideClassInfo = {
    0xB196B283, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPointContainer = {
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnectionPoints = {
    0xB196B285, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IConnectionPoint = {
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IEnumConnections = {
    0xB196B287, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPropertyNotifySink = {
    0x9BFBBC02, 0xEFF1, 0x101A, {0x84, 0xED, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr IID IID_IPersistPropertyBag = {
    0x37D84F60, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IPropertyBag = {
    0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
inline constexpr IID IID_IErrorLog = {
    0x3127CA40, 0x446E, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
#endif

// The ids each interface answers to (interface_ids.h).
JV_INTERFACE_IDS(IClassFactory, JV_IID(IClassFactory));
JV_INTERFACE_IDS(IConnectionPoint, JV_IID(IConnectionPoint));
JV_INTERFACE_IDS(IConnectionPointContainer, JV_IID(IConnectionPointContainer));
JV_INTERFACE_IDS(IEnumConnections, JV_IID(IEnumConnections));
JV_INTERFACE_IDS(IEnumConnectionPoints, JV_IID(IEnumConnectionPoints));
JV_INTERFACE_IDS(IPropertyNotifySink, JV_IID(IPropertyNotifySink));
JV_INTERFACE_IDS(IPropertyBag, JV_IID(IPropertyBag));
JV_INTERFACE_IDS(IPersistPropertyBag, JV_IID(IPersist), JV_IID(IPersistPropertyBag));
JV_INTERFACE_IDS(IProvideClassInfo, JV_IID(IProvideClassInfo));

#ifdef _WIN32
// The OLE control interfaces, which only the Windows build serves.
JV_INTERFACE_IDS(IOleObject, JV_IID(IOleObject));
JV_INTERFACE_IDS(IOleInPlaceObject, JV_IID(IOleWindow), JV_IID(IOleInPlaceObject));
JV_INTERFACE_IDS(IOleInPlaceActiveObject, JV_IID(IOleInPlaceActiveObject));
JV_INTERFACE_IDS(IViewObject2, JV_IID(IViewObject), JV_IID(IViewObject2));
JV_INTERFACE_IDS(IOleControl, JV_IID(IOleControl));
JV_INTERFACE_IDS(ISpecifyPropertyPages, JV_IID(ISpecifyPropertyPages));
JV_INTERFACE_IDS(IPersistStreamInit, JV_IID(IPersistStreamInit));
JV_INTERFACE_IDS(IPersistStorage, JV_IID(IPersistStorage));
JV_INTERFACE_IDS(IQuickActivate, JV_IID(IQuickActivate));
JV_INTERFACE_IDS(IDataObject, JV_IID(IDataObject));
JV_INTERFACE_IDS(IPropertyPage2, JV_IID(IPropertyPage), JV_IID(IPropertyPage2));
#endif
