#include <gtest/gtest.h>

#include "command/failure_record.h"
#include "dbf/dbf.h"
#include "support/test_support.h"

namespace tav {
namespace {

TEST(DbfReaderTest, LoadsRecordsAndFields) {
  test::TempDir dir;
  DbfBuilder({{"PCT_ID", 'N', 6}, {"PCT_NAME", 'C', 20}})
      .addRecord({"1", "Anna"})
      .addRecord({"2", "Bob"}, true)
      .writeFile(dir.file("PCT.DBF"));
  CDbf table;
  ASSERT_TRUE(table.populate("PCT", dir.path())) << getErrStr();
  EXPECT_EQ(table.getNumRecs(), 2u);
  EXPECT_EQ(table.getNumFields(), 2);
  EXPECT_EQ(table.getNumDelRecs(), 1);
  EXPECT_EQ(table.fieldText(0, 1), "Anna");
}

}  // namespace
}  // namespace tav
