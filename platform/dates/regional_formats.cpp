#include "platform/dates/regional_formats.h"

#include <cstdlib>

#include "platform/dates/calendar.h"
#include "platform/dates/regional_settings.h"

namespace jv::dates {
namespace {

constexpr char kDefaultLocale[] = "en_US";

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool AllOf(std::string_view s, bool (*pred)(char)) {
  for (const char c : s)
    if (!pred(c)) return false;
  return true;
}

std::string AsciiCase(std::string_view s, bool upper) {
  std::string r(s);
  for (char& c : r) {
    if (upper && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (!upper && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return r;
}

bool IsPatternLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Appends `value` in ASCII digits, zero-padded to at least `width` digits; the
// digits are built backwards on the stack and appended in one step.
void AppendNumber(Text* out, std::int32_t value, std::size_t width) {
  char16_t digits[16];
  char16_t* const end = digits + sizeof digits / sizeof digits[0];
  char16_t* first = end;
  auto v = static_cast<std::uint32_t>(value);
  do {
    *--first = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  std::size_t n = static_cast<std::size_t>(end - first);
  const std::size_t pad = width > n ? width - n : 0;
  if (pad <= static_cast<std::size_t>(first - digits)) {
    for (std::size_t i = 0; i < pad; ++i) *--first = u'0';
    n += pad;
  } else {
    out->append(pad, u'0');
  }
  out->append(first, n);
}

// Calls field(letter, run) for each pattern field and literal(c) for each literal
// character, with quoting resolved: '' is a quote, and otherwise a literal runs
// from a lone quote to the next.
template <class Field, class Literal>
void WalkPattern(std::u16string_view p, Field field, Literal literal) {
  for (std::size_t i = 0; i < p.size();) {
    const char16_t c = p[i];
    if (c == u'\'') {
      if (i + 1 < p.size() && p[i + 1] == u'\'') {
        literal(u'\'');
        i += 2;
        continue;
      }
      for (++i; i < p.size(); ++i) {
        if (p[i] != u'\'') {
          literal(p[i]);
        } else if (i + 1 < p.size() && p[i + 1] == u'\'') {
          literal(u'\'');
          ++i;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    if (!IsPatternLetter(c)) {
      literal(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < p.size() && p[i + run] == c) ++run;
    field(c, run);
    i += run;
  }
}

// Copies a pattern's literals as they stand and hands each field (its letter and
// the length of its run) to `rewrite`, which appends the form we store or refuses
// the field, and with it the pattern.
template <class Rewrite>
std::optional<std::u16string> RewriteFields(std::u16string_view pattern, Rewrite rewrite) {
  std::u16string stored;
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size();) {
    const char16_t c = pattern[i];
    if (c == u'\'') quoted = !quoted;  // '' toggles twice and so stays a literal quote
    if (quoted || c == u'\'' || !IsPatternLetter(c)) {
      stored.push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (!rewrite(c, run, stored)) return std::nullopt;
    i += run;
  }
  return stored;
}

}  // namespace

namespace detail {

std::optional<std::u16string> NormaliseShortDatePattern(std::u16string_view pattern) {
  return RewriteFields(pattern, [](char16_t c, std::size_t run, std::u16string& stored) {
    if (c == u'y') {
      stored += u"yyyy";
    } else if ((c == u'd' || c == u'M') && run <= 2) {
      stored.append(run, c);
    } else {
      return false;
    }
    return true;
  });
}

std::optional<std::u16string> NormaliseLongDatePattern(std::u16string_view pattern) {
  return RewriteFields(pattern, [](char16_t c, std::size_t run, std::u16string& stored) {
    if (c == u'd' && run <= 2) {
      stored.append(run, c);
    } else if ((c == u'M' || c == u'L') && run <= 2) {
      stored.append(run, u'M');
    } else if ((c == u'M' || c == u'L') && run <= 4) {
      stored += u"MMMM";
    } else if (c == u'y') {
      stored.append(run == 4 ? 4 : 1, u'y');
    } else if ((c == u'E' && run <= 4) || ((c == u'c' || c == u'e') && run >= 3 && run <= 4)) {
      stored += u"EEEE";
    } else {
      return false;
    }
    return true;
  });
}

}  // namespace detail

std::string ChooseLocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

std::string PosixToIcuLocale(std::string_view posix_locale) {
  // language[_territory][.codeset][@modifier]
  std::string_view modifier;
  if (const auto at = posix_locale.find('@'); at != std::string_view::npos) {
    modifier = posix_locale.substr(at + 1);
    posix_locale = posix_locale.substr(0, at);
  }
  posix_locale = posix_locale.substr(0, posix_locale.find('.'));
  if (posix_locale.empty() || posix_locale == "C" || posix_locale == "POSIX") return kDefaultLocale;

  std::string_view language = posix_locale;
  std::string_view territory;
  if (const auto sep = posix_locale.find('_'); sep != std::string_view::npos) {
    language = posix_locale.substr(0, sep);
    territory = posix_locale.substr(sep + 1);
  }
  const bool language_ok = (language.size() == 2 || language.size() == 3) && AllOf(language, IsAsciiAlpha);
  const bool territory_ok = territory.empty() || (territory.size() == 2 && AllOf(territory, IsAsciiAlpha)) ||
                            (territory.size() == 3 && AllOf(territory, IsAsciiDigit));
  // Anything else is no locale name (a Windows name, a path): treat it as unset.
  if (!language_ok || !territory_ok) return kDefaultLocale;

  std::string id = AsciiCase(language, false);
  // The script modifiers are the only ones that change dates; "@euro" and the like
  // concern currency and collation.
  if (modifier == "latin") id += "_Latn";
  if (modifier == "cyrillic") id += "_Cyrl";
  if (!territory.empty()) {
    id += '_';
    id += AsciiCase(territory, true);
  }
  return id;
}

HRESULT RegionalSettings::FormatMonthCaption(DATE date, Text* out) const {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  JV_TRY(ToCivil(date, &civil));
  *out = month_names_[static_cast<std::size_t>(civil.month - 1)];
  *out += u", ";
  AppendNumber(out, civil.year, 4);
  return S_OK;
}

HRESULT RegionalSettings::ParseMonthCaption(TextView caption, DATE* out) const {
  if (out == nullptr) return E_POINTER;
  for (std::size_t m = 0; m < 12; ++m) {
    const Text& name = month_names_[m];
    if (caption.size() <= name.size() + 2 || caption.substr(0, name.size()) != name ||
        caption.substr(name.size(), 2) != u", ")
      continue;
    const TextView digits = caption.substr(name.size() + 2);
    if (digits.size() > 4) continue;
    std::int32_t year = 0;
    bool numeric = true;
    for (const char16_t c : digits) {
      numeric = numeric && c >= u'0' && c <= u'9';
      year = year * 10 + (c - u'0');
    }
    if (numeric) return FromCivil({year, static_cast<std::int32_t>(m + 1), 1}, out);
  }
  return DISP_E_TYPEMISMATCH;
}

HRESULT RegionalSettings::FormatShortDate(DATE date, Text* out) const {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  JV_TRY(ToCivil(date, &civil));
  out->clear();
  // The stored pattern holds only these three fields (NormaliseShortDatePattern).
  WalkPattern(
      short_date_pattern_,
      [&](char16_t c, std::size_t run) {
        if (c == u'd') AppendNumber(out, civil.day, run >= 2 ? 2 : 1);
        if (c == u'M') AppendNumber(out, civil.month, run >= 2 ? 2 : 1);
        if (c == u'y') AppendNumber(out, civil.year, 4);
      },
      [&](char16_t c) { out->push_back(c); });
  return S_OK;
}

HRESULT RegionalSettings::FormatLongDate(DATE date, Text* out) const {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  std::int16_t weekday = 0;
  if (const HRESULT hr = ToCivil(date, &civil); FAILED(hr)) return hr;
  if (const HRESULT hr = Weekday(date, &weekday); FAILED(hr)) return hr;
  Text text;
  // The stored pattern holds only these fields (NormaliseLongDatePattern).
  WalkPattern(
      long_date_pattern_,
      [&](char16_t c, std::size_t run) {
        if (c == u'd') AppendNumber(&text, civil.day, run);
        if (c == u'M' && run <= 2) AppendNumber(&text, civil.month, run);
        if (c == u'M' && run > 2) text += month_names_[static_cast<std::size_t>(civil.month - 1)];
        if (c == u'y') AppendNumber(&text, civil.year, run);
        if (c == u'E') text += weekday_names_[static_cast<std::size_t>(weekday - 1)];
      },
      [&](char16_t c) { text.push_back(c); });
  *out = std::move(text);
  return S_OK;
}

RegionalSettings RegionalSettings::FromLoaded(detail::LoadedSettings* loaded,
                                              std::string_view english_locale) {
  RegionalSettings settings;
  if (loaded != nullptr) {
    settings.locale_name_ = std::move(loaded->locale_name);
    settings.month_names_ = std::move(loaded->month_names);
    settings.weekday_names_ = std::move(loaded->weekday_names);
    // A pattern with fields we do not render (an era, a day name in a short date)
    // keeps the locale's names and falls back to the plain form.
    settings.short_date_pattern_ = detail::NormaliseShortDatePattern(loaded->short_date_pattern)
                                       .value_or(Text(detail::kFallbackPattern));
    settings.long_date_pattern_ = detail::NormaliseLongDatePattern(loaded->long_date_pattern)
                                      .value_or(Text(detail::kFallbackLongPattern));
    return settings;
  }
  settings.locale_name_ = english_locale;
  for (std::size_t m = 0; m < 12; ++m) settings.month_names_[m] = detail::kEnglishMonths[m];
  for (std::size_t d = 0; d < 7; ++d) settings.weekday_names_[d] = detail::kEnglishWeekdays[d];
  settings.short_date_pattern_ = detail::kFallbackPattern;
  settings.long_date_pattern_ = detail::kFallbackLongPattern;
  return settings;
}

}  // namespace jv::dates
