// What a fuzz target does with a broken promise: it prints what did not
// hold as a finding and aborts, so that libFuzzer keeps the input.
#ifndef TAVC_FUZZ_FINDING_H_
#define TAVC_FUZZ_FINDING_H_

#include <cstdio>
#include <cstdlib>

namespace tav::fuzz {

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "finding: %s\n", what);
  std::abort();
}

inline void require(bool holds, const char* what) {
  if (!holds) fail(what);
}

}  // namespace tav::fuzz

#endif  // TAVC_FUZZ_FINDING_H_
