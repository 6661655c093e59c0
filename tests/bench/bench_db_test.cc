// The benchmark database generator, at a thousandth of its size: the folder
// it writes must be a complete database that opens, with the record layouts
// the benchmark figures are about, and the same bytes on every run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "base/failure_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

const std::string kGenerator = std::string(TAVC_BINARY_DIR) + "/bench/make_bench_db";

bool generatorBuilt() {
  struct stat st;
  return ::stat(kGenerator.c_str(), &st) == 0;
}

int generate(const std::string& folder) {
  return std::system((kGenerator + " '" + folder + "' --scale 1000").c_str());
}

TEST(BenchDbTest, SmallFolderOpensWithTheBenchmarkLayouts) {
  if (!generatorBuilt()) GTEST_SKIP() << "benchmarks not built";
  test::TempDir dir;
  const std::string folder = dir.file("db");
  ASSERT_EQ(generate(folder), 0);

  CTav tav;
  resetStackTrace("test");
  ASSERT_TRUE(tav.openDB(folder)) << getErrStr();
  std::vector<std::string> handles;
  ASSERT_TRUE(tav.getHandleList(&handles));
  EXPECT_EQ(handles.size(), test::databaseTables(11135).size());

  CDbf* pct = tav.handles().getDbfHandlePtr("PCT");
  CDbf* prf = tav.handles().getDbfHandlePtr("PRF");
  ASSERT_NE(pct, nullptr);
  ASSERT_NE(prf, nullptr);
  EXPECT_EQ(pct->getNumRecs(), 200u);
  EXPECT_EQ(pct->header().recordLength, 1024);
  EXPECT_EQ(prf->getNumRecs(), 50u);
  EXPECT_EQ(prf->header().recordLength, 2048);
  EXPECT_EQ(prf->getNumFields(), 499);
  // Identifiers are the record numbers plus one (deleted records keep theirs).
  for (CDbf* table : {pct, prf}) {
    const std::string idField = table->code() + "_ID";
    for (std::size_t r = 0; r < table->numRecordsHeld(); ++r) {
      EXPECT_EQ(table->fieldText(r, table->findField(idField)), std::to_string(r + 1));
      if (table->isActive(r)) {
        EXPECT_EQ(table->getRecNo(idField, std::to_string(r + 1)), static_cast<int>(r));
      }
    }
  }
  bool present = false;
  ASSERT_TRUE(tav.cdxHandleExists("PCT", &present));
  EXPECT_TRUE(present);
}

TEST(BenchDbTest, SameBytesOnEveryRun) {
  if (!generatorBuilt()) GTEST_SKIP() << "benchmarks not built";
  test::TempDir dir;
  ASSERT_EQ(generate(dir.file("a")), 0);
  ASSERT_EQ(generate(dir.file("b")), 0);
  for (const char* file : {"CFG.DBF", "PCT.DBF", "PRF.DBF", "PAR.DBF", "PCT.CDX"}) {
    EXPECT_EQ(test::readFile(dir.file(std::string("a/") + file)),
              test::readFile(dir.file(std::string("b/") + file)))
        << file;
  }
}

}  // namespace
}  // namespace tav
