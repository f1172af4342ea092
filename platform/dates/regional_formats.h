// What the regional settings share on every system: what a system loader reads for
// a locale, the built-in English settings, and the reduction of a locale's date
// patterns to the fields we render. Internal to platform/dates.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/types.h"

namespace jv::dates::detail {

// What a system's loader (ICU, or Windows' locale functions) reads for one locale.
// The patterns are the locale's own; the settings reduce them to the fields rendered.
struct LoadedSettings {
  std::string locale_name;
  std::array<Text, 12> month_names;
  std::array<Text, 7> weekday_names;  // Sunday first
  std::u16string short_date_pattern;
  std::u16string long_date_pattern;
};

// The settings used when a locale has no data of its own.
inline constexpr std::u16string_view kFallbackPattern = u"M/d/yyyy";
inline constexpr std::u16string_view kFallbackLongPattern = u"MMMM d, y";
inline constexpr std::array<std::u16string_view, 12> kEnglishMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
inline constexpr std::array<std::u16string_view, 7> kEnglishWeekdays = {
    u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};

// Turns a locale's short date pattern (ICU's and Windows' notations agree on the
// numeric fields and on quoting) into the one we store: every year field becomes
// "yyyy" so the year always has four digits. Only numeric day and month fields (one
// or two letters) and year fields are admitted, because FormatShortDate renders
// nothing else; any other field gives nullopt. Three letters or more are names: a
// month name on both systems, a day name on Windows ("ddd").
std::optional<std::u16string> NormaliseShortDatePattern(std::u16string_view pattern);

// Turns a locale's long date pattern into the one we store: a month field of three
// letters or more becomes "MMMM" (the wide name), a weekday field "EEEE", numeric
// day, month and year fields stay. Any other field (an era, a week number, a
// narrow name) gives nullopt.
std::optional<std::u16string> NormaliseLongDatePattern(std::u16string_view pattern);

}  // namespace jv::dates::detail
