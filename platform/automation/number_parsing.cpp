#include "platform/automation/number_parsing.h"

#include <algorithm>
#include <charconv>
#include <string>

namespace jv::conversion {

namespace {

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

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

}  // namespace

TextView TrimBlanks(TextView t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

HRESULT ParseNumber(TextView text, Number* out) {
  const TextView t = TrimBlanks(text);
  if (t.empty()) return DISP_E_TYPEMISMATCH;
  if (t[0] == u'&') return t.size() >= 2 ? ParsePattern(t, out) : DISP_E_TYPEMISMATCH;
  return ParseDecimal(t, out);
}

HRESULT PatternValue(std::uint64_t pattern, int width, bool is_signed, std::int64_t* out) {
  const std::uint64_t limit = std::uint64_t{1} << width;
  if (pattern >= limit) return DISP_E_OVERFLOW;
  const bool high_bit = (pattern & (limit >> 1)) != 0;
  *out = is_signed && high_bit ? static_cast<std::int64_t>(pattern) - static_cast<std::int64_t>(limit)
                               : static_cast<std::int64_t>(pattern);
  return S_OK;
}

}  // namespace jv::conversion
