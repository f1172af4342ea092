#include "platform/automation/std_font.h"

#include <atomic>
#include <new>

#include "platform/automation/font_disp.h"

namespace jv {

namespace {

constexpr BOOL kTrue = 1;
constexpr BOOL kFalse = 0;
constexpr std::int16_t kBoldThreshold = 600;
constexpr std::int16_t kBoldWeight = 700;
constexpr std::int16_t kNormalWeight = 400;

// Atomic although each font stays in its apartment: fonts of different apartments
// share this one counter.
std::atomic<std::size_t> live_fonts{0};

bool ValidName(TextView name) { return !name.empty() && name.find(u'\0') == TextView::npos; }
bool ValidWeight(std::int32_t weight) { return weight >= 0 && weight <= 1000; }
bool ValidCharset(std::int32_t charset) { return charset >= 0 && charset <= 255; }
TextView View(BSTR b) { return TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b)); }

// A getter's answer: E_POINTER for a null out-pointer, else the value.
HRESULT HandOut(bool flag, BOOL* out) {
  if (out == nullptr) return E_POINTER;
  *out = flag ? kTrue : kFalse;
  return S_OK;
}
HRESULT HandOut(std::int16_t value, SHORT* out) {
  if (out == nullptr) return E_POINTER;
  *out = value;
  return S_OK;
}
// Any value but FALSE sets a style flag.
HRESULT TakeFlag(BOOL value, bool* flag) {
  *flag = value != kFalse;
  return S_OK;
}

}  // namespace

std::size_t LiveStdFontCount() { return live_fonts.load(); }

StdFont::StdFont() { ++live_fonts; }
StdFont::~StdFont() { --live_fonts; }

bool StdFontAccepts(const FontDescription& d) {
  return ValidName(d.name) && d.size_cy > 0 && ValidWeight(d.weight) && ValidCharset(d.charset);
}

HRESULT CreateStdFont(const FontDescription& d, IFont** out) {
  if (out == nullptr) return E_POINTER;
  if (!StdFontAccepts(d)) return E_INVALIDARG;
  auto* font = new (std::nothrow) StdFont();
  if (font == nullptr) return E_OUTOFMEMORY;
  font->name_ = d.name;
  font->size_cy_ = d.size_cy;
  font->italic_ = d.italic;
  font->underline_ = d.underline;
  font->strikethrough_ = d.strikethrough;
  font->charset_ = d.charset;
  font->weight_ = d.weight;
  if (d.bold != (d.weight >= kBoldThreshold)) font->weight_ = d.bold ? kBoldWeight : kNormalWeight;
  *out = font;
  return S_OK;
}

HRESULT DescribeFont(IFont* font, FontDescription* out) {
  if (font == nullptr || out == nullptr) return E_POINTER;
  FontDescription d;
  BSTR name = nullptr;
  JV_TRY(font->get_Name(&name));
  d.name = Text(Bstr::Attach(name).view());
  CY size{};
  BOOL bold = kFalse, italic = kFalse, underline = kFalse, strikethrough = kFalse;
  HRESULT hr = font->get_Size(&size);
  if (SUCCEEDED(hr)) hr = font->get_Bold(&bold);
  if (SUCCEEDED(hr)) hr = font->get_Italic(&italic);
  if (SUCCEEDED(hr)) hr = font->get_Underline(&underline);
  if (SUCCEEDED(hr)) hr = font->get_Strikethrough(&strikethrough);
  if (SUCCEEDED(hr)) hr = font->get_Weight(&d.weight);
  if (SUCCEEDED(hr)) hr = font->get_Charset(&d.charset);
  JV_TRY(hr);
  d.size_cy = size.int64;
  d.bold = bold != kFalse;
  d.italic = italic != kFalse;
  d.underline = underline != kFalse;
  d.strikethrough = strikethrough != kFalse;
  *out = std::move(d);
  return S_OK;
}

HRESULT StdFont::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  // The dispatch view is a tear-off: it answers IUnknown and IFont from this object.
  if (riid == IID_IDispatch || riid == IID_IFontDisp) {
    IFontDisp* view = nullptr;
    const HRESULT hr = CreateFontDispatch(this, &view);
    *object = view;
    return hr;
  }
  return RefCounted::QueryInterface(riid, object);
}

