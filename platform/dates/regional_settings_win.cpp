// RegionalSettings on Windows: month names and the short date pattern come from the
// system's locale data. The pattern is read once and rendered here, as on every
// other system, rather than through GetDateFormatEx on each call: that function
// takes a SYSTEMTIME, which holds no year before 1601, and the control's dates
// start at the year 100.
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/dates/regional_formats.h"
#include "platform/dates/regional_settings.h"

namespace jv::dates {
namespace {

using detail::LoadedSettings;

constexpr char kDefaultLocale[] = "en-US";

// WCHAR is UTF-16 on Windows, as char16_t is: the code units pass unchanged.
Text FromWide(std::wstring_view wide) {
  return Text(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

bool IsNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// A locale name for the Windows API. A Windows name ("pt-BR", "sr-Latn-RS") is
// kept; a POSIX one goes through the mapping every system shares, whose ICU id
// only needs its separators changed ("pt_BR.UTF-8" -> "pt_BR" -> "pt-BR").
std::wstring WindowsLocaleName(std::string_view name) {
  std::string id;
  if (name.find('-') != std::string_view::npos && name.size() < LOCALE_NAME_MAX_LENGTH &&
      std::all_of(name.begin(), name.end(), IsNameCharacter)) {
    id = name;
  } else {
    id = PosixToIcuLocale(name);
    std::replace(id.begin(), id.end(), '_', '-');
  }
  return std::wstring(id.begin(), id.end());
}

// Both queries report the size including the terminating zero and 0 on failure.
std::optional<std::wstring> LocaleText(const wchar_t* locale, LCTYPE type) {
  const int size = GetLocaleInfoEx(locale, type, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int written = GetLocaleInfoEx(locale, type, text.data(), size);
  if (written <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(written - 1));
  return text;
}

std::optional<std::wstring> GregorianText(const wchar_t* locale, CALTYPE type) {
  const int size = GetCalendarInfoEx(locale, CAL_GREGORIAN, nullptr, type, nullptr, 0, nullptr);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<std::size_t>(size), L'\0');
  const int written = GetCalendarInfoEx(locale, CAL_GREGORIAN, nullptr, type, text.data(), size, nullptr);
  if (written <= 0) return std::nullopt;
  text.resize(static_cast<std::size_t>(written - 1));
  return text;
}

// The locale's values where its calendar is the Gregorian one: those carry the
// user's own customisations (a short date changed in the control panel). Otherwise
// the Gregorian calendar's: the DATE type is Gregorian whatever calendar the locale
// prefers (th-TH, ar-SA), and a locale's own month names follow its own calendar.
std::optional<std::wstring> GregorianLocaleText(const wchar_t* locale, bool locale_is_gregorian,
                                                LCTYPE locale_type, CALTYPE calendar_type) {
  return locale_is_gregorian ? LocaleText(locale, locale_type) : GregorianText(locale, calendar_type);
}

// Windows writes a weekday name as "ddd" or "dddd" where ICU writes "E": the
// pattern in the notation the rest of the settings share.
Text WithIcuWeekdays(Text pattern) {
  bool quoted = false;
  for (std::size_t i = 0; i < pattern.size();) {
    if (pattern[i] == u'\'') quoted = !quoted;
    std::size_t run = 1;
    while (!quoted && pattern[i] == u'd' && i + run < pattern.size() && pattern[i + run] == u'd') ++run;
    if (!quoted && pattern[i] == u'd' && run >= 3) pattern.replace(i, run, run, u'E');
    i += run;
  }
  return pattern;
}

// Reads the month and weekday names and the short and long date patterns. The month names are the
// nominative ones, which Windows itself uses for a month without a day number.
// Gives nullopt for a name the system knows no locale by.
std::optional<LoadedSettings> LoadFromSystem(const std::wstring& name) {
  if (!IsValidLocaleName(name.c_str())) return std::nullopt;
  const std::optional<std::wstring> canonical = LocaleText(name.c_str(), LOCALE_SNAME);
  if (!canonical || canonical->empty()) return std::nullopt;
  const wchar_t* locale = canonical->c_str();
  DWORD calendar = 0;
  const bool gregorian =
      GetLocaleInfoEx(locale, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                      reinterpret_cast<LPWSTR>(&calendar), sizeof calendar / sizeof(wchar_t)) > 0 &&
      calendar == CAL_GREGORIAN;

  LoadedSettings loaded;
  loaded.locale_name.assign(canonical->begin(), canonical->end());  // locale names are ASCII
  for (std::size_t m = 0; m < 12; ++m) {
    const std::optional<std::wstring> month =
        GregorianLocaleText(locale, gregorian, static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + m),
                            static_cast<CALTYPE>(CAL_SMONTHNAME1 + m));
    if (!month || month->empty()) return std::nullopt;
    loaded.month_names[m] = FromWide(*month);
  }
  const std::optional<std::wstring> pattern =
      GregorianLocaleText(locale, gregorian, LOCALE_SSHORTDATE, CAL_SSHORTDATE);
  if (!pattern) return std::nullopt;
  // LOCALE_SDAYNAME1 is Monday; the settings keep Sunday first. A weekday name the
  // system lacks is said in English rather than costing the month names.
  for (std::size_t d = 0; d < 7; ++d) {
    const std::optional<std::wstring> day =
        GregorianLocaleText(locale, gregorian, static_cast<LCTYPE>(LOCALE_SDAYNAME1 + (d + 6) % 7),
                            static_cast<CALTYPE>(CAL_SDAYNAME1 + (d + 6) % 7));
    loaded.weekday_names[d] = day && !day->empty() ? FromWide(*day) : Text(detail::kEnglishWeekdays[d]);
  }
  const std::optional<std::wstring> long_pattern =
      GregorianLocaleText(locale, gregorian, LOCALE_SLONGDATE, CAL_SLONGDATE);
  loaded.long_date_pattern = WithIcuWeekdays(FromWide(long_pattern.value_or(L"")));
  loaded.short_date_pattern = FromWide(*pattern);
  return loaded;
}

}  // namespace

const RegionalSettings& RegionalSettings::Current() {
  static const RegionalSettings current = [] {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    return ForLocale(length > 1 ? std::string(name, name + length - 1) : std::string());
  }();
  return current;
}

RegionalSettings RegionalSettings::ForLocale(std::string_view posix_locale) {
  std::optional<LoadedSettings> loaded;
  try {
    loaded = LoadFromSystem(WindowsLocaleName(posix_locale));
  } catch (...) {
    // Out of memory while copying the system's strings: the built-in settings still work.
    loaded.reset();
  }
  return FromLoaded(loaded ? &*loaded : nullptr, kDefaultLocale);
}

}  // namespace jv::dates
