// The user's regional settings as far as the control shows them: the wide month
// and weekday names, the numeric short date form and the long date form. Read once per process, through ICU from
// LC_ALL, LC_TIME, LANG (the first one set), or on Windows from the user's locale;
// then formatting is table lookups.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "platform/automation/hresult.h"
#include "platform/automation/types.h"

namespace jv::dates {

namespace detail {
struct LoadedSettings;
}

class RegionalSettings {
 public:
  // The settings of this process's environment (on Windows: the user's default
  // locale), loaded on first use.
  static const RegionalSettings& Current();
  // The settings of a named locale ("pt_BR.UTF-8", "de_DE", "C"; on Windows also a
  // locale name such as "pt-BR"); for tests and for hosts that choose a locale
  // themselves. A locale the system has no data for gives English month names and
  // "M/d/yyyy".
  static RegionalSettings ForLocale(std::string_view posix_locale);

  // The locale whose settings are in effect: ICU's id ("pt_BR"), on Windows the
  // locale name ("pt-BR"); "en_US" or "en-US" for the English fallback.
  const std::string& locale_name() const { return locale_name_; }
  // The short date pattern with the year as "yyyy", in the notation ICU and Windows
  // share for day, month and year fields.
  const std::u16string& short_date_pattern() const { return short_date_pattern_; }

  // The long date pattern in the same notation, with "MMMM" for the month's name
  // and "EEEE" for the weekday's: "MMMM d, y", "d 'de' MMMM 'de' y".
  const std::u16string& long_date_pattern() const { return long_date_pattern_; }
  // The wide weekday names, Sunday first.
  const std::array<Text, 7>& weekday_names() const { return weekday_names_; }

  // "November, 2003": the wide month name, ", ", the year in four digits.
  [[nodiscard]] HRESULT FormatMonthCaption(DATE date, Text* out) const;
  // The month a caption of FormatMonthCaption names, as the first day of that month;
  // DISP_E_TYPEMISMATCH for any other text.
  [[nodiscard]] HRESULT ParseMonthCaption(TextView caption, DATE* out) const;
  // The date in the short date pattern, ASCII digits, four-digit year, no time.
  [[nodiscard]] HRESULT FormatShortDate(DATE date, Text* out) const;
  // The date in words as the user's language writes it: "November 14, 2003",
  // "14 de novembro de 2003"; no time.
  [[nodiscard]] HRESULT FormatLongDate(DATE date, Text* out) const;

 private:
  RegionalSettings() = default;
  // The settings a system's loader read, or, when it read none (null), the
  // built-in English ones under the name `english_locale`.
  static RegionalSettings FromLoaded(detail::LoadedSettings* loaded, std::string_view english_locale);

  std::string locale_name_;
  std::array<Text, 12> month_names_;
  std::array<Text, 7> weekday_names_;
  std::u16string short_date_pattern_;
  std::u16string long_date_pattern_;
};

// The POSIX locale name the environment asks for: the first of LC_ALL, LC_TIME and
// LANG that is set and not empty, or "" when none is. Reads the environment anew on
// every call.
std::string ChooseLocaleFromEnvironment();
// The ICU locale id of a POSIX locale name: "pt_BR.UTF-8" -> "pt_BR", "sr_RS@latin"
// -> "sr_Latn_RS", "de_DE@euro" -> "de_DE"; "C", "POSIX", "" and names that are no
// locale at all -> "en_US".
std::string PosixToIcuLocale(std::string_view posix_locale);

}  // namespace jv::dates
