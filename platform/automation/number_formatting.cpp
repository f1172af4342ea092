#include "platform/automation/number_formatting.h"

#include <charconv>
#include <string>
#include <string_view>

namespace jv::conversion {

namespace {

void AppendAscii(Text& out, std::string_view ascii) { out.append(ascii.begin(), ascii.end()); }

}  // namespace

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

}  // namespace jv::conversion
