#include "platform/automation/value_coercion.h"

#include <cfloat>
#include <cmath>

#include "platform/automation/date_range.h"
#include "platform/automation/date_text.h"
#include "platform/automation/number_formatting.h"
#include "platform/automation/number_parsing.h"

namespace jv::conversion {

namespace {

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

HRESULT RealToInteger(double d, const IntRange& range, std::int64_t* out) {
  if (!std::isfinite(d)) return DISP_E_OVERFLOW;
  const double r = RoundHalfEven(d);
  if (r < static_cast<double>(range.lo) || r > static_cast<double>(range.hi)) return DISP_E_OVERFLOW;
  *out = static_cast<std::int64_t>(r);
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

}  // namespace

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

HRESULT ToTruth(const Value& v, bool* out) {
  if (v.kind == Kind::kText) {
    const TextView t = TrimBlanks(v.text);
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

HRESULT ToDateValue(const Value& v, DATE* out) {
  if (v.kind == Kind::kText) return DISP_E_TYPEMISMATCH;
  double d = 0;
  JV_TRY(ToReal(v, &d));
  if (!IsValidDate(d)) return DISP_E_OVERFLOW;
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
      return InvariantDateText(v.d, out);
    case Kind::kText:
      *out = Text(v.text);
      return S_OK;
    default:
      return DISP_E_TYPEMISMATCH;
  }
}

}  // namespace jv::conversion
