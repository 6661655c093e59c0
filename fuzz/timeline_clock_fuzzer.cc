// libFuzzer entry for schedule clock texts: the input is split at newlines
// into the clock fields of a timing record (any bytes, any length), the last
// line's bytes give warm-up group sizes, the later-group number and the
// request.  Every text is parsed on its own and a timeline is calculated;
// a broken promise aborts so that the fuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "event/timeline_calc.h"
#include "event/timeline_clock.h"
#include "finding.h"

namespace {

using tav::fuzz::require;

void checkText(const std::string& text) {
  tav::ClockTime value = tav::ClockTime::fromSeconds(-5);
  if (!tav::ClockTime::parse(text, &value)) {
    require(value.seconds() == -5, "a failed parse changed the value");
    return;
  }
  require(value.seconds() >= 0 && value.seconds() < tav::ClockTime::kSecondsPerDay, "parsed out of a day");
  require(value.text() == text.substr(0, 8), "parsed text does not read back");
}

bool isClockText(const std::string& text) {
  tav::ClockTime value;
  return text.size() == 8 && tav::ClockTime::parse(text, &value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      lines.emplace_back();
    } else {
      lines.back().push_back(static_cast<char>(data[i]));
    }
  }
  for (const std::string& line : lines) checkText(line);
  const std::string control = lines.back();
  lines.resize(18);

  tav::TimingRecord timing;
  std::string* fields[] = {&timing.begin,        &timing.resurface,   &timing.warmup,
                           &timing.perform,      &timing.judgeEach,   &timing.judgeLast,
                           &timing.introduction, &timing.performanceIntro, &timing.laterBegin};
  for (std::size_t i = 0; i < 9; ++i) *fields[i] = lines[i];
  for (std::size_t i = 0; i < 9; ++i) timing.resurfaceDuration[i] = lines[9 + i];
  auto byte = [&](std::size_t i) { return i < control.size() ? static_cast<std::uint8_t>(control[i]) : 0; };
  timing.laterGroup = byte(0) % 8;
  for (std::size_t i = 0; i < 9; ++i) timing.resurfaceAfterGroup[i] = byte(1 + i) % 8;
  tav::TimelineRequest request{byte(10) % 3, "SPDT"[byte(11) % 4], byte(12) % 4 - 1};
  std::vector<int> groups;
  int positions = 0;
  for (std::size_t i = 13; i < 20 && i < control.size(); ++i) {
    groups.push_back(byte(i) % 40);
    positions += groups.back();
  }
  if (byte(20) % 2 == 1) ++positions;  // sizes that do not match
  std::vector<tav::TimelinePosition> starts;
  for (int i = 1; i <= positions; ++i) starts.push_back({i, i % 3 == 0 ? 0 : i, "Name"});

  tav::Timeline timeline;
  tav::resetStackTrace("fuzz");
  if (!tav::calcTimeline(timing, starts, groups, request, &timeline)) {
    require(!tav::getErrStr().empty() && tav::isErrFatal(), "a failure without a message");
    return 0;
  }
  require(timeline.blocks == 1 || timeline.blocks == 2, "blocks out of range");
  for (const tav::TimelineItem& item : timeline.items) {
    require(isClockText(item.begin) && isClockText(item.end) && isClockText(item.duration),
            "an item time is not an eight-character clock text");
    tav::ClockTime begin, end, length;
    tav::ClockTime::parse(item.begin, &begin);
    tav::ClockTime::parse(item.end, &end);
    tav::ClockTime::parse(item.duration, &length);
    require(tav::ClockTime::difference(begin, end).seconds() == length.seconds(),
            "an item's duration is not its end minus its begin");
  }
  return 0;
}
