// Builds a large competition for benchmarks from the sample's description:
// the same element register, rules, panels, timings, programs and categories
// as templates, with many categories of many entries, every segment
// finished, and a person register padded to the asked size with persons who
// are entered nowhere (as a federation's register is).
#ifndef TAVC_TOOLS_SAMPLE_LARGE_COMPETITION_H_
#define TAVC_TOOLS_SAMPLE_LARGE_COMPETITION_H_

#include <string>

#include "competition.h"

namespace tav {
namespace sample {

struct Scale {
  int categories = 100;
  int entries = 100;       // per category
  int registerSize = 200000;
};

// Replaces the event, categories, notes and register of `competition` by a
// scaled-up one; false when the sample gives no template to copy.
bool scaleCompetition(const Scale& scale, Competition* competition, std::string* error);

}  // namespace sample
}  // namespace tav

#endif  // TAVC_TOOLS_SAMPLE_LARGE_COMPETITION_H_
