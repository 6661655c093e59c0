// The event tree in C++, in CPU time of this process (steady on a busy
// machine): opening the database and building the tree (each the mean of
// several runs), and the score list of a performance - every executed
// element with all its fields (getElmScoreDetail) - over every performance.
//
//   event_score_bench DB_FOLDER [--no-scores]
//
// Prints "open_s A populate_s B performances N score_lists_per_s X
// elements_per_s Y".
#include <ctime>
#include <cstdio>
#include <string>
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
  const bool scores = !(argc == 3 && std::string(argv[2]) == "--no-scores");
  if (argc != 2 && scores) {
    std::fprintf(stderr, "usage: event_score_bench DB_FOLDER [--no-scores]\n");
    return 2;
  }
  using namespace tav;
  constexpr int kOpens = 3;
  constexpr int kBuilds = 10;
  double openSeconds = 0;
  for (int i = 0; i <= kOpens; ++i) {
    session().close();
    const double start = cpuSeconds();
    if (!session().openDB(argv[1])) {
      std::fprintf(stderr, "%s\n", getErrStr().c_str());
      return 1;
    }
    if (i > 0) openSeconds += cpuSeconds() - start;  // the first is a warm-up
  }
  double populateSeconds = 0;
  for (int i = 0; i <= kBuilds; ++i) {
    events().eventClose();
    const double start = cpuSeconds();
    if (!events().eventPopulate()) {
      std::fprintf(stderr, "%s\n", getErrStr().c_str());
      return 1;
    }
    if (i > 0) populateSeconds += cpuSeconds() - start;
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
  for (int round = 0; scores && round < 3; ++round) {
    for (const CPerformance* p : performances) {
      if (!p->getElmScoreDetail(false, false, &elements)) {
        std::fprintf(stderr, "%s\n", getErrStr().c_str());
        return 1;
      }
      elementCount += elements.size();
    }
  }
  const double seconds = cpuSeconds() - start;
  std::printf("open_s %.4f populate_s %.4f performances %zu score_lists_per_s %.0f elements_per_s %.0f\n",
              openSeconds / kOpens, populateSeconds / kBuilds, performances.size(),
              scores ? 3.0 * static_cast<double>(performances.size()) / seconds : 0.0,
              scores ? static_cast<double>(elementCount) / seconds : 0.0);
  session().close();
  return 0;
}
