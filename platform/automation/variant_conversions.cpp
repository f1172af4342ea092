#include "platform/automation/variant_conversions.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace jv {

namespace {

// A variant's value after dereferencing, sorted by how it converts.
enum class Kind { kEmpty, kNull, kInt, kBool, kReal, kDate, kCy, kText, kObject, kError };

struct Value {
  Kind kind = Kind::kEmpty;
  VARTYPE vt = VT_EMPTY;  // the type of the value, without VT_BYREF
  std::int64_t i = 0;     // kInt, kBool (-1 or 0), kCy (ten-thousandths), kError
  double d = 0;           // kReal, kDate
  bool single = false;    // kReal from a float: formatted to float precision
  TextView text;          // kText; points into the source variant
  IUnknown* object = nullptr;
};

// One level of VT_BYREF | VT_VARIANT is followed; a reference to another such
// reference is refused, so a cycle cannot loop.
HRESULT Read(const VARIANT& v, Value* out, bool nested = false) {
  if (!IsValidVariantType(v.vt)) return DISP_E_BADVARTYPE;
  const bool by_ref = (v.vt & VT_BYREF) != 0;
  if (by_ref && v.byref == nullptr) return E_POINTER;
  Value r;
  r.vt = static_cast<VARTYPE>(v.vt & ~VT_BYREF);
  switch (r.vt) {
    case VT_EMPTY:
      r.kind = Kind::kEmpty;
      break;
    case VT_NULL:
      r.kind = Kind::kNull;
      break;
    case VT_I2:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.piVal : v.iVal;
      break;
    case VT_I4:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.plVal : v.lVal;
      break;
    case VT_UI1:
      r.kind = Kind::kInt;
      r.i = by_ref ? *v.pbVal : v.bVal;
      break;
    case VT_BOOL:
      r.kind = Kind::kBool;
      r.i = (by_ref ? *v.pboolVal : v.boolVal) != 0 ? -1 : 0;
      break;
    case VT_R4:
      r.kind = Kind::kReal;
      r.d = by_ref ? *v.pfltVal : v.fltVal;
      r.single = true;
      break;
    case VT_R8:
      r.kind = Kind::kReal;
      r.d = by_ref ? *v.pdblVal : v.dblVal;
      break;
    case VT_DATE:
      r.kind = Kind::kDate;
      r.d = by_ref ? *v.pdate : v.date;
      break;
    case VT_CY:
      r.kind = Kind::kCy;
      r.i = (by_ref ? *v.pcyVal : v.cyVal).int64;
      break;
    case VT_BSTR: {
      const BSTR b = by_ref ? *v.pbstrVal : v.bstrVal;
      r.kind = Kind::kText;
      r.text = TextView(reinterpret_cast<const char16_t*>(b), SysStringLen(b));
      break;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH:
      r.kind = Kind::kObject;
      r.object = by_ref ? *v.ppunkVal : v.punkVal;
      break;
    case VT_ERROR:
      r.kind = Kind::kError;
      r.i = by_ref ? *v.pscode : v.scode;
      break;
    case VT_VARIANT:
      if (nested) return DISP_E_BADVARTYPE;
      return Read(*v.pvarVal, out, true);
    default:
      return DISP_E_BADVARTYPE;
  }
  *out = r;
  return S_OK;
}

// ---- Reading numbers from text ----

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

TextView Trim(TextView t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// A number read from text: a hexadecimal or octal literal stays a bit pattern
// until the target's width is known.
struct Number {
  bool is_pattern = false;
  std::uint64_t pattern = 0;
  double value = 0;
};

int DigitValue(char16_t c, int shift) {
  if (c >= u'0' && c <= u'7') return c - u'0';
  if (shift == 3) return -1;
  if (c >= u'8' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

HRESULT ParsePattern(TextView t, Number* out) {
  const char16_t prefix = t[1];
  const int shift = (prefix == u'h' || prefix == u'H') ? 4 : (prefix == u'o' || prefix == u'O') ? 3 : 0;
  const TextView digits = t.substr(2);
  if (shift == 0 || digits.empty()) return DISP_E_TYPEMISMATCH;
  for (char16_t c : digits)
    if (DigitValue(c, shift) < 0) return DISP_E_TYPEMISMATCH;
  std::uint64_t value = 0;
  for (char16_t c : digits) {
    if ((value >> (64 - shift)) != 0) return DISP_E_OVERFLOW;
    value = (value << shift) | static_cast<std::uint64_t>(DigitValue(c, shift));
  }
  out->is_pattern = true;
  out->pattern = value;
  return S_OK;
}

HRESULT ParseDecimal(TextView t, Number* out) {
  std::size_t i = 0;
  const bool negative = t[0] == u'-';
  if (t[0] == u'-' || t[0] == u'+') ++i;
  std::string ascii = negative ? "-" : "";
  // Decimal exponent of the first significant digit, for telling overflow from
  // underflow when the double cannot hold the value.
  std::int64_t magnitude = 0;
  bool significant = false;
  std::size_t mantissa_digits = 0;
  for (; i < t.size() && IsDigit(t[i]); ++i, ++mantissa_digits) {
    if (t[i] != u'0') significant = true;
    if (significant) ++magnitude;
    ascii.push_back(static_cast<char>(t[i]));
  }
  if (i < t.size() && t[i] == u'.') {
    ascii.push_back('.');
    for (++i; i < t.size() && IsDigit(t[i]); ++i, ++mantissa_digits) {
      if (!significant && t[i] == u'0') --magnitude;
      if (t[i] != u'0') significant = true;
      ascii.push_back(static_cast<char>(t[i]));
    }
  }
  if (mantissa_digits == 0) return DISP_E_TYPEMISMATCH;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    ascii.push_back('e');
    ++i;
    bool exponent_negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
      exponent_negative = t[i] == u'-';
      if (exponent_negative) ascii.push_back('-');
      ++i;
    }
    std::int64_t exponent = 0;
    const std::size_t start = i;
    for (; i < t.size() && IsDigit(t[i]); ++i) {
      exponent = std::min<std::int64_t>(exponent * 10 + (t[i] - u'0'), 1'000'000'000);
      ascii.push_back(static_cast<char>(t[i]));
    }
    if (i == start) return DISP_E_TYPEMISMATCH;
    magnitude += exponent_negative ? -exponent : exponent;
  }
  if (i != t.size()) return DISP_E_TYPEMISMATCH;

  double value = 0;
  const auto [end, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large overflows; too small is zero.
    if (magnitude > 0) return DISP_E_OVERFLOW;
    value = 0;
  } else if (ec != std::errc() || end != ascii.data() + ascii.size()) {
    return DISP_E_TYPEMISMATCH;
  }
  out->is_pattern = false;
  out->value = value;
  return S_OK;
}

HRESULT ParseNumber(TextView text, Number* out) {
  const TextView t = Trim(text);
  if (t.empty()) return DISP_E_TYPEMISMATCH;
  if (t[0] == u'&') return t.size() >= 2 ? ParsePattern(t, out) : DISP_E_TYPEMISMATCH;
  return ParseDecimal(t, out);
}

// A pattern of at most width bits, read as a two's complement number when the
// target is signed.
HRESULT PatternValue(std::uint64_t pattern, int width, bool is_signed, std::int64_t* out) {
  const std::uint64_t limit = std::uint64_t{1} << width;
  if (pattern >= limit) return DISP_E_OVERFLOW;
  const bool high_bit = (pattern & (limit >> 1)) != 0;
  *out = is_signed && high_bit ? static_cast<std::int64_t>(pattern) - static_cast<std::int64_t>(limit)
                               : static_cast<std::int64_t>(pattern);
  return S_OK;
}

// ---- Numeric targets ----

double RoundHalfEven(double x) {
  const double lower = std::floor(x);
  const double fraction = x - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::int64_t RoundCy(std::int64_t cy) {
  std::int64_t whole = cy / 10000;
  const std::int64_t rest = cy % 10000;
  const std::int64_t step = cy < 0 ? -1 : 1;
  const std::int64_t half = rest < 0 ? -rest : rest;
  if (half > 5000 || (half == 5000 && whole % 2 != 0)) whole += step;
  return whole;
}

struct IntRange {
  std::int64_t lo;
  std::int64_t hi;
  int width;  // of hexadecimal and octal literals
  bool is_signed;
};
constexpr IntRange kI2{INT16_MIN, INT16_MAX, 16, true};
constexpr IntRange kI4{INT32_MIN, INT32_MAX, 32, true};
constexpr IntRange kUI1{0, UINT8_MAX, 8, false};

HRESULT RealToInteger(double d, const IntRange& range, std::int64_t* out) {
  if (!std::isfinite(d)) return DISP_E_OVERFLOW;
  const double r = RoundHalfEven(d);
  if (r < static_cast<double>(range.lo) || r > static_cast<double>(range.hi)) return DISP_E_OVERFLOW;
  *out = static_cast<std::int64_t>(r);
  return S_OK;
}

HRESULT ToInteger(const Value& v, const IntRange& range, std::int64_t* out) {
  std::int64_t r = 0;
  switch (v.kind) {
    case Kind::kEmpty:
      break;
    case Kind::kInt:
    case Kind::kBool:
      r = v.i;
      break;
    case Kind::kCy:
      r = RoundCy(v.i);
      break;
    case Kind::kReal:
    case Kind::kDate:
      JV_TRY(RealToInteger(v.d, range, &r));
      break;
    case Kind::kText: {
      Number n;
      JV_TRY(ParseNumber(v.text, &n));
      JV_TRY(n.is_pattern ? PatternValue(n.pattern, range.width, range.is_signed, &r)
                          : RealToInteger(n.value, range, &r));
      break;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  if (r < range.lo || r > range.hi) return DISP_E_OVERFLOW;
  *out = r;
  return S_OK;
}

HRESULT ToReal(const Value& v, double* out) {
  double r = 0;
  switch (v.kind) {
    case Kind::kEmpty:
      break;
    case Kind::kInt:
    case Kind::kBool:
      r = static_cast<double>(v.i);
      break;
    case Kind::kCy:
      r = static_cast<double>(v.i) / 10000.0;
      break;
    case Kind::kReal:
    case Kind::kDate:
      if (!std::isfinite(v.d)) return DISP_E_OVERFLOW;
      r = v.d;
      break;
    case Kind::kText: {
      Number n;
      JV_TRY(ParseNumber(v.text, &n));
      if (n.is_pattern) {
        std::int64_t i = 0;
        JV_TRY(PatternValue(n.pattern, 32, true, &i));
        r = static_cast<double>(i);
      } else {
        r = n.value;
      }
      break;
    }
    default:
      return DISP_E_TYPEMISMATCH;
  }
  *out = r;
  return S_OK;
}

bool EqualsIgnoringCase(TextView text, std::u16string_view lower_ascii) {
  if (text.size() != lower_ascii.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lower_ascii[i]) return false;
  }
  return true;
}

HRESULT ToTruth(const Value& v, bool* out) {
  if (v.kind == Kind::kText) {
    const TextView t = Trim(v.text);
    if (EqualsIgnoringCase(t, u"true")) {
      *out = true;
      return S_OK;
    }
    if (EqualsIgnoringCase(t, u"false")) {
      *out = false;
      return S_OK;
    }
  }
  if (v.kind == Kind::kInt || v.kind == Kind::kBool || v.kind == Kind::kCy) {
    *out = v.i != 0;
    return S_OK;
  }
  double d = 0;
  JV_TRY(ToReal(v, &d));
  *out = d != 0;
  return S_OK;
}

// Dates from 1 January 100 to 31 December 9999, any time of day. The whole part
// is the day, so -657434.5 is noon of the first day.
constexpr double kMinDateExclusive = -657435.0;
constexpr double kMaxDateExclusive = 2958466.0;
bool InDateRange(double d) { return d > kMinDateExclusive && d < kMaxDateExclusive; }

HRESULT ToDateValue(const Value& v, DATE* out) {
  if (v.kind == Kind::kText) return DISP_E_TYPEMISMATCH;
  double d = 0;
  JV_TRY(ToReal(v, &d));
  if (!InDateRange(d)) return DISP_E_OVERFLOW;
  *out = d;
  return S_OK;
}

HRESULT ToCy(const Value& v, std::int64_t* out) {
  if (v.kind == Kind::kCy) {
    *out = v.i;
    return S_OK;
  }
  if (v.kind == Kind::kInt || v.kind == Kind::kBool) {
    *out = v.i * 10000;  // at most 32 bits times 10^4: no overflow
    return S_OK;
  }
  double d = 0;
  JV_TRY(ToReal(v, &d));
  if (!std::isfinite(d)) return DISP_E_OVERFLOW;
  // Whole units and fraction apart: d * 10^4 in one double loses the last digits
  // of amounts beyond 2^53 ten-thousandths (123456789012345 would gain 0.0112).
  // d - trunc(d) is exact, and the sum's parity is the fraction's, so rounding the
  // fraction alone still rounds the amount half to even.
  const double whole = std::trunc(d);
  constexpr double kMaxWhole = 922337203685477.0;  // floor((2^63 - 1) / 10^4)
  if (std::fabs(whole) > kMaxWhole) return DISP_E_OVERFLOW;
  const std::int64_t units = static_cast<std::int64_t>(whole) * 10000;
  const auto fraction = static_cast<std::int64_t>(RoundHalfEven((d - whole) * 10000.0));
  std::int64_t r = 0;
  if (__builtin_add_overflow(units, fraction, &r)) return DISP_E_OVERFLOW;
  *out = r;
  return S_OK;
}

HRESULT ToSingle(const Value& v, float* out) {
  double d = 0;
  JV_TRY(ToReal(v, &d));
  if (std::fabs(d) > static_cast<double>(FLT_MAX)) return DISP_E_OVERFLOW;
  *out = static_cast<float>(d);
  return S_OK;
}

// ---- Text targets ----

void AppendAscii(Text& out, std::string_view ascii) { out.append(ascii.begin(), ascii.end()); }

Text IntegerText(std::int64_t value) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, value);
  return Text(buf, r.ptr);
}

Text RealText(double value, bool single) {
  if (value == 0) return u"0";  // also for -0
  char buf[64];
  const auto r =
      single ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(value), std::chars_format::scientific)
             : std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
  // Shortest round-trip digits, as "-d.ddde+XX".
  const std::string_view sci(buf, static_cast<std::size_t>(r.ptr - buf));
  const bool negative = sci[0] == '-';
  const std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(negative ? 1 : 0, e - (negative ? 1 : 0)))
    if (c != '.') digits.push_back(c);
  int exponent = 0;
  const std::string_view exp_text = sci.substr(e + 1);
  std::from_chars(exp_text.data() + (exp_text[0] == '+' ? 1 : 0), exp_text.data() + exp_text.size(),
                  exponent);

  std::string out = negative ? "-" : "";
  const std::string_view d = digits;
  if (exponent >= 0 && exponent < 15) {
    const auto whole = static_cast<std::size_t>(exponent) + 1;
    out.append(d.substr(0, whole));
    if (d.size() < whole) out.append(whole - d.size(), '0');
    if (d.size() > whole) out.append(".").append(d.substr(whole));
  } else if (exponent < 0 && exponent >= -5) {
    out.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(d);
  } else {
    out.append(d.substr(0, 1));
    if (d.size() > 1) out.append(".").append(d.substr(1));
    out.append(exponent < 0 ? "E-" : "E+");
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) out.push_back('0');
    out.append(std::to_string(magnitude));
  }
  Text text;
  AppendAscii(text, out);
  return text;
}

Text CyText(std::int64_t cy) {
  const bool negative = cy < 0;
  // Through unsigned arithmetic, so that the most negative amount negates too.
  const std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(cy) : static_cast<std::uint64_t>(cy);
  std::string out = negative ? "-" : "";
  out += std::to_string(magnitude / 10000);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) out.append(".").append(fraction);
  Text text;
  AppendAscii(text, out);
  return text;
}

