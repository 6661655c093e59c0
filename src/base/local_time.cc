#include "base/local_time.h"

#include <cstdio>

#include "base/failure_record.h"
#include "base/platform.h"

namespace tav {
namespace {

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",
                               "May",     "June",     "July",      "August",
                               "September", "October", "November", "December"};

std::string twoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

std::string shortName(const char* name) { return std::string(name, 3); }

}  // namespace

std::string formatLocalTime(const std::string& pattern, const std::tm& when,
                            const std::string& zoneName) {
  const int weekday = when.tm_wday % 7;
  const int month = when.tm_mon % 12;
  const int year = when.tm_year + 1900;
  const std::string clock = twoDigits(when.tm_hour) + ":" + twoDigits(when.tm_min) + ":" +
                            twoDigits(when.tm_sec);
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      out += pattern[i];
      continue;
    }
    if (++i == pattern.size()) break;  // a trailing "%" is dropped
    switch (pattern[i]) {
      case 'A': out += kWeekdays[weekday]; break;
      case 'a': out += shortName(kWeekdays[weekday]); break;
      case 'B': out += kMonths[month]; break;
      case 'b': out += shortName(kMonths[month]); break;
      case 'd': out += twoDigits(when.tm_mday); break;
      case 'm': out += twoDigits(month + 1); break;
      case 'H': out += twoDigits(when.tm_hour); break;
      case 'M': out += twoDigits(when.tm_min); break;
      case 'S': out += twoDigits(when.tm_sec); break;
      case 'I': out += twoDigits(when.tm_hour % 12 == 0 ? 12 : when.tm_hour % 12); break;
      case 'p': out += when.tm_hour < 12 ? "AM" : "PM"; break;
      case 'Y': out += std::to_string(year); break;
      case 'y': out += twoDigits(year % 100); break;
      case 'w': out += std::to_string(weekday); break;
      case 'x':
        out += twoDigits(month + 1) + "/" + twoDigits(when.tm_mday) + "/" + twoDigits(year % 100);
        break;
      case 'X': out += clock; break;
      case 'c':
        out += shortName(kWeekdays[weekday]) + " " + shortName(kMonths[month]) + " " +
               std::to_string(when.tm_mday) + " " + clock + " " + std::to_string(year);
        break;
      case 'Z':
      case 'z': out += zoneName; break;
      default:
        out += '%';
        out += pattern[i];
        break;
    }
  }
  return out;
}

std::string getSystemLocalTime(const std::string& pattern) {
  CallTrace t("getSystemLocalTime");
  std::tm when{};
  std::string zone;
  platform::localTimeNow(&when, &zone);
  std::string result = formatLocalTime(pattern, when, zone);
  t.succeed();
  return result;
}

}  // namespace tav