HRESULT StdFont::get_Name(BSTR* name) {
  if (name == nullptr) return E_POINTER;
  BSTR copy = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(name_.data()),
                                static_cast<std::uint32_t>(name_.size()));
  if (copy == nullptr) return E_OUTOFMEMORY;
  *name = copy;
  return S_OK;
}

HRESULT StdFont::put_Name(BSTR name) {
  const TextView view = View(name);
  if (!ValidName(view)) return E_INVALIDARG;
  name_ = Text(view);
  return S_OK;
}

HRESULT StdFont::get_Size(CY* size) {
  if (size == nullptr) return E_POINTER;
  size->int64 = size_cy_;
  return S_OK;
}

HRESULT StdFont::put_Size(CY size) {
  if (size.int64 <= 0) return E_INVALIDARG;
  size_cy_ = size.int64;
  return S_OK;
}

HRESULT StdFont::get_Bold(BOOL* bold) { return HandOut(weight_ >= kBoldThreshold, bold); }

HRESULT StdFont::put_Bold(BOOL bold) {
  weight_ = bold != kFalse ? kBoldWeight : kNormalWeight;
  return S_OK;
}

HRESULT StdFont::get_Italic(BOOL* italic) { return HandOut(italic_, italic); }

HRESULT StdFont::put_Italic(BOOL italic) { return TakeFlag(italic, &italic_); }

HRESULT StdFont::get_Underline(BOOL* underline) { return HandOut(underline_, underline); }

HRESULT StdFont::put_Underline(BOOL underline) { return TakeFlag(underline, &underline_); }

HRESULT StdFont::get_Strikethrough(BOOL* strikethrough) { return HandOut(strikethrough_, strikethrough); }

HRESULT StdFont::put_Strikethrough(BOOL strikethrough) { return TakeFlag(strikethrough, &strikethrough_); }

HRESULT StdFont::get_Weight(SHORT* weight) { return HandOut(weight_, weight); }

HRESULT StdFont::put_Weight(SHORT weight) {
  if (!ValidWeight(weight)) return E_INVALIDARG;
  weight_ = weight;
  return S_OK;
}

HRESULT StdFont::get_Charset(SHORT* charset) { return HandOut(charset_, charset); }

HRESULT StdFont::put_Charset(SHORT charset) {
  if (!ValidCharset(charset)) return E_INVALIDARG;
  charset_ = charset;
  return S_OK;
}

HRESULT StdFont::get_hFont(HFONT* font) {
  if (font != nullptr) *font = nullptr;
  return E_NOTIMPL;
}

HRESULT StdFont::Clone(IFont** clone) {
  if (clone == nullptr) return E_POINTER;
  auto* copy = new (std::nothrow) StdFont();
  if (copy == nullptr) return E_OUTOFMEMORY;
  copy->name_ = name_;
  copy->size_cy_ = size_cy_;
  copy->italic_ = italic_;
  copy->underline_ = underline_;
  copy->strikethrough_ = strikethrough_;
  copy->weight_ = weight_;
  copy->charset_ = charset_;
  *clone = copy;
  return S_OK;
}

HRESULT StdFont::IsEqual(IFont* other) {
  if (other == nullptr) return E_POINTER;
  if (other == this) return S_OK;
  FontDescription theirs;
  JV_TRY(DescribeFont(other, &theirs));
  const bool equal = theirs.name == name_ && theirs.size_cy == size_cy_ &&
                     theirs.bold == (weight_ >= kBoldThreshold) && theirs.italic == italic_ &&
                     theirs.underline == underline_ && theirs.strikethrough == strikethrough_ &&
                     theirs.weight == weight_ && theirs.charset == charset_;
  return equal ? S_OK : S_FALSE;
}

HRESULT StdFont::SetRatio(LONG, LONG) { return E_NOTIMPL; }
HRESULT StdFont::QueryTextMetrics(TEXTMETRICOLE*) { return E_NOTIMPL; }
HRESULT StdFont::AddRefHfont(HFONT) { return E_NOTIMPL; }
HRESULT StdFont::ReleaseHfont(HFONT) { return E_NOTIMPL; }
HRESULT StdFont::SetHdc(HDC) { return E_NOTIMPL; }

}  // namespace jv