HRESULT ValueText(const Value& v, Text* out) {
  switch (v.kind) {
    case Kind::kEmpty:
      *out = Text();
      return S_OK;
    case Kind::kInt:
      *out = IntegerText(v.i);
      return S_OK;
    case Kind::kBool:
      *out = v.i != 0 ? u"True" : u"False";
      return S_OK;
    case Kind::kCy:
      *out = CyText(v.i);
      return S_OK;
    case Kind::kReal:
      if (!std::isfinite(v.d)) return DISP_E_OVERFLOW;
      *out = RealText(v.d, v.single);
      return S_OK;
    case Kind::kDate:
      return DateToText(v.d, out);
    case Kind::kText:
      *out = Text(v.text);
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace

HRESULT DateToText(DATE date, Text* out) {
  if (out == nullptr) return E_POINTER;
  if (!InDateRange(date)) return DISP_E_OVERFLOW;
  using namespace std::chrono;
  // The whole part counts days (towards zero); the fraction's size is the time of
  // day, also for dates before 1900.
  const double whole = std::trunc(date);
  auto day = sys_days{year{1899} / December / 30} + days{static_cast<int>(whole)};
  auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(date - whole) * 86400.0));
  if (seconds >= 86400) {
    // Rounded up to midnight: the next calendar day, unless that leaves the range.
    if (year_month_day{day} < year{9999} / December / 31) {
      day += days{1};
      seconds = 0;
    } else {
      seconds = 86399;
    }
  }
  const year_month_day ymd{day};
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%u/%u/%04d", static_cast<unsigned>(ymd.month()),
                        static_cast<unsigned>(ymd.day()), static_cast<int>(ymd.year()));
  if (seconds != 0) {
    n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), " %d:%02d:%02d",
                       static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                       static_cast<int>(seconds % 60));
  }
  Text text;
  AppendAscii(text, std::string_view(buf, static_cast<std::size_t>(n)));
  *out = std::move(text);
  return S_OK;
}

