// Automation status codes: every platform operation and control routine reports
// success or failure through one of these instead of throwing.
#pragma once

#include <cstdint>

#ifdef _WIN32
// windows.h first: winerror.h alone lacks the HRESULT type its codes are cast to.
#include <windows.h>
#else
using HRESULT = std::int32_t;

constexpr HRESULT MakeStatus(std::uint32_t severity, std::uint32_t facility, std::uint32_t code) {
  return static_cast<HRESULT>((severity << 31) | (facility << 16) | code);
}

inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);

inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001u);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003u);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004u);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005u);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006u);
inline constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007u);
inline constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008u);
inline constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009u);
inline constexpr HRESULT DISP_E_OVERFLOW = static_cast<HRESULT>(0x8002000Au);
inline constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000Bu);
inline constexpr HRESULT DISP_E_UNKNOWNLCID = static_cast<HRESULT>(0x8002000Cu);
inline constexpr HRESULT DISP_E_ARRAYISLOCKED = static_cast<HRESULT>(0x8002000Du);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000Eu);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = static_cast<HRESULT>(0x8002000Fu);

inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
inline constexpr HRESULT CONNECT_E_NOCONNECTION = static_cast<HRESULT>(0x80040200u);
inline constexpr HRESULT CONNECT_E_ADVISELIMIT = static_cast<HRESULT>(0x80040201u);
inline constexpr HRESULT CONNECT_E_CANNOTCONNECT = static_cast<HRESULT>(0x80040202u);
inline constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200u);
inline constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

// Structured storage: what a reader of a stored object's data reports.
inline constexpr HRESULT STG_E_READFAULT = static_cast<HRESULT>(0x8003001Eu);
inline constexpr HRESULT STG_E_INVALIDHEADER = static_cast<HRESULT>(0x800300FBu);
inline constexpr HRESULT STG_E_DOCFILECORRUPT = static_cast<HRESULT>(0x80030109u);
inline constexpr HRESULT STG_E_OLDDLL = static_cast<HRESULT>(0x80030105u);
#endif

// Errors of the control runtime, in the control facility (0x0A) as the runtime's
// trappable error numbers. Windows' olectl.h has the first two as macros of the
// same value; whichever of the two headers comes first defines them.
#ifndef CTL_E_ILLEGALFUNCTIONCALL
inline constexpr HRESULT CTL_E_ILLEGALFUNCTIONCALL = static_cast<HRESULT>(0x800A0005u);
#endif
#ifndef CTL_E_OVERFLOW
inline constexpr HRESULT CTL_E_OVERFLOW = static_cast<HRESULT>(0x800A0006u);
#endif
inline constexpr HRESULT CTL_E_TYPEMISMATCH = static_cast<HRESULT>(0x800A000Du);
// "Control array element doesn't exist": an index without a member.
inline constexpr HRESULT CTL_E_ARRAYELEMENTMISSING = static_cast<HRESULT>(0x800A0154u);

// The early return of every fallible sequence: the first failing status ends the
// enclosing function and becomes its result.
#define JV_TRY(expr)                                            \
  do {                                                          \
    if (const HRESULT jv_try_hr_ = (expr); FAILED(jv_try_hr_)) \
      return jv_try_hr_;                                        \
  } while (0)
