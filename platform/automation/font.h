// The standard font object's interface: name, size in points (currency, four
// decimals), style flags, weight and character set. Shared by reference: whoever
// holds an IFont holds the same object as everyone else who was handed it.
#pragma once

#include <cstdint>

#include "platform/automation/bstr.h"
#include "platform/automation/interface_ids.h"
#include "platform/automation/unknown.h"

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

struct IFont : IUnknown {
  virtual HRESULT get_Name(BSTR* name) = 0;
  virtual HRESULT put_Name(BSTR name) = 0;
  virtual HRESULT get_Size(CY* size) = 0;
  virtual HRESULT put_Size(CY size) = 0;
  virtual HRESULT get_Bold(BOOL* bold) = 0;
  virtual HRESULT put_Bold(BOOL bold) = 0;
  virtual HRESULT get_Italic(BOOL* italic) = 0;
  virtual HRESULT put_Italic(BOOL italic) = 0;
  virtual HRESULT get_Underline(BOOL* underline) = 0;
  virtual HRESULT put_Underline(BOOL underline) = 0;
  virtual HRESULT get_Strikethrough(BOOL* strikethrough) = 0;
  virtual HRESULT put_Strikethrough(BOOL strikethrough) = 0;
  virtual HRESULT get_Weight(SHORT* weight) = 0;
  virtual HRESULT put_Weight(SHORT weight) = 0;
  virtual HRESULT get_Charset(SHORT* charset) = 0;
  virtual HRESULT put_Charset(SHORT charset) = 0;
  // Device handles have no meaning off Windows; the portable font answers E_NOTIMPL.
  virtual HRESULT get_hFont(HFONT* font) = 0;
  virtual HRESULT Clone(IFont** clone) = 0;
  virtual HRESULT IsEqual(IFont* other) = 0;
  virtual HRESULT SetRatio(LONG logical, LONG himetric) = 0;
  virtual HRESULT QueryTextMetrics(TEXTMETRICOLE* metrics) = 0;
  virtual HRESULT AddRefHfont(HFONT font) = 0;
  virtual HRESULT ReleaseHfont(HFONT font) = 0;
  virtual HRESULT SetHdc(HDC dc) = 0;

 protected:
  ~IFont() = default;
};

inline constexpr IID IID_IFont = {
    0xBEF6E002, 0xA874, 0x101A, {0x8B, 0xBA, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};
#endif

JV_INTERFACE_IDS(IFont, JV_IID(IFont));

namespace jv {
using FontRef = ComPtr<IFont>;
}  // namespace jv
