// What the tests of every runtime build their months from: the size of the day
// grid, a civil date as the automation DATE, and the English regional settings.
#pragma once

#include <gtest/gtest.h>

#include "platform/dates/calendar.h"
#include "platform/dates/regional_settings.h"

namespace jv::testing {

// The day cells of the month grid: six weeks of seven days.
inline constexpr int kGridCells = 42;

inline DATE Day(int y, int m, int d) {
  DATE date = 0;
  EXPECT_EQ(dates::FromCivil({y, m, d}, &date), S_OK) << y << "-" << m << "-" << d;
  return date;
}

inline const dates::RegionalSettings& English() {
  static const dates::RegionalSettings settings = dates::RegionalSettings::ForLocale("en_US");
  return settings;
}

}  // namespace jv::testing
