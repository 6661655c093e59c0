// Compressing a real-world table and saving it: the independent reader
// python3-dbfread then sees the table's active records as before, in the same
// order, minus the ones deleted here, no deleted record and a matching count.
// (No command reaches the compression yet, so this drives the table engine
// directly; the reader runs through tests/compat/dbfread_dump.py.)
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "support/test_support.h"

namespace tav {
namespace {

using test::TempDir;

// Closes a pipe opened with popen and keeps the child's exit status.
struct PipeCloser {
  int* status;
  void operator()(std::FILE* pipe) const { *status = pclose(pipe); }
};

// The lines python3-dbfread prints for a table file: "count N", then
// "active <hex>" per active record and "deleted <hex>" per deleted one.
std::vector<std::string> dbfreadLines(const std::string& path) {
  const std::string command = "/usr/bin/python3 " TAVC_SOURCE_DIR
                              "/tests/compat/dbfread_dump.py '" + path + "'";
  int status = -1;
  std::vector<std::string> lines;
  {
    std::unique_ptr<std::FILE, PipeCloser> pipe(popen(command.c_str(), "r"),
                                                PipeCloser{&status});
    if (!pipe) return lines;
    std::string line;
    for (int c = std::fgetc(pipe.get()); c != EOF; c = std::fgetc(pipe.get())) {
      if (c != '\n') {
        line += static_cast<char>(c);
      } else {
        lines.push_back(line);
        line.clear();
      }
    }
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  return lines;
}

std::vector<std::string> withPrefix(const std::vector<std::string>& lines,
                                    const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
  }
  return found;
}

TEST(CompressCompatTest, CompressedTableReadsBackWithoutTheDeletedRecords) {
  // PYACFL.DBF: 45 records, 30 of them deleted, one spare header byte.
  TempDir dir;
  const std::string path = dir.file("T01.DBF");
  test::writeFile(path, test::readFile(TAVC_SOURCE_DIR "/tests/compat/corpus/PYACFL.DBF"));
  const std::vector<std::string> before = dbfreadLines(path);
  std::vector<std::string> active = withPrefix(before, "active ");
  ASSERT_EQ(before.front(), "count 45");
  ASSERT_EQ(active.size(), 15u);
  ASSERT_EQ(withPrefix(before, "deleted ").size(), 30u);

  CDbf table;
  ASSERT_TRUE(table.populate("T01", dir.path()));
  std::vector<int> live;
  for (std::size_t r = 0; r < table.numRecordsHeld(); ++r) {
    if (table.isActive(r)) live.push_back(static_cast<int>(r));
  }
  ASSERT_EQ(live.size(), 15u);
  ASSERT_TRUE(table.deleteRec(live.front()));
  ASSERT_TRUE(table.deleteRec(live.back()));
  EXPECT_TRUE(table.compressRecs());
  EXPECT_EQ(table.getNumRecs(), 13u);
  ASSERT_TRUE(table.save(false, dir.path()));

  active.erase(active.end() - 1);
  active.erase(active.begin());
  const std::vector<std::string> after = dbfreadLines(path);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(after.front(), "count 13");
  EXPECT_EQ(withPrefix(after, "active "), active);
  EXPECT_TRUE(withPrefix(after, "deleted ").empty());
}

}  // namespace
}  // namespace tav
