#include "platform/dates/regional_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "platform/automation/bstr.h"
#include "platform/dates/calendar.h"
#include "platform/dates/regional_formats.h"
#include "tests/support/environment_override.h"

namespace jv::dates {
namespace {

constexpr DATE k9Nov2003 = 37934;
constexpr DATE k5Mar2004 = 38051;

TEST(RegionalSettings, LocaleOutputs) {
  struct {
    const char* posix;
    const char* locale;
    const char16_t* pattern;
    const char16_t* nov9;
    const char16_t* mar5;
    const char16_t* caption;
  } const cases[] = {
      {"en_US.UTF-8", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"pt_BR.UTF-8", "pt_BR", u"dd/MM/yyyy", u"09/11/2003", u"05/03/2004", u"novembro, 2003"},
      {"de_DE@euro", "de_DE", u"d.M.yyyy", u"9.11.2003", u"5.3.2004", u"November, 2003"},
      {"hu_HU.UTF-8", "hu_HU", u"yyyy. MM. dd.", u"2003. 11. 09.", u"2004. 03. 05.", u"november, 2003"},
      // A quoted literal in the pattern, after a narrow no-break space.
      {"bg_BG", "bg_BG", u"d.MM.yyyy\u202F'г'.", u"9.11.2003\u202Fг.", u"5.03.2004\u202Fг.",
       u"ноември, 2003"},
      // Gregorian names even where the locale's own calendar is another.
      {"fa_IR", "fa_IR", u"yyyy/M/d", u"2003/11/9", u"2004/3/5", u"نوامبر, 2003"},
      // No locale at all, or one ICU does not know: the built-in English settings.
      {"C", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"POSIX", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"C.UTF-8", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"xx_YY.UTF-8", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
      {"../../etc/passwd", "en_US", u"M/d/yyyy", u"11/9/2003", u"3/5/2004", u"November, 2003"},
  };
  for (const auto& c : cases) {
    const RegionalSettings settings = RegionalSettings::ForLocale(c.posix);
    const std::string name = std::string("locale \"") + c.posix + "\"";
    EXPECT_EQ(settings.locale_name(), c.locale) << name;
    EXPECT_EQ(ToUtf8Lossy(settings.short_date_pattern()), ToUtf8Lossy(c.pattern)) << name;
    Text text;
    ASSERT_EQ(settings.FormatShortDate(k9Nov2003, &text), S_OK) << name;
    EXPECT_EQ(ToUtf8Lossy(text), ToUtf8Lossy(c.nov9)) << name;
    ASSERT_EQ(settings.FormatShortDate(k5Mar2004, &text), S_OK) << name;
    EXPECT_EQ(ToUtf8Lossy(text), ToUtf8Lossy(c.mar5)) << name;
    ASSERT_EQ(settings.FormatMonthCaption(k9Nov2003, &text), S_OK) << name;
    EXPECT_EQ(ToUtf8Lossy(text), ToUtf8Lossy(c.caption)) << name;
  }
}

TEST(RegionalSettings, DatesInWordsAndWeekdayNames) {
  constexpr DATE k14Nov2003 = 37939;
  struct {
    const char* posix;
    const char16_t* long_date;
    const char16_t* sunday;
    const char16_t* saturday;
  } const cases[] = {
      {"en_US.UTF-8", u"November 14, 2003", u"Sunday", u"Saturday"},
      {"en_GB.UTF-8", u"14 November 2003", u"Sunday", u"Saturday"},
      {"pt_BR.UTF-8", u"14 de novembro de 2003", u"domingo", u"sábado"},
      {"de_DE", u"14. November 2003", u"Sonntag", u"Samstag"},
      {"C", u"November 14, 2003", u"Sunday", u"Saturday"},
  };
  for (const auto& c : cases) {
    const RegionalSettings settings = RegionalSettings::ForLocale(c.posix);
    Text text;
    ASSERT_EQ(settings.FormatLongDate(k14Nov2003 + 0.75, &text), S_OK) << c.posix;
    EXPECT_EQ(ToUtf8Lossy(text), ToUtf8Lossy(c.long_date)) << c.posix;
    EXPECT_EQ(ToUtf8Lossy(settings.weekday_names().front()), ToUtf8Lossy(c.sunday)) << c.posix;
    EXPECT_EQ(ToUtf8Lossy(settings.weekday_names().back()), ToUtf8Lossy(c.saturday)) << c.posix;
    // The month caption reads back as the first day of its month.
    ASSERT_EQ(settings.FormatMonthCaption(k14Nov2003, &text), S_OK) << c.posix;
    DATE month = 0;
    ASSERT_EQ(settings.ParseMonthCaption(text, &month), S_OK) << c.posix;
    EXPECT_EQ(month, k14Nov2003 - 13) << c.posix;
  }
}

TEST(RegionalSettings, OnlyAMonthCaptionReadsBackAsAMonth) {
  const RegionalSettings settings = RegionalSettings::ForLocale("en_US");
  for (const char16_t* text : {u"", u"November", u"November, ", u"November 2003", u"november, 2003",
                               u"November, 20x3", u"November, 20031", u"Nov, 2003", u"November, 0099"}) {
    DATE untouched = 7;
    EXPECT_NE(settings.ParseMonthCaption(text, &untouched), S_OK) << ToUtf8Lossy(text);
    EXPECT_EQ(untouched, 7) << ToUtf8Lossy(text);
  }
}

TEST(RegionalSettings, LongDatePatternsKeepOnlyTheFieldsWeWrite) {
  struct {
    const char16_t* locale_pattern;
    std::optional<std::u16string> stored;
  } const cases[] = {
      {u"MMMM d, y", u"MMMM d, y"},
      {u"d 'de' MMMM 'de' y", u"d 'de' MMMM 'de' y"},
      {u"EEEE, d. LLLL yyyy", u"EEEE, d. MMMM yyyy"},
      {u"y. MMM d.", u"y. MMMM d."},
      {u"d MMMM y G", std::nullopt},
      {u"MMMMM d", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(detail::NormaliseLongDatePattern(c.locale_pattern), c.stored) << ToUtf8Lossy(c.locale_pattern);
}

TEST(RegionalSettings, FormatsIgnoreTimeOfDayAndPadTheYear) {
  const RegionalSettings settings = RegionalSettings::ForLocale("en_US");
  struct {
    DATE date;
    const char16_t* short_date;
    const char16_t* caption;
  } const cases[] = {
      {k9Nov2003 + 0.75, u"11/9/2003", u"November, 2003"},
      {-1.25, u"12/29/1899", u"December, 1899"},
      {kMinDate - 0.5, u"1/1/0100", u"January, 0100"},
      {kMaxDate + 0.5, u"12/31/9999", u"December, 9999"},
  };
  for (const auto& c : cases) {
    Text text;
    ASSERT_EQ(settings.FormatShortDate(c.date, &text), S_OK) << c.date;
    EXPECT_EQ(text, c.short_date) << c.date;
    ASSERT_EQ(settings.FormatMonthCaption(c.date, &text), S_OK) << c.date;
    EXPECT_EQ(text, c.caption) << c.date;
  }
}

TEST(RegionalSettings, OutOfRangeFailsAndLeavesTextUntouched) {
  const RegionalSettings settings = RegionalSettings::ForLocale("pt_BR");
  for (const DATE date : {kMaxDate + 1, kMinDate - 1, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()}) {
    Text text = u"kept";
    EXPECT_EQ(settings.FormatShortDate(date, &text), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(settings.FormatMonthCaption(date, &text), DISP_E_OVERFLOW) << date;
    EXPECT_EQ(text, u"kept") << date;
  }
}

TEST(RegionalSettings, PosixToIcuLocale) {
  struct {
    const char* posix;
    const char* icu;
  } const cases[] = {
      {"pt_BR.UTF-8", "pt_BR"},
      {"de_DE@euro", "de_DE"},
      {"de_DE.ISO-8859-15@euro", "de_DE"},
      {"sr_RS@latin", "sr_Latn_RS"},
      {"sr_RS.UTF-8@cyrillic", "sr_Cyrl_RS"},
      {"en", "en"},
      {"EN_us", "en_US"},
      {"es_419.UTF-8", "es_419"},
      {"ast_ES", "ast_ES"},
      {"C", "en_US"},
      {"POSIX", "en_US"},
      {"C.UTF-8", "en_US"},
      {"", "en_US"},
      {"x", "en_US"},
      {"english", "en_US"},
      {"English_United States.1252", "en_US"},
      {"de_DE_x", "en_US"},
      {"de_D1", "en_US"},
  };
  for (const auto& c : cases) EXPECT_EQ(PosixToIcuLocale(c.posix), c.icu) << '"' << c.posix << '"';
}

// A test may set the three locale variables freely: the old values come back.
class LocaleEnvironment : public ::testing::Test {
 private:
  testing::SavedEnvironmentVariable lc_all_{"LC_ALL"}, lc_time_{"LC_TIME"}, lang_{"LANG"};
};

TEST_F(LocaleEnvironment, FirstSetNonEmptyVariableWins) {
  struct {
    const char* lc_all;
    const char* lc_time;
    const char* lang;
    const char* chosen;
  } const cases[] = {
      {"pt_BR.UTF-8", "de_DE.UTF-8", "en_US.UTF-8", "pt_BR.UTF-8"},
      {nullptr, "de_DE.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"},
      {"", "de_DE.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"},
      {"", "", "en_US.UTF-8", "en_US.UTF-8"},
      {nullptr, nullptr, "pt_BR", "pt_BR"},
      {"C", "de_DE", "pt_BR", "C"},
      {nullptr, nullptr, nullptr, ""},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    testing::SetEnvironment("LC_ALL", c.lc_all);
    testing::SetEnvironment("LC_TIME", c.lc_time);
    testing::SetEnvironment("LANG", c.lang);
    EXPECT_EQ(ChooseLocaleFromEnvironment(), c.chosen)
        << "LC_ALL=" << (c.lc_all ? c.lc_all : "(unset)")
        << " LC_TIME=" << (c.lc_time ? c.lc_time : "(unset)") << " LANG=" << (c.lang ? c.lang : "(unset)");
  }
}

TEST_F(LocaleEnvironment, CurrentIsLoadedOnceFromTheEnvironment) {
  const RegionalSettings& first = RegionalSettings::Current();
  EXPECT_EQ(first.locale_name(), RegionalSettings::ForLocale(ChooseLocaleFromEnvironment()).locale_name());
  testing::SetEnvironment("LC_ALL", first.locale_name() == "pt_BR" ? "de_DE" : "pt_BR");
  EXPECT_EQ(&RegionalSettings::Current(), &first);
  EXPECT_EQ(RegionalSettings::Current().locale_name(), first.locale_name());
}

}  // namespace
}  // namespace jv::dates
