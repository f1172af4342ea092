// The regional settings read from Windows: the month names and short dates of a
// few locales, the same outputs as GetDateFormatEx where both can format, the
// user's own short date honoured with its year widened, and the built-in English
// settings for names that are no locale.
#include <windows.h>

#include <cstdlib>
#include <optional>

#include "platform/dates/calendar.h"
#include "platform/dates/regional_settings.h"
#include "tests/windows/check.h"

namespace jv::wincheck {
namespace {

using dates::RegionalSettings;

constexpr DATE k9Nov2003 = 37934;
constexpr DATE k5Mar2004 = 38051;

struct LocaleCase {
  const char* asked;
  const char* locale;
  // Wine's locale data come from Unicode CLDR, as ICU's do; where Windows' own
  // data differ, the second value is what Windows gives.
  const char16_t* pattern;
  const char16_t* windows_pattern;
  const char16_t* nov9;
  const char16_t* windows_nov9;
  const char16_t* caption;
};

// The same rows as on Linux where the systems agree. Where they do not, the
// comment says why.
const LocaleCase kLocaleCases[] = {
    {"en_US.UTF-8", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
    {"pt_BR.UTF-8", "pt-BR", u"dd/MM/yyyy", nullptr, u"09/11/2003", nullptr, u"novembro, 2003"},
    {"de_DE@euro", "de-DE", u"d.M.yyyy", u"dd.MM.yyyy", u"9.11.2003", u"09.11.2003", u"November, 2003"},
    {"hu_HU.UTF-8", "hu-HU", u"yyyy. MM. dd.", nullptr, u"2003. 11. 09.", nullptr, u"november, 2003"},
    // A quoted literal in the pattern, after a narrow no-break space.
    {"bg_BG", "bg-BG", u"d.MM.yyyy\u202F'г'.", nullptr, u"9.11.2003\u202Fг.", nullptr, u"ноември, 2003"},
    // Gregorian names and pattern, although the locale's own calendar is another.
    {"fa_IR", "fa-IR", u"yyyy/M/d", nullptr, u"2003/11/9", nullptr, u"نوامبر, 2003"},
    {"th_TH", "th-TH", u"d/M/yyyy", nullptr, u"9/11/2003", nullptr, u"พฤศจิกายน, 2003"},
    // The nominative month, as Windows names a month without a day; Linux takes
    // ICU's formatting-context name, which is the genitive "listopada".
    {"pl_PL", "pl-PL", u"d.MM.yyyy", nullptr, u"9.11.2003", nullptr, u"listopad, 2003"},
    {"sr_RS@latin", "sr-Latn-RS", u"d. M. yyyy.", nullptr, u"9. 11. 2003.", nullptr, u"novembar, 2003"},
    // Windows' own notation of a locale name, in any case.
    {"pt-BR", "pt-BR", u"dd/MM/yyyy", nullptr, u"09/11/2003", nullptr, u"novembro, 2003"},
    {"pt-br", "pt-BR", u"dd/MM/yyyy", nullptr, u"09/11/2003", nullptr, u"novembro, 2003"},
    // No locale at all: English, from the system for "C", built in for the rest.
    {"C", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
    {"", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
    {"xx_YY.UTF-8", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
    {"xx-YY", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
    {"../../etc/passwd", "en-US", u"M/d/yyyy", nullptr, u"11/9/2003", nullptr, u"November, 2003"},
};

bool OneOf(TextView actual, const char16_t* first, const char16_t* second) {
  return actual == first || (second != nullptr && actual == second);
}

std::string Want(const char16_t* first, const char16_t* second) {
  return '"' + U8(first) + '"' + (second != nullptr ? " or \"" + U8(second) + '"' : "");
}

void LocaleOutputs(Report& report) {
  for (const LocaleCase& l : kLocaleCases) {
    Case c(report, std::string("regional settings: locale \"") + l.asked + '"');
    const RegionalSettings settings = RegionalSettings::ForLocale(l.asked);
    c.Equal(settings.locale_name(), std::string(l.locale), "locale name");
    c.Expect(
        OneOf(settings.short_date_pattern(), l.pattern, l.windows_pattern),
        "pattern \"" + U8(settings.short_date_pattern()) + "\", want " + Want(l.pattern, l.windows_pattern));
    Text text;
    if (c.Status(settings.FormatShortDate(k9Nov2003, &text), S_OK, "FormatShortDate"))
      c.Expect(OneOf(text, l.nov9, l.windows_nov9),
               "short date \"" + U8(text) + "\", want " + Want(l.nov9, l.windows_nov9));
    if (c.Status(settings.FormatMonthCaption(k9Nov2003, &text), S_OK, "FormatMonthCaption"))
      c.Equal(text, TextView(l.caption), "caption");
  }
}

std::optional<Text> SystemDate(const std::wstring& locale, const SYSTEMTIME& st, DWORD flags,
                               const wchar_t* format) {
  wchar_t buf[128];
  const int n = GetDateFormatEx(locale.c_str(), flags, &st, format, buf, 128, nullptr);
  if (n <= 0) return std::nullopt;
  return Text(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(n - 1));
}

// Where the locale's own pattern has a four-digit year, our rendering and the
// system's must be the same text; the caption is the system's "MMMM, yyyy".
void SameAsGetDateFormatEx(Report& report) {
  const char* const locales[] = {"en-US", "pt-BR", "de-DE",      "hu-HU", "bg-BG", "pl-PL",
                                 "ja-JP", "ar-SA", "sr-Latn-RS", "en-GB", "ru-RU", "ko-KR"};
  const dates::CivilDate days[] = {{1601, 1, 1},  {1899, 12, 30}, {1999, 12, 31}, {2003, 11, 9},
                                   {2004, 2, 29}, {2004, 3, 5},   {9999, 12, 31}};
  for (const char* name : locales) {
    Case c(report, std::string("regional settings: ") + name + " renders as GetDateFormatEx does");
    const RegionalSettings settings = RegionalSettings::ForLocale(name);
    const std::wstring locale(name, name + std::char_traits<char>::length(name));
    for (const dates::CivilDate& day : days) {
      DATE date = 0;
      if (!c.Status(dates::FromCivil(day, &date), S_OK, "FromCivil")) continue;
      SYSTEMTIME st{};
      st.wYear = static_cast<WORD>(day.year);
      st.wMonth = static_cast<WORD>(day.month);
      st.wDay = static_cast<WORD>(day.day);
      const std::string what =
          std::to_string(day.year) + "-" + std::to_string(day.month) + "-" + std::to_string(day.day);
      Text ours;
      const std::optional<Text> system = SystemDate(locale, st, DATE_SHORTDATE, nullptr);
      if (c.Expect(system.has_value(), what + ": GetDateFormatEx failed") &&
          c.Status(settings.FormatShortDate(date, &ours), S_OK, what))
        c.Equal(ours, *system, what + " short date");
      const std::optional<Text> caption = SystemDate(locale, st, 0, L"MMMM, yyyy");
      if (c.Expect(caption.has_value(), what + ": caption failed") &&
          c.Status(settings.FormatMonthCaption(date, &ours), S_OK, what))
        c.Equal(ours, *caption, what + " caption");
    }
  }
}

// A SYSTEMTIME holds no year before 1601: the reason the pattern is rendered here.
void EarlyYearsBeyondGetDateFormatEx(Report& report) {
  Case c(report, "regional settings: years 100 to 1600 format although GetDateFormatEx refuses them");
  const RegionalSettings settings = RegionalSettings::ForLocale("pt-BR");
  SYSTEMTIME st{};
  st.wYear = 100;
  st.wMonth = 1;
  st.wDay = 1;
  const bool system_formats = SystemDate(L"pt-BR", st, DATE_SHORTDATE, nullptr).has_value();
  if (system_formats) report.Note("GetDateFormatEx formats the year 100 on this system");
  Text text;
  c.Status(settings.FormatShortDate(dates::kMinDate, &text), S_OK, "FormatShortDate(1 January 100)");
  c.Equal(text, TextView(u"01/01/0100"), "short date");
  c.Status(settings.FormatMonthCaption(dates::kMinDate, &text), S_OK, "FormatMonthCaption");
  c.Equal(text, TextView(u"janeiro, 0100"), "caption");
}

std::wstring UserLocaleName() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const int n = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
  return n > 1 ? std::wstring(name, static_cast<std::size_t>(n - 1)) : std::wstring();
}

void CurrentIsTheUsersLocale(Report& report) {
  Case c(report, "regional settings: Current() is the user's default locale");
  const std::wstring user = UserLocaleName();
  const std::string user8(user.begin(), user.end());
  const RegionalSettings& current = RegionalSettings::Current();
  const RegionalSettings named = RegionalSettings::ForLocale(user8);
  c.Equal(current.locale_name(), named.locale_name(), "locale name of " + user8);
  c.Equal(current.short_date_pattern(), named.short_date_pattern(), "pattern");
  Text a, b;
  c.Status(current.FormatMonthCaption(k9Nov2003, &a), S_OK, "caption");
  c.Status(named.FormatMonthCaption(k9Nov2003, &b), S_OK, "caption");
  c.Equal(a, b, "caption");
  report.Note("user default locale " + user8 + ", short date " + U8(current.short_date_pattern()));
}

// The user's own short date (Control Panel, Region) overrides the locale's; a year
// of two digits is widened to four. This writes the user's settings, so it runs
// only in a prefix made for the run (JV_SCRATCH_PREFIX) and puts the value back.
void UserCustomisedShortDate(Report& report) {
  const char* const name = "regional settings: the user's customised short date, year widened";
  if (std::getenv("JV_SCRATCH_PREFIX") == nullptr) {
    report.Skip(name, "changes the user's settings; set JV_SCRATCH_PREFIX in a throwaway prefix");
    return;
  }
  Case c(report, name);
  wchar_t saved[128] = {};
  if (!c.Expect(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, 128) > 0,
                "read LOCALE_SSHORTDATE"))
    return;
  const std::string user = [] {
    const std::wstring w = UserLocaleName();
    return std::string(w.begin(), w.end());
  }();
  struct {
    const wchar_t* custom;
    const char16_t* pattern;
    const char16_t* nov9;
  } const cases[] = {
      {L"M/d/yy", u"M/d/yyyy", u"11/9/2003"},
      {L"dd/MM/yy", u"dd/MM/yyyy", u"09/11/2003"},
      {L"yy-MM-dd", u"yyyy-MM-dd", u"2003-11-09"},
      {L"'Day' d.M.yy", u"'Day' d.M.yyyy", u"Day 9.11.2003"},
      // A day name is no numeric field: the plain numeric form instead.
      {L"ddd d/M/yyyy", u"M/d/yyyy", u"11/9/2003"},
  };
  for (const auto& k : cases) {
    const std::string what = "custom \"" + U8(k.custom) + "\"";
    if (!c.Expect(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, k.custom) != FALSE, what + ": set"))
      continue;
    const RegionalSettings settings = RegionalSettings::ForLocale(user);
    c.Equal(settings.short_date_pattern(), TextView(k.pattern), what + " pattern");
    Text text;
    c.Status(settings.FormatShortDate(k9Nov2003, &text), S_OK, what);
    c.Equal(text, TextView(k.nov9), what + " short date");
  }
  c.Expect(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved) != FALSE,
           "restore LOCALE_SSHORTDATE");
}

void OutOfRangeFails(Report& report) {
  Case c(report, "regional settings: dates outside the range fail and leave the text alone");
  const RegionalSettings settings = RegionalSettings::ForLocale("pt-BR");
  for (const DATE date : {dates::kMaxDate + 1, dates::kMinDate - 1, k5Mar2004 * 1e300}) {
    Text text = u"kept";
    c.Status(settings.FormatShortDate(date, &text), DISP_E_OVERFLOW, "FormatShortDate");
    c.Status(settings.FormatMonthCaption(date, &text), DISP_E_OVERFLOW, "FormatMonthCaption");
    c.Equal(text, TextView(u"kept"), "text");
  }
}

}  // namespace

void RegionalSettingsChecks(Report& report) {
  LocaleOutputs(report);
  SameAsGetDateFormatEx(report);
  EarlyYearsBeyondGetDateFormatEx(report);
  CurrentIsTheUsersLocale(report);
  UserCustomisedShortDate(report);
  OutOfRangeFails(report);
}

}  // namespace jv::wincheck
