#include "event/timeline_calc.h"

#include <algorithm>
#include <climits>

#include "base/failure_record.h"
#include "event/timeline_clock.h"

namespace tav {
namespace {

// The group of the "previous position" before the first one: a marker that
// differs from every real group number, 0 and -1 included, so that the first
// position always opens its group.  The closing entry is not a position: it
// is handled after the walk and is always a change of group.
constexpr int kBeforeFirstGroup = INT_MIN;

// The group of a later position when block 1 is asked for: those positions
// are walked (the clock runs on) but never listed.
constexpr int kLaterBlockGroup = -1;

bool fail(const std::string& message, const std::string& text) {
  setErrStr(false, message + text, false, true);
  return false;
}

// Walks the start positions once, appending the items of the asked block.
class TimelineWalk {
 public:
  TimelineWalk(const TimingRecord& timing, const TimelineRequest& request, Timeline* timeline)
      : timing_(timing), request_(request), timeline_(timeline),
        split_(isTimelineSplit(timing)) {}

  bool run(const std::vector<TimelinePosition>& positions, const std::vector<int>& groupSizes) {
    std::vector<int> groups;
    if (!assignGroups(positions.size(), groupSizes, &groups)) return false;
    if (!ClockTime::parse(timing_.begin, &now_)) {
      return fail("Invalid begin time specified: ", timing_.begin);
    }
    if ((request_.combinePD == 0 || request_.combinePD == 1) && !introduction()) return false;
    int previous = kBeforeFirstGroup;
    for (std::size_t i = 0; i < positions.size(); ++i) {
      if (groups[i] != previous && !groupChange(previous, groups[i])) return false;
      if (!performance(positions[i], groups[i])) return false;
      previous = groups[i];
    }
    if (!closing(previous)) return false;
    summarise();
    return true;
  }

 private:
  // One group number per position, in start order.
  bool assignGroups(std::size_t count, const std::vector<int>& sizes, std::vector<int>* groups) {
    if (sizes.empty()) {
      groups->assign(count, 0);
      return true;
    }
    long long total = 0;
    for (int size : sizes) total += std::max(size, 0);
    if (total != static_cast<long long>(count)) {
      return fail("Groups and start order do not match.", "");
    }
    for (std::size_t g = 0; g < sizes.size(); ++g) {
      const int number = static_cast<int>(g) + 1;
      const bool later = request_.block == 1 && split_ && number > timing_.laterGroup;
      groups->insert(groups->end(), std::max(sizes[g], 0), later ? kLaterBlockGroup : number);
    }
    return true;
  }

  // Parses a duration that must be given.
  bool duration(const std::string& text, const char* message, ClockTime* value) {
    return ClockTime::parse(text, value) || fail(message, text);
  }

  // Appends an item of the current block (all blocks when block 0) and moves
  // the clock to its end.
  TimelineItem* add(char type, ClockTime length, const std::string& name) {
    TimelineItem item;
    item.type = type;
    item.date = timing_.date;
    item.begin = now_.text();
    now_ = now_.plus(length);
    item.end = now_.text();
    item.duration = length.text();
    item.name = name;
    if (request_.block != 0 && request_.block != blockCounter_) return nullptr;
    timeline_->items.push_back(std::move(item));
    return &timeline_->items.back();
  }

  bool introduction() {
    if (ClockTime::isEmptyText(timing_.introduction)) return true;
    ClockTime length;
    if (!duration(timing_.introduction, "Invalid introduction warmup time specified: ", &length)) {
      return false;
    }
    add('I', length, "Introduction");
    return true;
  }

  bool groupChange(int previous, int group) {
    if (previous > 0 && request_.categoryType != 'T' && !resurfaceAndLaterGroups(previous)) {
      return false;
    }
    ClockTime length;
    if (!duration(timing_.warmup, "Invalid warmup time specified: ", &length)) return false;
    add('W', length,
        request_.categoryType == 'T' ? "Ice Resurface" : "Warmup Group " + std::to_string(group));
    return true;
  }

  bool resurfaceAndLaterGroups(int previous) { return resurface(previous) && laterGroups(previous); }

