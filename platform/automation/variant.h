// The automation variant: a tagged value with the Windows binary layout, its
// lifetime functions, and Variant, the owner that the rest of the code uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

#include "platform/automation/bstr.h"
#include "platform/automation/font.h"
#include "platform/automation/hresult.h"
#include "platform/automation/types.h"
#include "platform/automation/unknown.h"

#ifdef _WIN32
#include <oaidl.h>
#else
using VARTYPE = std::uint16_t;
using SCODE = std::int32_t;

// Declared for the layout of the union; object variants are handled through
// punkVal, since every IDispatch is an IUnknown at the same address.
struct IDispatch;

inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_NULL = 1;
inline constexpr VARTYPE VT_I2 = 2;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_R4 = 4;
inline constexpr VARTYPE VT_R8 = 5;
inline constexpr VARTYPE VT_CY = 6;
inline constexpr VARTYPE VT_DATE = 7;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_DISPATCH = 9;
inline constexpr VARTYPE VT_ERROR = 10;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_VARIANT = 12;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_UI1 = 17;
inline constexpr VARTYPE VT_BYREF = 0x4000;
inline constexpr VARTYPE VT_TYPEMASK = 0x0FFF;

struct VARIANT {
  VARTYPE vt;
  std::uint16_t wReserved1;
  std::uint16_t wReserved2;
  std::uint16_t wReserved3;
  union {
    std::int32_t lVal;
    std::uint8_t bVal;
    std::int16_t iVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    SCODE scode;
    CY cyVal;
    DATE date;
    BSTR bstrVal;
    IUnknown* punkVal;
    IDispatch* pdispVal;
    std::uint8_t* pbVal;
    std::int16_t* piVal;
    std::int32_t* plVal;
    float* pfltVal;
    double* pdblVal;
    VARIANT_BOOL* pboolVal;
    SCODE* pscode;
    CY* pcyVal;
    DATE* pdate;
    BSTR* pbstrVal;
    IUnknown** ppunkVal;
    IDispatch** ppdispVal;
    VARIANT* pvarVal;
    void* byref;
    // The widest member on Windows (a record: data and type pointers); it fixes the size.
    struct {
      void* pvRecord;
      void* pRecInfo;
    } brecVal;
  };
};

static_assert(offsetof(VARIANT, lVal) == 8, "the value follows the type and three reserved words");
static_assert(sizeof(VARIANT) == 8 + 2 * sizeof(void*), "a VARIANT is 16 bytes on 32 bits, 24 on 64");

// VariantInit makes an empty variant. VariantClear frees what the variant owns (a
// BSTR, a reference to an object; never what a by-reference variant points to) and
// leaves it empty. VariantCopy makes dest an independent copy of src; on failure
// dest is left as it was.
void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);
#endif

namespace jv {

// True for the types a VARIANT of this system may hold, by value or by reference.
bool IsValidVariantType(VARTYPE vt);

// An owned VARIANT. Copies go through VariantCopy; a copy that cannot allocate
// yields an error variant holding E_OUTOFMEMORY rather than a silently empty one.
class Variant {
 public:
  Variant() { VariantInit(&v_); }
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
  Variant& operator=(Variant other) noexcept {
    std::swap(v_, other.v_);
    return *this;
  }
  ~Variant() { VariantClear(&v_); }

  static Variant Empty() { return Variant(); }
  static Variant Null();
  static Variant I2(std::int16_t value);
  static Variant I4(std::int32_t value);
  static Variant R8(double value);
  static Variant Date(DATE value);
  static Variant Bool(bool value);
  static Variant Str(TextView text);
  // Holds a new reference to object (VT_UNKNOWN); a null object is "Nothing".
  static Variant Object(IUnknown* object);
  // An error value; DISP_E_PARAMNOTFOUND is how a missing optional argument travels.
  static Variant Error(SCODE code);

  // Copies a VARIANT owned by someone else, reporting allocation failure.
  [[nodiscard]] static HRESULT Copy(const VARIANT& source, Variant* out);
  // Takes over a VARIANT (as an out-parameter hands back) without copying; the
  // caller's copy must not be cleared afterwards.
  static Variant Attach(const VARIANT& owned) {
    Variant v;
    v.v_ = owned;
    return v;
  }
  // Hands the VARIANT to the caller, who must clear it; this one becomes empty.
  VARIANT Detach() {
    VARIANT out = v_;
    VariantInit(&v_);
    return out;
  }
  // For out-parameters: clears what is held and hands out the slot.
  VARIANT* put() {
    VariantClear(&v_);
    VariantInit(&v_);
    return &v_;
  }

  VARTYPE vt() const { return v_.vt; }
  const VARIANT& raw() const { return v_; }

 private:
  VARIANT v_;
};

}  // namespace jv
