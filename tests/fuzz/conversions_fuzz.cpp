// Arbitrary variants through every coercion. A failed coercion leaves its output
// untouched; numbers and truth values written as text read back as themselves;
// nothing crashes, leaks or keeps a font alive.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/automation/std_font.h"
#include "platform/automation/variant_conversions.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  template <class T>
  T Take() {
    T value{};
    Fill(&value, sizeof(T));
    return value;
  }
  // The next `n` bytes into `to`, zeros where the input has run out.
  void Fill(void* to, std::size_t n) {
    std::memset(to, 0, n);
    n = std::min(n, size_);
    std::memcpy(to, data_, n);
    data_ += n;
    size_ -= n;
  }
  bool empty() const { return size_ == 0; }
  // The rest as text: either each byte a character, which reaches the number
  // reader, or pairs of bytes as UTF-16 code units, lone surrogates included.
  jv::Text Rest(bool ascii) {
    jv::Text text;
    while (!empty()) text.push_back(ascii ? static_cast<char16_t>(Take<std::uint8_t>()) : Take<char16_t>());
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// Storage that a by-reference variant points into; it outlives the variant.
// `held` is the value as a by-value variant carries it, and owns its text or
// object until a by-value variant takes them over.
struct Pointee {
  Pointee() {
    VariantInit(&held);
    VariantInit(&inner);
  }
  VARIANT held;
  VARIANT inner;
};

// Fills v from the bytes, by value or by reference; the caller frees what the
// Pointee owns, never v itself when it is by reference.
void Build(Bytes& in, IFont* font, Pointee& p, VARIANT* v, bool allow_nested) {
  VariantInit(v);
  const auto selector = in.Take<std::uint8_t>();
  const bool by_ref = (selector & 0x80) != 0;
  // Each type with the bytes of its value when it is a plain number (a date,
  // currency, an error code and a truth value are too); 0 for the others.
  struct Kind {
    VARTYPE vt;
    std::size_t scalar_bytes;
  };
  static constexpr Kind kTypes[] = {{VT_EMPTY, 0},
                                    {VT_NULL, 0},
                                    {VT_I2, sizeof(std::int16_t)},
                                    {VT_I4, sizeof(std::int32_t)},
                                    {VT_R4, sizeof(float)},
                                    {VT_R8, sizeof(double)},
                                    {VT_CY, sizeof(CY)},
                                    {VT_DATE, sizeof(DATE)},
                                    {VT_BSTR, 0},
                                    {VT_ERROR, sizeof(SCODE)},
                                    {VT_BOOL, sizeof(VARIANT_BOOL)},
                                    {VT_UI1, sizeof(std::uint8_t)},
                                    {VT_UNKNOWN, 0},
                                    {VT_DISPATCH, 0},
                                    {VT_VARIANT, 0},
                                    {VT_BSTR /* ascii */, 0}};
  const std::size_t pick = selector & 0x0F;
  if ((selector & 0x70) == 0x70) {
    v->vt = in.Take<VARTYPE>();  // any type, most of them invalid
    return;
  }
  const VARTYPE vt = kTypes[pick].vt;
  if (vt == VT_VARIANT) {
    // Only by reference; a second level of reference is refused by the conversions.
    if (allow_nested) {
      Build(in, font, p, &p.inner, false);
    } else {
      VariantInit(&p.inner);
    }
    v->vt = VT_BYREF | VT_VARIANT;
    v->pvarVal = &p.inner;
    return;
  }
  VARIANT& held = p.held;
  // Every member of the value's union starts at the same address.
  in.Fill(&held.lVal, kTypes[pick].scalar_bytes);
  switch (vt) {
    case VT_BSTR: {
      const jv::Text text = in.Rest(pick == 15);
      held.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                       static_cast<std::uint32_t>(text.size()));
      break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
      held.punkVal = (in.Take<std::uint8_t>() & 1) != 0 ? font : nullptr;
      if (held.punkVal != nullptr) held.punkVal->AddRef();
      break;
    default:
      break;
  }
  held.vt = vt;
  if (by_ref && vt != VT_EMPTY && vt != VT_NULL) {
    // Every member of the value's union starts at the same address.
    v->vt = static_cast<VARTYPE>(vt | VT_BYREF);
    v->byref = &held.lVal;
  } else {
    // By value the variant takes over what the Pointee allocated.
    *v = held;
    VariantInit(&held);
  }
}

void Free(Pointee& p) {
  VariantClear(&p.held);  // what no by-value variant took over
  if (p.inner.vt != VT_EMPTY && (p.inner.vt & VT_BYREF) == 0) VariantClear(&p.inner);
}

bool SameBits(const VARIANT& a, const VARIANT& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Numbers and truth values go to text and back unchanged.
void CheckTextRoundTrip(const VARIANT& in) {
  std::int32_t i4 = 0;
  if (SUCCEEDED(jv::ToInt32(in, &i4))) {
    jv::Text text;
    Check(SUCCEEDED(jv::ToText(jv::Variant::I4(i4), &text)));
    std::int32_t back = 0;
    Check(SUCCEEDED(jv::ToInt32(jv::Variant::Str(text), &back)) && back == i4);
  }
  double d = 0;
  if (SUCCEEDED(jv::ToDouble(in, &d))) {
    Check(std::isfinite(d));
    jv::Text text;
    Check(SUCCEEDED(jv::ToText(jv::Variant::R8(d), &text)));
    double back = 0;
    Check(SUCCEEDED(jv::ToDouble(jv::Variant::Str(text), &back)));
    Check(back == d || (d == 0 && back == 0));
  }
  VARIANT_BOOL b = 1;
  if (SUCCEEDED(jv::ToBool(in, &b))) {
    Check(b == VARIANT_TRUE || b == VARIANT_FALSE);
    jv::Text text;
    Check(SUCCEEDED(jv::ToText(jv::Variant::Bool(b != VARIANT_FALSE), &text)));
    VARIANT_BOOL back = 1;
    Check(SUCCEEDED(jv::ToBool(jv::Variant::Str(text), &back)) && back == b);
  }
}

void CheckUntouchedOnFailure(const VARIANT& in, IFont* font) {
  std::int32_t i4 = 0x5A5A5A5A;
  if (FAILED(jv::ToInt32(in, &i4))) Check(i4 == 0x5A5A5A5A);
  std::int16_t i2 = 0x5A5A;
  if (FAILED(jv::ToInt16(in, &i2))) Check(i2 == 0x5A5A);
  VARIANT_BOOL b = 7;
  if (FAILED(jv::ToBool(in, &b))) Check(b == 7);
  double d = 0.5;
  if (FAILED(jv::ToDouble(in, &d))) Check(d == 0.5);
  jv::Text text = u"sentinel";
  if (FAILED(jv::ToText(in, &text))) Check(text == u"sentinel");
  jv::FontRef got(font);
  if (SUCCEEDED(jv::ToFont(in, &got))) {
    Check(got.get() == nullptr || got.get() == font);
  } else {
    Check(got.get() == font);
  }

  static constexpr VARTYPE kTargets[] = {
      VT_EMPTY,   VT_NULL,          VT_I2,       VT_I4,    VT_R4,   VT_R8,      VT_CY,
      VT_DATE,    VT_BSTR,          VT_DISPATCH, VT_ERROR, VT_BOOL, VT_UNKNOWN, VT_UI1,
      VT_VARIANT, VT_BYREF | VT_I4, 0x0FFF};
  for (const VARTYPE to : kTargets) {
    VARIANT out;
    VariantInit(&out);
    out.vt = VT_I4;
    out.lVal = 0x5A5A5A5A;
    const VARIANT before = out;
    if (FAILED(jv::ChangeType(in, to, &out))) {
      Check(SameBits(out, before));
    } else {
      Check(out.vt == to);
      CheckTextRoundTrip(out);
      Check(SUCCEEDED(VariantClear(&out)));
    }
  }
  // In place, on a copy: the conversion reads its source before it replaces it.
  jv::Variant copy;
  if (SUCCEEDED(jv::Variant::Copy(in, &copy))) {
    VARIANT v = copy.Detach();
    const VARIANT before = v;
    if (FAILED(jv::ChangeType(v, VT_BSTR, &v))) Check(SameBits(v, before));
    VariantClear(&v);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t live_before = jv::LiveStdFontCount();
  {
    IFont* raw = nullptr;
    Check(SUCCEEDED(jv::CreateStdFont({}, &raw)));
    const jv::FontRef font = jv::FontRef::Adopt(raw);
    Bytes in(data, size);
    Pointee p;
    VARIANT v;
    Build(in, font.get(), p, &v, true);
    CheckUntouchedOnFailure(v, font.get());
    CheckTextRoundTrip(v);
    if (jv::IsValidVariantType(v.vt) && (v.vt & VT_BYREF) == 0) VariantClear(&v);
    Free(p);
  }
  Check(jv::LiveStdFontCount() == live_before);
  return 0;
}
