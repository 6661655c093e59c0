// TextIndex: the hash table behind the record-number cache.  The cases are
// the ones where a flat table with short texts kept inside its slots could
// go wrong: texts that agree on their first eight bytes or differ only in
// length, replacement of a text's number, growth with many entries, and
// texts that can never be entered.
#include "dbf/text_index.h"

#include <string>

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(TextIndexTest, FindsWhatWasSetAndNothingElse) {
  TextIndex index;
  EXPECT_EQ(index.find("1"), -1);  // empty index
  index.set("1", 10);
  index.set("", 11);
  index.set("12345678", 12);      // exactly the bytes kept in a slot
  index.set("123456789", 13);     // one byte more
  index.set("Müller", 14);
  EXPECT_EQ(index.find("1"), 10);
  EXPECT_EQ(index.find(""), 11);
  EXPECT_EQ(index.find("12345678"), 12);
  EXPECT_EQ(index.find("123456789"), 13);
  EXPECT_EQ(index.find("Müller"), 14);
  EXPECT_EQ(index.find("1234567"), -1);
  EXPECT_EQ(index.find("12"), -1);
  EXPECT_EQ(index.find("Muller"), -1);
  EXPECT_EQ(index.size(), 5u);
}

TEST(TextIndexTest, LongTextsThatShareTheirFirstBytesAreDistinct) {
  TextIndex index;
  const std::string head = "Skating Club Oberstdorf ";
  index.set(head + "A", 1);
  index.set(head + "B", 2);
  index.set(head, 3);
  EXPECT_EQ(index.find(head + "A"), 1);
  EXPECT_EQ(index.find(head + "B"), 2);
  EXPECT_EQ(index.find(head), 3);
  EXPECT_EQ(index.find(head + "C"), -1);
  EXPECT_EQ(index.find(head + "AB"), -1);
}

TEST(TextIndexTest, TextsDifferingOnlyByTrailingZeroBytesAreDistinct) {
  TextIndex index;
  index.set(std::string("ab", 2), 1);
  EXPECT_EQ(index.find(std::string("ab\0", 3)), -1);
  index.set(std::string("ab\0", 3), 2);
  EXPECT_EQ(index.find(std::string("ab", 2)), 1);
  EXPECT_EQ(index.find(std::string("ab\0", 3)), 2);
}

TEST(TextIndexTest, SettingAgainReplacesTheNumber) {
  TextIndex index;
  index.set("4711", 3);
  index.set("4711", 8);
  EXPECT_EQ(index.find("4711"), 8);
  EXPECT_EQ(index.size(), 1u);
}

TEST(TextIndexTest, KeepsEveryEntryThroughGrowth) {
  TextIndex index;
  constexpr int kCount = 50000;
  for (int i = 0; i < kCount; ++i) index.set(std::to_string(i * 7), i);
  // Long texts enter the shared text block and must survive moves as well.
  for (int i = 0; i < 1000; ++i) index.set("person number " + std::to_string(i), kCount + i);
  EXPECT_EQ(index.size(), static_cast<std::size_t>(kCount + 1000));
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(index.find(std::to_string(i * 7)), i) << i;
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(index.find("person number " + std::to_string(i)), kCount + i) << i;
  }
  EXPECT_EQ(index.find(std::to_string(3)), -1);
}

TEST(TextIndexTest, ReserveKeepsEntries) {
  TextIndex index;
  index.set("a", 1);
  index.reserve(100000);
  index.set("b", 2);
  EXPECT_EQ(index.find("a"), 1);
  EXPECT_EQ(index.find("b"), 2);
}

TEST(TextIndexTest, TextsLongerThanTheLimitAreNeverEnteredOrFound) {
  TextIndex index;
  const std::string huge(70000, 'x');
  index.set(huge, 1);
  EXPECT_EQ(index.size(), 0u);
  EXPECT_EQ(index.find(huge), -1);
  const std::string largest(0xFFFF, 'y');
  index.set(largest, 2);
  EXPECT_EQ(index.find(largest), 2);
}

}  // namespace
}  // namespace tav
