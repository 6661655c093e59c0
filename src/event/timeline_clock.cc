#include "event/timeline_clock.h"

#include <cstdio>

namespace tav {
namespace {

// The two decimal digits at `at`, or -1 when either is not a digit.
int twoDigits(std::string_view text, std::size_t at) {
  const char high = text[at];
  const char low = text[at + 1];
  if (high < '0' || high > '9' || low < '0' || low > '9') return -1;
  return (high - '0') * 10 + (low - '0');
}

}  // namespace

bool ClockTime::parse(std::string_view text, ClockTime* value) {
  if (text.size() < 8 || text[2] != ':' || text[5] != ':') return false;
  const int hours = twoDigits(text, 0);
  const int minutes = twoDigits(text, 3);
  const int seconds = twoDigits(text, 6);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
    return false;
  }
  *value = ClockTime((hours * 60L + minutes) * 60L + seconds);
  return true;
}

bool ClockTime::isEmptyText(std::string_view text) {
  return text.empty() || text == "00:00:00";
}

ClockTime ClockTime::difference(ClockTime begin, ClockTime end) {
  long seconds = (end.seconds_ - begin.seconds_) % kSecondsPerDay;
  if (seconds < 0) seconds += kSecondsPerDay;
  return ClockTime(seconds);
}

std::string ClockTime::text() const {
  long seconds = seconds_ % kSecondsPerDay;
  if (seconds < 0) seconds += kSecondsPerDay;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return buffer;
}

}  // namespace tav
