// CommitBatch: several written files put in place together, with steps
// between them, in the order they were added; a failure stops the batch
// there and leaves everything after it as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "dbf/file_io.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Names = std::vector<std::string>;

class CommitBatchTest : public ::testing::Test {
 protected:
  // Adds a new version of `name` to the batch; what happens to it is noted
  // in events_.
  void addFile(const std::string& name, const std::string& bytes) {
    auto out = std::make_unique<SafeFileWriter>();
    ASSERT_TRUE(out->open(dir_.file(name)));
    ASSERT_TRUE(out->write(bytes.data(), bytes.size()));
    batch_.add(std::move(out), [this, name] { events_.push_back("placed " + name); },
               [this, name] {
                 events_.push_back("failed " + name);
                 failedErrno_ = errno;
               });
  }

  void addStep(const std::string& name, bool succeeds) {
    batch_.addStep([this, name, succeeds] {
      events_.push_back("step " + name);
      return succeeds;
    });
  }

  test::TempDir dir_;
  CommitBatch batch_;
  Names events_;
  int failedErrno_ = 0;
};

TEST_F(CommitBatchTest, PutsFilesInPlaceAndRunsStepsInOrder) {
  test::writeFile(dir_.file("A.DBF"), "old a");
  addFile("A.DBF", "new a");
  addStep("between", true);
  addFile("B.DBF", "new b");
  // Nothing is in place before the commit.
  EXPECT_EQ(test::readFile(dir_.file("A.DBF")), "old a");
  EXPECT_TRUE(events_.empty());

  EXPECT_TRUE(batch_.commitAll());
  EXPECT_EQ(events_, (Names{"placed A.DBF", "step between", "placed B.DBF"}));
  EXPECT_EQ(test::readFile(dir_.file("A.DBF")), "new a");
  EXPECT_EQ(test::readFile(dir_.file("B.DBF")), "new b");
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"A.DBF", "B.DBF"}));
  // The batch is empty afterwards.
  EXPECT_TRUE(batch_.commitAll());
  EXPECT_EQ(events_.size(), 3u);
}

TEST_F(CommitBatchTest, FileThatCannotBePutInPlaceStopsTheBatch) {
  test::writeFile(dir_.file("C.DBF"), "old c");
  // B.DBF cannot be replaced: a folder with content stands in its place.
  std::filesystem::create_directories(dir_.file("B.DBF/inside"));
  addFile("A.DBF", "new a");
  addFile("B.DBF", "new b");
  addStep("after", true);
  addFile("C.DBF", "new c");

  EXPECT_FALSE(batch_.commitAll());
  EXPECT_EQ(events_, (Names{"placed A.DBF", "failed B.DBF"}));
  EXPECT_NE(failedErrno_, 0);
  EXPECT_EQ(test::readFile(dir_.file("A.DBF")), "new a");
  EXPECT_EQ(test::readFile(dir_.file("C.DBF")), "old c");
  // No temporary file is left behind.
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"A.DBF", "B.DBF", "C.DBF"}));
}

TEST_F(CommitBatchTest, FailingStepStopsTheBatch) {
  addFile("A.DBF", "new a");
  addStep("refused", false);
  addFile("B.DBF", "new b");
  EXPECT_FALSE(batch_.commitAll());
  EXPECT_EQ(events_, (Names{"placed A.DBF", "step refused"}));
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"A.DBF"}));
}

TEST_F(CommitBatchTest, BatchNeverCommittedLeavesTheTargetsAlone) {
  test::writeFile(dir_.file("A.DBF"), "old a");
  {
    CommitBatch batch;
    auto out = std::make_unique<SafeFileWriter>();
    ASSERT_TRUE(out->open(dir_.file("A.DBF")));
    ASSERT_TRUE(out->write("new a", 5));
    bool placed = false;
    batch.add(std::move(out), [&placed] { placed = true; }, [] {});
    EXPECT_FALSE(placed);
  }
  EXPECT_EQ(test::readFile(dir_.file("A.DBF")), "old a");
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"A.DBF"}));
}

}  // namespace
}  // namespace tav
