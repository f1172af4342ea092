#include "platform/dates/regional_settings.h"

#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/dates/calendar.h"

namespace jv::dates {
namespace {

constexpr char kDefaultLocale[] = "en_US";
constexpr std::u16string_view kFallbackPattern = u"M/d/yyyy";
constexpr std::array<std::u16string_view, 12> kEnglishMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};

bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsPatternLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

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

// Turns ICU's yMd skeleton pattern into the one we store: every year field becomes
// "yyyy" so the year always has four digits. Only day, month and year fields are
// admitted, because FormatShortDate renders nothing else; any other field gives
// nullopt.
std::optional<std::u16string> NormaliseShortDatePattern(std::u16string_view icu_pattern) {
  std::u16string pattern;
  bool quoted = false;
  for (std::size_t i = 0; i < icu_pattern.size();) {
    const char16_t c = icu_pattern[i];
    if (c == u'\'') quoted = !quoted;  // '' toggles twice and so stays a literal quote
    if (quoted || c == u'\'' || !IsPatternLetter(c)) {
      pattern.push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < icu_pattern.size() && icu_pattern[i + run] == c) ++run;
    if (c == u'y') {
      pattern += u"yyyy";
    } else if (c == u'd' || c == u'M') {
      pattern.append(run, c);
    } else {
      return std::nullopt;
    }
    i += run;
  }
  return pattern;
}

std::u16string ToU16(const icu::UnicodeString& s) { return std::u16string(s.getBuffer(), s.length()); }

struct LoadedSettings {
  std::array<Text, 12> month_names;
  std::u16string short_date_pattern;
};

// Reads the Gregorian month names and short date pattern of an ICU locale. Gives
// nullopt when ICU has no data for the locale's language: ICU would otherwise
// quietly answer with its process default locale, which it takes from the
// environment itself, and ForLocale("xx") would depend on LANG.
std::optional<LoadedSettings> LoadFromIcu(const std::string& icu_id) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = icu::Locale::createCanonical(icu_id.c_str());
  if (locale.isBogus()) return std::nullopt;
  const std::string language = locale.getLanguage();
  // The DATE type is Gregorian, whatever calendar the locale prefers (fa_IR, th_TH).
  locale.setKeywordValue("calendar", "gregorian", status);
  icu::DateFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return std::nullopt;
  const icu::Locale valid = symbols.getLocale(ULOC_VALID_LOCALE, status);
  if (U_FAILURE(status) || language != valid.getLanguage()) return std::nullopt;

  LoadedSettings loaded;
  std::int32_t count = 0;
  const icu::UnicodeString* months =
      symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  if (months == nullptr || count < 12) return std::nullopt;
  for (std::size_t m = 0; m < 12; ++m) loaded.month_names[m] = ToU16(months[m]);

  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_FAILURE(status) || generator == nullptr) return std::nullopt;
  const icu::UnicodeString best = generator->getBestPattern(icu::UnicodeString(u"yMd"), status);
  if (U_FAILURE(status)) return std::nullopt;
  // A pattern with fields we do not render keeps the locale's names and falls back
  // to the plain numeric form.
  loaded.short_date_pattern =
      NormaliseShortDatePattern(ToU16(best)).value_or(std::u16string(kFallbackPattern));
  return loaded;
}

// Appends `value` in ASCII digits, zero-padded to at least `width` digits.
void AppendNumber(Text* out, std::int32_t value, std::size_t width) {
  char16_t digits[10];
  std::size_t n = 0;
  auto v = static_cast<std::uint32_t>(value);
  do {
    digits[n++] = static_cast<char16_t>(u'0' + v % 10);
    v /= 10;
  } while (v != 0);
  for (std::size_t i = n; i < width; ++i) out->push_back(u'0');
  while (n > 0) out->push_back(digits[--n]);
}

}  // namespace

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

const RegionalSettings& RegionalSettings::Current() {
  static const RegionalSettings current = ForLocale(ChooseLocaleFromEnvironment());
  return current;
}

RegionalSettings RegionalSettings::ForLocale(std::string_view posix_locale) {
  RegionalSettings settings;
  const std::string icu_id = PosixToIcuLocale(posix_locale);
  std::optional<LoadedSettings> loaded;
  try {
    loaded = LoadFromIcu(icu_id);
  } catch (...) {
    // Out of memory inside ICU's data loading: the built-in settings still work.
    loaded.reset();
  }
  if (loaded) {
    settings.locale_name_ = icu_id;
    settings.month_names_ = std::move(loaded->month_names);
    settings.short_date_pattern_ = std::move(loaded->short_date_pattern);
  } else {
    settings.locale_name_ = kDefaultLocale;
    for (std::size_t m = 0; m < 12; ++m) settings.month_names_[m] = kEnglishMonths[m];
    settings.short_date_pattern_ = kFallbackPattern;
  }
  return settings;
}

HRESULT RegionalSettings::FormatMonthCaption(DATE date, Text* out) const {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  if (const HRESULT hr = ToCivil(date, &civil); FAILED(hr)) return hr;
  *out = month_names_[static_cast<std::size_t>(civil.month - 1)];
  *out += u", ";
  AppendNumber(out, civil.year, 4);
  return S_OK;
}

HRESULT RegionalSettings::FormatShortDate(DATE date, Text* out) const {
  if (out == nullptr) return E_POINTER;
  CivilDate civil;
  if (const HRESULT hr = ToCivil(date, &civil); FAILED(hr)) return hr;
  out->clear();
  const std::u16string& p = short_date_pattern_;
  for (std::size_t i = 0; i < p.size();) {
    const char16_t c = p[i];
    if (c == u'\'') {
      // '' is a quote; otherwise a literal runs to the next lone quote.
      if (i + 1 < p.size() && p[i + 1] == u'\'') {
        out->push_back(u'\'');
        i += 2;
        continue;
      }
      for (++i; i < p.size(); ++i) {
        if (p[i] != u'\'') {
          out->push_back(p[i]);
        } else if (i + 1 < p.size() && p[i + 1] == u'\'') {
          out->push_back(u'\'');
          ++i;
        } else {
          ++i;
          break;
        }
      }
      continue;
    }
    if (!IsPatternLetter(c)) {
      out->push_back(c);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (i + run < p.size() && p[i + run] == c) ++run;
    // The stored pattern holds only these three fields (NormaliseShortDatePattern);
    // a month of three letters or more is still rendered as a number.
    if (c == u'd') AppendNumber(out, civil.day, run >= 2 ? 2 : 1);
    if (c == u'M') AppendNumber(out, civil.month, run >= 2 ? 2 : 1);
    if (c == u'y') AppendNumber(out, civil.year, 4);
    i += run;
  }
  return S_OK;
}

}  // namespace jv::dates