  bool resurface(int previous) {
    // A group number of 0 (a blank field) names no group.
    const auto& after = timing_.resurfaceAfterGroup;
    const auto found = std::find(after.begin(), after.end(), previous);
    if (previous <= 0 || found == after.end()) return true;
    const std::string& specific = timing_.resurfaceDuration[found - after.begin()];
    ClockTime length;
    const bool ok = ClockTime::isEmptyText(specific)
                        ? duration(timing_.resurface, "Invalid resurface default time specified: ", &length)
                        : duration(specific, "Invalid resurface time specified: ", &length);
    if (!ok) return false;
    add('R', length, "Ice Resurface");
    return true;
  }

  // After the last group before the break: the break (blocks 0 and 1) or
  // the opening of the later block (block 2).
  bool laterGroups(int previous) {
    if (!split_ || previous != timing_.laterGroup) return true;
    timeline_->blocks = 2;
    ClockTime later;
    if (!ClockTime::parse(timing_.laterBegin, &later)) {
      return fail("Invalid begin later group time specified: ", timing_.laterBegin);
    }
    if (!now_.notLaterThan(later)) {
      return fail("Invalid begin later group time: ", timing_.laterBegin);
    }
    if (request_.block != 2) {
      add('B', ClockTime::difference(now_, later), "Break");
      ++blockCounter_;
      return true;
    }
    ++blockCounter_;
    now_ = later;
    return introduction();
  }

  bool performance(const TimelinePosition& position, int group) {
    ClockTime intro, perform, judge;
    if (!duration(timing_.performanceIntro, "Invalid introduction performance time specified: ", &intro) ||
        !duration(timing_.perform, "Invalid performance time specified: ", &perform) ||
        !duration(timing_.judgeEach, "Invalid judging time specified: ", &judge)) {
      return false;
    }
    const ClockTime length =
        ClockTime::fromSeconds(intro.seconds() + perform.seconds() + judge.seconds());
    const std::string& name = position.parId != 0
                                  ? position.name
                                  : plannedPositionName(request_.categoryType, position.startNo);
    TimelineItem* item = add('P', length, name);
    if (item != nullptr) {
      item->startNo = position.startNo;
      item->group = group;
      item->parId = position.parId;
    }
    return true;
  }

  // The closing entry, handled after the walk: resurface and later groups
  // only for a dance of a combined pair or one block, then the end item.
  bool closing(int previous) {
    if ((request_.combinePD != 0 || request_.block != 0) && !resurfaceAndLaterGroups(previous)) {
      return false;
    }
    if (ClockTime::isEmptyText(timing_.judgeLast) && request_.block == 0) return true;
    ClockTime length;  // an empty text counts as no time
    if (!timing_.judgeLast.empty() &&
        !duration(timing_.judgeLast, "Invalid judging last time specified: ", &length)) {
      return false;
    }
    add('W', length, endName());
    return true;
  }

  std::string endName() const {
    if (request_.combinePD == 1) return "End of first dance";
    if (request_.combinePD == 2) return "End of dance";
    return "End of event";
  }

  void summarise() {
    const TimelineItem* first = nullptr;
    const TimelineItem* last = nullptr;
    bool oneGroup = true;
    for (const TimelineItem& item : timeline_->items) {
      if (item.type != 'P') continue;
      if (first == nullptr) first = &item;
      if (item.group != first->group) oneGroup = false;
      last = &item;
    }
    if (first == nullptr) return;
    timeline_->summary = oneGroup ? " Group " + std::to_string(first->group)
                                  : " Groups " + std::to_string(first->group) + " - " +
                                        std::to_string(last->group);
  }

  const TimingRecord& timing_;
  const TimelineRequest& request_;
  Timeline* timeline_;
  const bool split_;
  ClockTime now_;
  int blockCounter_ = 1;
};

}  // namespace

bool isTimelineSplit(const TimingRecord& timing) {
  return !ClockTime::isEmptyText(timing.laterBegin) && timing.laterGroup >= 1;
}

std::string plannedPositionName(char categoryType, int startNo) {
  const char* word = categoryType == 'S' ? "Skater " : categoryType == 'T' ? "Team " : "Couple ";
  return word + std::to_string(startNo);
}

bool calcTimeline(const TimingRecord& timing, const std::vector<TimelinePosition>& positions,
                  const std::vector<int>& groupSizes, const TimelineRequest& request,
                  Timeline* timeline) {
  *timeline = Timeline();
  TimelineRequest clamped = request;
  clamped.block = std::clamp(request.block, 0, 2);
  return TimelineWalk(timing, clamped, timeline).run(positions, groupSizes);
}

}  // namespace tav
