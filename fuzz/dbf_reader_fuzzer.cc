// libFuzzer entry: every input is a table file, read and swept by DbfSweep.
// A broken promise aborts with what did not hold, so the fuzzer keeps the
// input as a finding.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "dbf_sweep.h"
#include "finding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tav::DbfSweep sweep;
  if (!sweep.ready()) {
    std::fprintf(stderr, "no scratch folders\n");
    std::abort();
  }
  const tav::SweepResult result =
      sweep.run(std::string(reinterpret_cast<const char*>(data), size));
  if (!result.sound) tav::fuzz::fail(result.finding.c_str());
  return 0;
}
