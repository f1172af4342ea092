// The argument rules every IDispatch::Invoke of this system applies: a get or a
// method call takes no arguments, a put takes exactly one, named DISPID_PROPERTYPUT,
// and an argument left out by the caller is reported rather than coerced.
#pragma once

#include "platform/automation/dispatch.h"

namespace jv {

// A property get or a method without parameters.
[[nodiscard]] inline HRESULT CheckNoArguments(const DISPPARAMS* params) {
  if (params == nullptr) return E_INVALIDARG;
  if (params->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  return S_OK;
}

// A put: *value is its one argument. A value that the caller marked as missing
// (an error variant holding DISP_E_PARAMNOTFOUND) fails DISP_E_PARAMNOTOPTIONAL.
[[nodiscard]] inline HRESULT PutArgument(const DISPPARAMS* params, const VARIANT** value) {
  if (params == nullptr) return E_INVALIDARG;
  if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
  if (params->rgvarg == nullptr) return E_INVALIDARG;
  if (params->cNamedArgs != 1) return DISP_E_PARAMNOTFOUND;
  if (params->rgdispidNamedArgs == nullptr) return E_INVALIDARG;
  if (params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) return DISP_E_PARAMNOTFOUND;
  const VARIANT& v = params->rgvarg[0];
  if (v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND) return DISP_E_PARAMNOTOPTIONAL;
  *value = &v;
  return S_OK;
}

// The kind of call that wFlags asks for, for a member that is a property with a get
// and a put (or a put-by-reference), or a method. Clients often set METHOD and
// PROPERTYGET together for a get; both forms are accepted.
enum class CallForm { kGet, kPut, kPutRef, kMethod, kNone };

inline CallForm CallFormOf(WORD flags, bool is_method, bool put_by_reference) {
  if (is_method) return (flags & DISPATCH_METHOD) != 0 ? CallForm::kMethod : CallForm::kNone;
  if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
    if (put_by_reference) return (flags & DISPATCH_PROPERTYPUTREF) != 0 ? CallForm::kPutRef : CallForm::kNone;
    return (flags & DISPATCH_PROPERTYPUT) != 0 ? CallForm::kPut : CallForm::kNone;
  }
  if ((flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0) return CallForm::kGet;
  return CallForm::kNone;
}

}  // namespace jv
