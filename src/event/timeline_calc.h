// The running schedule of one segment, computed from its timing record and
// its start positions: introduction, warm-ups, performances, ice resurfaces,
// the break before later groups and the end of the segment.
//
// This is the calculation alone, over plain inputs; timeline.h reads the
// inputs from a segment of the event tree.  A failure records its message
// (without an operation name in front: the caller adds which category and
// segment it concerns) as a fatal failure and returns false.
#ifndef TAVC_EVENT_TIMELINE_CALC_H_
#define TAVC_EVENT_TIMELINE_CALC_H_

#include <array>
#include <string>
#include <vector>

namespace tav {

// The fields of a segment's timing record (TIM), as their texts.
struct TimingRecord {
  std::string name;               // TIM_NAME
  std::string date;               // TIM_DATE, copied into every item
  std::string begin;              // TIM_BEGTIM
  std::string resurface;          // TIM_RESURF, the default resurface duration
  std::string warmup;             // TIM_WARMUP
  std::string perform;            // TIM_PERFOR
  std::string judgeEach;          // TIM_JUDFST, after each performance
  std::string judgeLast;          // TIM_JUDLST, after the last performance
  std::array<int, 9> resurfaceAfterGroup{};        // TIM_RAGNM1..9 (0: none)
  std::array<std::string, 9> resurfaceDuration{};  // TIM_RESDR1..9 (empty: default)
  int plannedCount = 0;           // TIM_NUMPAR
  std::string introduction;       // TIM_INTROD
  std::string performanceIntro;   // TIM_LSTWGR, opens every performance
  std::string laterBegin;         // TIM_BEGTI2
  int laterGroup = 0;             // TIM_LGSTWG, the last group before the break
};

// One start position: its start number, the participant skating it (0 when
// none) and the name to show (already resolved; empty for an unknown one).
struct TimelinePosition {
  int startNo = 0;
  int parId = 0;
  std::string name;
};

struct TimelineItem {
  char type = 'P';  // I introduction, W warm-up or end, P performance, R resurface, B break
  std::string date;
  std::string begin, end, duration;  // eight-character clock texts
  std::string name;
  int startNo = 0;  // P items only
  int group = 0;    // P items only
  int parId = 0;    // P items only; 0 for a planned position
};

struct Timeline {
  std::vector<TimelineItem> items;
  std::string summary;  // " Group 2" or " Groups 1 - 3" of the listed performances
  int blocks = 1;       // 2 when later groups begin at their own time
};

struct TimelineRequest {
  int combinePD = 0;      // 1 first of two combined dances, 2 the second, else 0
  char categoryType = 'S';
  int block = 0;          // 0 all items, 1 or 2 one block of a split timeline
};

// True when the record splits the schedule: later groups have a begin time
// (TIM_BEGTI2 not empty) and a group after which they follow (TIM_LGSTWG 1 or
// more).
bool isTimelineSplit(const TimingRecord& timing);

// The name of a start position without participant: "Skater 3", "Team 3",
// "Couple 3" by category type.
std::string plannedPositionName(char categoryType, int startNo);

// Computes the timeline of `positions` (in start order) with the warm-up
// group sizes `groupSizes` (empty: no warm-up groups).
bool calcTimeline(const TimingRecord& timing, const std::vector<TimelinePosition>& positions,
                  const std::vector<int>& groupSizes, const TimelineRequest& request,
                  Timeline* timeline);

}  // namespace tav

#endif  // TAVC_EVENT_TIMELINE_CALC_H_
