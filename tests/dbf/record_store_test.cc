// RecordStore: the one contiguous block that holds a table's records.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "dbf/record_store.h"

namespace tav {
namespace {

// Record r as text.
std::string recordAt(const RecordStore& store, std::size_t r) {
  return std::string(store.at(r), store.recordLength());
}

// Writes " 00042" style content into record r.
void stamp(RecordStore* store, std::size_t r, int value, char flag = ' ') {
  char text[8];
  std::snprintf(text, sizeof text, "%c%05d", flag, value);
  std::memcpy(store->at(r), text, 6);
}

TEST(RecordStoreTest, AppendedRecordsAreBlankAndSurviveGrowth) {
  RecordStore store;
  store.reset(6);
  for (int i = 0; i < 1000; ++i) {
    char* record = store.appendBlank();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::string(record, 6), "      ");
    stamp(&store, i, i);
  }
  ASSERT_EQ(store.size(), 1000u);
  for (int i = 0; i < 1000; ++i) {
    char expected[8];
    std::snprintf(expected, sizeof expected, " %05d", i);
    ASSERT_EQ(recordAt(store, i), expected) << i;
    // One contiguous block: the records follow each other.
    ASSERT_EQ(store.at(i), store.data() + 6 * i);
  }
  store.removeLast();
  EXPECT_EQ(store.size(), 999u);
  EXPECT_EQ(recordAt(store, 998), " 00998");
  store.clear();
  EXPECT_EQ(store.size(), 0u);
  EXPECT_EQ(store.recordLength(), 6u);
  ASSERT_NE(store.appendBlank(), nullptr);
  EXPECT_EQ(recordAt(store, 0), "      ");
}

TEST(RecordStoreTest, RemoveDeletedKeepsTheOrderOfTheOthers) {
  RecordStore store;
  store.reset(6);
  for (int i = 0; i < 8; ++i) {
    ASSERT_NE(store.appendBlank(), nullptr);
    stamp(&store, i, i, i % 3 == 0 ? '*' : (i == 4 ? 'X' : ' '));
  }
  EXPECT_EQ(store.removeDeleted(), 3u);  // 0, 3 and 6; 'X' is not a deletion
  ASSERT_EQ(store.size(), 5u);
  EXPECT_EQ(recordAt(store, 0), " 00001");
  EXPECT_EQ(recordAt(store, 1), " 00002");
  EXPECT_EQ(recordAt(store, 2), "X00004");
  EXPECT_EQ(recordAt(store, 3), " 00005");
  EXPECT_EQ(recordAt(store, 4), " 00007");
  EXPECT_EQ(store.removeDeleted(), 0u);
  EXPECT_EQ(store.size(), 5u);

  for (std::size_t r = 0; r < store.size(); ++r) store.at(r)[0] = '*';
  EXPECT_EQ(store.removeDeleted(), 5u);
  EXPECT_EQ(store.size(), 0u);
  EXPECT_EQ(store.removeDeleted(), 0u);
}

TEST(RecordStoreTest, PreparedBytesBecomeRecords) {
  RecordStore store;
  store.reset(4);
  char* target = store.prepare(9);
  ASSERT_NE(target, nullptr);
  std::memcpy(target, " abc defX", 9);
  store.setSize(2);
  EXPECT_EQ(std::string(store.at(1), 4), " def");
  ASSERT_NE(store.appendBlank(), nullptr);
  EXPECT_EQ(std::string(store.data(), 12), " abc def    ");
}

}  // namespace
}  // namespace tav
