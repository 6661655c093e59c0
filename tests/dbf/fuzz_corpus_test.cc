// Replays every file of the table reader's fuzzing corpus through the same
// sweep the fuzzer runs (fuzz/dbf_sweep.cc, compiled into this test), so that
// each input the fuzzer kept - seeds and former findings alike - is checked
// on every build, with the sanitizers when the build has them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "../../fuzz/dbf_sweep.cc"
#include "support/test_support.h"

namespace tav {
namespace {

std::vector<std::filesystem::path> corpusFiles() {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path folder =
      std::filesystem::path(TAVC_SOURCE_DIR) / "fuzz" / "corpus" / "dbf_reader";
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(FuzzCorpusTest, EveryCorpusFileKeepsEveryPromise) {
  DbfSweep sweep;
  ASSERT_TRUE(sweep.ready());
  const std::vector<std::filesystem::path> files = corpusFiles();
  int seeds = 0;
  for (const std::filesystem::path& file : files) {
    const SweepResult result = sweep.run(test::readFile(file.string()));
    const std::string name = file.filename().string();
    EXPECT_TRUE(result.sound) << name << ": " << result.finding;
    // Seeds say in their names whether the reader accepts them; findings
    // kept from fuzzing runs may go either way.
    if (name.rfind("ok-", 0) == 0) {
      EXPECT_TRUE(result.loaded) << name << ": " << getErrStr();
      ++seeds;
    } else if (name.rfind("bad-", 0) == 0) {
      EXPECT_FALSE(result.loaded) << name;
      ++seeds;
    }
  }
  EXPECT_GE(seeds, 24);
}

}  // namespace
}  // namespace tav
