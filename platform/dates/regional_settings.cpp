#include "platform/dates/regional_settings.h"

#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/unistr.h>

#include <memory>
#include <optional>

#include "platform/dates/regional_formats.h"

namespace jv::dates {
namespace {

using detail::LoadedSettings;

constexpr char kDefaultLocale[] = "en_US";

std::u16string ToU16(const icu::UnicodeString& s) { return std::u16string(s.getBuffer(), s.length()); }

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
  loaded.locale_name = icu_id;
  std::int32_t count = 0;
  const icu::UnicodeString* months =
      symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  if (months == nullptr || count < 12) return std::nullopt;
  for (std::size_t m = 0; m < 12; ++m) loaded.month_names[m] = ToU16(months[m]);
  // ICU's weekday array starts with an empty entry, so that Sunday is UCAL_SUNDAY (1).
  const icu::UnicodeString* weekdays =
      symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
  if (weekdays == nullptr || count < 8) return std::nullopt;
  for (std::size_t d = 0; d < 7; ++d) loaded.weekday_names[d] = ToU16(weekdays[d + 1]);

  std::unique_ptr<icu::DateTimePatternGenerator> generator(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  if (U_FAILURE(status) || generator == nullptr) return std::nullopt;
  const icu::UnicodeString best = generator->getBestPattern(icu::UnicodeString(u"yMd"), status);
  if (U_FAILURE(status)) return std::nullopt;
  loaded.short_date_pattern = ToU16(best);

  std::unique_ptr<icu::DateFormat> long_format(
      icu::DateFormat::createDateInstance(icu::DateFormat::kLong, locale));
  const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(long_format.get());
  icu::UnicodeString long_pattern;
  if (simple != nullptr) simple->toPattern(long_pattern);
  loaded.long_date_pattern = ToU16(long_pattern);
  return loaded;
}

}  // namespace

const RegionalSettings& RegionalSettings::Current() {
  static const RegionalSettings current = ForLocale(ChooseLocaleFromEnvironment());
  return current;
}

RegionalSettings RegionalSettings::ForLocale(std::string_view posix_locale) {
  const std::string icu_id = PosixToIcuLocale(posix_locale);
  std::optional<LoadedSettings> loaded;
  try {
    loaded = LoadFromIcu(icu_id);
  } catch (...) {
    // Out of memory inside ICU's data loading: the built-in settings still work.
    loaded.reset();
  }
  return FromLoaded(loaded ? &*loaded : nullptr, kDefaultLocale);
}

}  // namespace jv::dates
