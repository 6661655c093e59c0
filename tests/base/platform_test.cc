// The platform layer's own promises that the layers above do not show
// directly: path parts on this system, the alignment and usable size of
// large blocks, and the clock.  Replacing files is tested through
// SafeFileWriter (tests/dbf/file_io_test.cc, tests/dbf/commit_batch_test.cc).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/platform.h"
#include "support/test_support.h"

namespace tav {
namespace {

TEST(PlatformTest, PathParts) {
  struct Case {
    std::string path, folder;
  };
  const Case everywhere[] = {
      {"/data/db/PCT.DBF", "/data/db/"}, {"PCT.DBF", "."}, {"/PCT.DBF", "/"}, {"db/", "db/"}};
  for (const Case& c : everywhere) EXPECT_EQ(platform::folderOf(c.path), c.folder) << c.path;
  // "\" separates on Windows only.
  EXPECT_EQ(platform::folderOf("C:\\data\\PCT.DBF"), test::systemText(".", "C:\\data\\"));
  EXPECT_EQ(platform::folderOf("C:\\data/db\\PCT.DBF"),
            test::systemText("C:\\data/", "C:\\data/db\\"));
  EXPECT_EQ(platform::isPathSeparator('\\'), test::onWindows());
  EXPECT_TRUE(platform::isPathSeparator('/'));
}

TEST(PlatformTest, LargeBlocksAreAlignedAndUsableToTheEnd) {
  const std::size_t kHugePage = std::size_t{2} << 20;
  for (std::size_t bytes : {std::size_t{0}, std::size_t{1}, std::size_t{4096}, kHugePage - 1,
                            kHugePage, kHugePage * 3 + 5}) {
    void* block = platform::allocateLargeBlock(bytes);
    ASSERT_NE(block, nullptr) << bytes;
    if (bytes >= kHugePage) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kHugePage, 0u) << bytes;
    }
    if (bytes > 0) {
      std::memset(block, 0xA5, bytes);
      EXPECT_EQ(static_cast<unsigned char*>(block)[bytes - 1], 0xA5) << bytes;
    }
    platform::freeLargeBlock(block);
  }
  platform::freeLargeBlock(nullptr);
}

TEST(PlatformTest, LocalTimeIsAPlausibleDate) {
  std::tm when{};
  std::string zone = "unset";
  platform::localTimeNow(&when, &zone);
  EXPECT_GE(when.tm_year + 1900, 2024);
  EXPECT_GE(when.tm_mon, 0);
  EXPECT_LE(when.tm_mon, 11);
  EXPECT_GE(when.tm_mday, 1);
  EXPECT_LE(when.tm_mday, 31);
  EXPECT_NE(zone, "unset");
}

}  // namespace
}  // namespace tav
