// Local time formatting: every directive of the pattern language for fixed
// times, and what happens to a "%" that starts no directive.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "base/failure_record.h"
#include "base/local_time.h"

namespace tav {
namespace {

// 2014-11-05, a Wednesday, at the given time of day.
std::tm novemberFifth(int hour, int minute, int second) {
  std::tm when{};
  when.tm_year = 114;
  when.tm_mon = 10;
  when.tm_mday = 5;
  when.tm_wday = 3;
  when.tm_hour = hour;
  when.tm_min = minute;
  when.tm_sec = second;
  return when;
}

TEST(LocalTimeTest, EveryDirectiveInTheMorning) {
  const std::tm when = novemberFifth(9, 7, 3);
  struct Case {
    const char* pattern;
    const char* expected;
  };
  const Case cases[] = {
      {"%A", "Wednesday"}, {"%a", "Wed"},      {"%B", "November"}, {"%b", "Nov"},
      {"%d", "05"},        {"%m", "11"},       {"%H", "09"},       {"%M", "07"},
      {"%S", "03"},        {"%I", "09"},       {"%p", "AM"},       {"%Y", "2014"},
      {"%y", "14"},        {"%w", "3"},        {"%x", "11/05/14"}, {"%X", "09:07:03"},
      {"%c", "Wed Nov 5 09:07:03 2014"},       {"%Z", "CET"},      {"%z", "CET"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatLocalTime(c.pattern, when, "CET"), c.expected) << c.pattern;
  }
}

TEST(LocalTimeTest, TwelveHourClock) {
  EXPECT_EQ(formatLocalTime("%I %p", novemberFifth(0, 0, 0), ""), "12 AM");
  EXPECT_EQ(formatLocalTime("%I %p", novemberFifth(11, 59, 59), ""), "11 AM");
  EXPECT_EQ(formatLocalTime("%I %p", novemberFifth(12, 0, 0), ""), "12 PM");
  EXPECT_EQ(formatLocalTime("%I %p %H", novemberFifth(23, 0, 0), ""), "11 PM 23");
}

TEST(LocalTimeTest, NamesOfEveryWeekdayAndMonth) {
  const char* const weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
  const char* const months[] = {"January", "February", "March",     "April",
                                "May",     "June",     "July",      "August",
                                "September", "October", "November", "December"};
  std::tm when = novemberFifth(0, 0, 0);
  for (int d = 0; d < 7; ++d) {
    when.tm_wday = d;
    EXPECT_EQ(formatLocalTime("%A|%a|%w", when, ""),
              std::string(weekdays[d]) + "|" + std::string(weekdays[d], 3) + "|" +
                  std::to_string(d));
  }
  for (int m = 0; m < 12; ++m) {
    when.tm_mon = m;
    EXPECT_EQ(formatLocalTime("%B|%b|%m", when, ""),
              std::string(months[m]) + "|" + std::string(months[m], 3) + "|" +
                  (m < 9 ? "0" : "") + std::to_string(m + 1));
  }
}

TEST(LocalTimeTest, YearsAndDaysKeepTheirWidth) {
  std::tm when = novemberFifth(0, 0, 0);
  when.tm_year = 100;  // 2000
  when.tm_mday = 31;
  EXPECT_EQ(formatLocalTime("%Y %y %d %x", when, ""), "2000 00 31 11/31/00");
  when.tm_year = 99;  // 1999
  EXPECT_EQ(formatLocalTime("%Y %y", when, ""), "1999 99");
}

TEST(LocalTimeTest, PercentWithoutDirective) {
  const std::tm when = novemberFifth(9, 7, 3);
  EXPECT_EQ(formatLocalTime("%q %1 %%", when, "Z"), "%q %1 %%");
  EXPECT_EQ(formatLocalTime("50%", when, "Z"), "50");
  EXPECT_EQ(formatLocalTime("%", when, "Z"), "");
  EXPECT_EQ(formatLocalTime("", when, "Z"), "");
  EXPECT_EQ(formatLocalTime("Updated %d.%m.%Y at %H:%M %Z", when, "EST"),
            "Updated 05.11.2014 at 09:07 EST");
}

TEST(LocalTimeTest, SystemTimeUsesTheClockAndLeavesTheTrace) {
  resetStackTrace("cmd");
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  const std::string year = getSystemLocalTime("%Y");
  // A new year may begin between the two readings; accept either.
  EXPECT_TRUE(year == std::to_string(local.tm_year + 1900) ||
              year == std::to_string(local.tm_year + 1901))
      << year;
  EXPECT_EQ(getSystemLocalTime("no directives"), "no directives");
  EXPECT_EQ(getStackTrace(), "cmd ");
}

}  // namespace
}  // namespace tav
