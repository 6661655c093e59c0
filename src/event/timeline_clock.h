// Clock times and durations of a segment's schedule.
//
// A schedule is written as eight-character texts "HH:MM:SS" (a time of day or
// a duration).  ClockTime holds one such value as whole seconds, so that sums
// carry as often as needed; its text is always the time of day modulo one day
// in the eight-character form.  The running clock of a timeline may pass
// 24:00:00 (seconds are not reduced until the value is written), which keeps
// comparisons of later times on the same day meaningful.
#ifndef TAVC_EVENT_TIMELINE_CLOCK_H_
#define TAVC_EVENT_TIMELINE_CLOCK_H_

#include <string>
#include <string_view>

namespace tav {

class ClockTime {
 public:
  static constexpr long kSecondsPerDay = 24L * 60 * 60;

  ClockTime() = default;
  static ClockTime fromSeconds(long seconds) { return ClockTime(seconds); }

  // Parses "HH:MM:SS": at least eight characters, ":" at positions 2 and 5,
  // each part two decimal digits, hours 00-23, minutes and seconds 00-59.
  // Characters after the eighth are not read.  False for anything else (the
  // value is then left as it was).
  static bool parse(std::string_view text, ClockTime* value);

  // A schedule value counts as not given when its text is empty or exactly
  // "00:00:00".
  static bool isEmptyText(std::string_view text);

  long seconds() const { return seconds_; }

  // This time plus a duration; no reduction to one day.
  ClockTime plus(ClockTime duration) const { return ClockTime(seconds_ + duration.seconds_); }

  // The duration from `begin` to `end`, taken modulo one day (an end before
  // the begin lies on the next day).
  static ClockTime difference(ClockTime begin, ClockTime end);

  // True when this time is earlier than or equal to `other`.
  bool notLaterThan(ClockTime other) const { return seconds_ <= other.seconds_; }

  // "HH:MM:SS" of the time of day, always eight characters.
  std::string text() const;

 private:
  explicit ClockTime(long seconds) : seconds_(seconds) {}
  long seconds_ = 0;
};

}  // namespace tav

#endif  // TAVC_EVENT_TIMELINE_CLOCK_H_
