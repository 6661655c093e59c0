// The score list of a performance read through the event tree, in C++:
// every executed element with all its fields (getElmScoreDetail), over every
// performance of a database, in lists per second of CPU time.
//
//   event_score_bench DB_FOLDER
//
// Prints "performances N score_lists_per_s X elements_per_s Y".
#include <ctime>
#include <cstdio>
#include <vector>

#include "base/failure_record.h"
#include "event/event_tree.h"
#include "session/tav.h"

namespace {

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: event_score_bench DB_FOLDER\n");
    return 2;
  }
  using namespace tav;
  if (!session().openDB(argv[1]) || !events().eventPopulate()) {
    std::fprintf(stderr, "%s\n", getErrStr().c_str());
    return 1;
  }
  std::vector<const CPerformance*> performances;
  for (const auto& [evtId, event] : events().eventMap()) {
    for (const auto& [catId, category] : event->categories()) {
      for (const auto& [scpId, segment] : category->segments()) {
        for (const auto& [prfId, p] : segment->performances()) performances.push_back(p.get());
      }
    }
  }
  std::vector<ElementDetail> elements;
  std::size_t elementCount = 0;
  const double start = cpuSeconds();
  for (int round = 0; round < 3; ++round) {
    for (const CPerformance* p : performances) {
      if (!p->getElmScoreDetail(false, false, &elements)) {
        std::fprintf(stderr, "%s\n", getErrStr().c_str());
        return 1;
      }
      elementCount += elements.size();
    }
  }
  const double seconds = cpuSeconds() - start;
  std::printf("performances %zu score_lists_per_s %.0f elements_per_s %.0f\n", performances.size(),
              3.0 * static_cast<double>(performances.size()) / seconds,
              static_cast<double>(elementCount) / seconds);
  session().close();
  return 0;
}
