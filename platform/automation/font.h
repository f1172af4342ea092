// The standard font object's interface: name, size in points (currency, four
// decimals), style flags, weight and character set. Shared by reference: whoever
// holds an IFont holds the same object as everyone else who was handed it.
#pragma once

#include <cstdint>

#include "platform/automation/bstr.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/unknown.h"

// IFont's properties in vtable order, each a get and a put: PROPERTY(Name, Type).
// The interface (off Windows) and the standard font declare their members from it.
#define JV_IFONT_PROPERTIES(PROPERTY) \
  PROPERTY(Name, BSTR)                \
  PROPERTY(Size, CY)                  \
  PROPERTY(Bold, BOOL)                \
  PROPERTY(Italic, BOOL)              \
  PROPERTY(Underline, BOOL)           \
  PROPERTY(Strikethrough, BOOL)       \
  PROPERTY(Weight, SHORT)             \
  PROPERTY(Charset, SHORT)

#ifdef _WIN32
#include <ocidl.h>
#include <olectl.h>
#else
// Currency: a 64-bit integer in ten-thousandths.
union CY {
  std::int64_t int64;
};
using BOOL = std::int32_t;
using SHORT = std::int16_t;
using LONG = std::int32_t;
using HFONT = void*;
using HDC = void*;
struct TEXTMETRICOLE;

#define JV_IFONT_PROPERTY(Name, Type)                               \
  virtual HRESULT JV_STDMETHODCALLTYPE get_##Name(Type* value) = 0; \
  virtual HRESULT JV_STDMETHODCALLTYPE put_##Name(Type value) = 0;
struct IFont : IUnknown {
  JV_IFONT_PROPERTIES(JV_IFONT_PROPERTY)
  // Device handles have no meaning off Windows; the portable font answers E_NOTIMPL.
  virtual HRESULT JV_STDMETHODCALLTYPE get_hFont(HFONT* font) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE Clone(IFont** clone) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE IsEqual(IFont* other) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE SetRatio(LONG logical, LONG himetric) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE QueryTextMetrics(TEXTMETRICOLE* metrics) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE AddRefHfont(HFONT font) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE ReleaseHfont(HFONT font) = 0;
  virtual HRESULT JV_STDMETHODCALLTYPE SetHdc(HDC dc) = 0;

 protected:
  ~IFont() = default;
};
#undef JV_IFONT_PROPERTY

inline constexpr IID IID_IFont = {
    0xBEF6E002, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
#endif

JV_INTERFACE_IDS(IFont, JV_IID(IFont));

namespace jv {
using FontRef = ComPtr<IFont>;
}  // namespace jv