HRESULT ToInt32(const VARIANT& in, std::int32_t* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  std::int64_t r = 0;
  JV_TRY(ToInteger(v, kI4, &r));
  *out = static_cast<std::int32_t>(r);
  return S_OK;
}

HRESULT ToInt16(const VARIANT& in, std::int16_t* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  std::int64_t r = 0;
  JV_TRY(ToInteger(v, kI2, &r));
  *out = static_cast<std::int16_t>(r);
  return S_OK;
}

HRESULT ToBool(const VARIANT& in, VARIANT_BOOL* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  bool b = false;
  JV_TRY(ToTruth(v, &b));
  *out = b ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

HRESULT ToText(const VARIANT& in, Text* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  return ValueText(v, out);
}

HRESULT ToDouble(const VARIANT& in, double* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  return ToReal(v, out);
}

HRESULT ToFont(const VARIANT& in, FontRef* out) {
  if (out == nullptr) return E_POINTER;
  Value v;
  JV_TRY(Read(in, &v));
  if (v.kind != Kind::kObject) return DISP_E_TYPEMISMATCH;
  if (v.object == nullptr) {
    *out = nullptr;
    return S_OK;
  }
  IFont* font = nullptr;
  const HRESULT hr = v.object->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
  if (hr == E_NOINTERFACE) return DISP_E_TYPEMISMATCH;
  JV_TRY(hr);
  if (font == nullptr) return DISP_E_TYPEMISMATCH;
  *out = FontRef::Adopt(font);
  return S_OK;
}

HRESULT ChangeType(const VARIANT& in, VARTYPE to, VARIANT* out) {
  if (out == nullptr) return E_POINTER;
  if (!IsValidVariantType(out->vt)) return DISP_E_BADVARTYPE;
  Value v;
  JV_TRY(Read(in, &v));

  // Built aside, so that a failure leaves *out as it was and in may be *out.
  VARIANT result;
  VariantInit(&result);
  result.vt = to;
  HRESULT hr = S_OK;
  std::int64_t i = 0;
  switch (to) {
    case VT_EMPTY:
      break;
    case VT_NULL:
      if (v.kind != Kind::kEmpty && v.kind != Kind::kNull) hr = DISP_E_TYPEMISMATCH;
      break;
    case VT_I2:
      hr = ToInteger(v, kI2, &i);
      result.iVal = static_cast<std::int16_t>(i);
      break;
    case VT_I4:
      hr = ToInteger(v, kI4, &i);
      result.lVal = static_cast<std::int32_t>(i);
      break;
    case VT_UI1:
      hr = ToInteger(v, kUI1, &i);
      result.bVal = static_cast<std::uint8_t>(i);
      break;
    case VT_R4:
      hr = ToSingle(v, &result.fltVal);
      break;
    case VT_R8:
      hr = ToReal(v, &result.dblVal);
      break;
    case VT_CY:
      hr = ToCy(v, &result.cyVal.int64);
      break;
    case VT_DATE:
      hr = ToDateValue(v, &result.date);
      break;
    case VT_BOOL: {
      bool b = false;
      hr = ToTruth(v, &b);
      result.boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    }
    case VT_BSTR: {
      Text text;
      hr = ValueText(v, &text);
      if (SUCCEEDED(hr)) {
        if (text.size() > std::numeric_limits<std::uint32_t>::max() / sizeof(OLECHAR)) return E_OUTOFMEMORY;
        result.bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                           static_cast<std::uint32_t>(text.size()));
        if (result.bstrVal == nullptr) return E_OUTOFMEMORY;
      }
      break;
    }
    case VT_UNKNOWN:
      if (v.kind != Kind::kObject) {
        hr = DISP_E_TYPEMISMATCH;
      } else {
        result.punkVal = v.object;
        if (v.object != nullptr) v.object->AddRef();
      }
      break;
    case VT_DISPATCH:
      // An IUnknown becomes an IDispatch only through QueryInterface for it, which
      // objects of this system do not answer yet; Nothing stays Nothing.
      if (v.kind == Kind::kObject && (v.vt == VT_DISPATCH || v.object == nullptr)) {
        result.punkVal = v.object;
        if (v.object != nullptr) v.object->AddRef();
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      break;
    case VT_ERROR:
      if (v.kind == Kind::kError) {
        result.scode = static_cast<SCODE>(v.i);
      } else {
        hr = DISP_E_TYPEMISMATCH;
      }
      break;
    default:
      hr = DISP_E_BADVARTYPE;
  }
  JV_TRY(hr);
  VariantClear(out);
  *out = result;
  return S_OK;
}

}  // namespace jv
