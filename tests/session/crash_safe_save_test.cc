// A save that fails half-way must not destroy anything.  The failure here is
// real: the save runs in a child process whose files may not grow beyond a
// small size (this works for every user, root included), so the write of the
// new file stops with "File too large" part-way through.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "session/tav.h"
#include "support/test_support.h"

namespace tav {
namespace {

using Names = std::vector<std::string>;

constexpr rlim_t kFileSizeLimit = 64 * 1024;

// What the child process reports: "name=value" lines; the kept error text
// comes last because it may span lines.
struct ChildReport {
  std::string text;
  std::string value(const std::string& name) const {
    const std::string lines = "\n" + text;
    const std::string key = "\n" + name + "=";
    const std::size_t at = lines.find(key);
    if (at == std::string::npos) return "<no " + name + " in: " + text + ">";
    const std::size_t start = at + key.size();
    if (name == "error") return lines.substr(start);
    return lines.substr(start, lines.find('\n', start) - start);
  }
};

// Runs `operation` in a child process whose files may not grow beyond
// kFileSizeLimit bytes, and returns what the operation reported.
ChildReport runWithFileSizeLimit(const std::function<std::string()>& operation) {
  int channel[2];
  if (::pipe(channel) != 0) return {"pipe failed"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
    struct rlimit limit {kFileSizeLimit, kFileSizeLimit};
    std::string report = ::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? operation() : "setrlimit failed";
    const char* p = report.data();
    std::size_t left = report.size();
    while (left > 0) {
      const ssize_t n = ::write(channel[1], p, left);
      if (n <= 0) break;
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(channel[1]);
  ChildReport report;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(channel[0], buffer, sizeof buffer)) > 0) report.text.append(buffer, n);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "child status " << status;
  return report;
}

std::string flag(bool value) { return value ? "1" : "0"; }

// A person table of about 400 KB, well past the child's file size limit.
std::string largeTable() {
  DbfBuilder table({{"PCT_ID", 'N', 8}, {"PCT_NAME", 'C', 92}});
  for (int i = 0; i < 4000; ++i) {
    table.addRecord({std::to_string(i + 1), "Person " + std::to_string(i + 1)}, i % 97 == 0);
  }
  return table.bytes();
}

// Index bytes of about 200 KB.
std::string largeIndex() {
  std::string bytes(200 * 1024, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 31 + 7);
  return bytes;
}

class CrashSafeSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetStackTrace("test");
    source_ = largeTable();
    ASSERT_GT(source_.size(), 4 * kFileSizeLimit);
    test::writeFile(dir_.file("PCT.DBF"), source_);
  }

  test::TempDir dir_;
  std::string source_;
};

TEST_F(CrashSafeSaveTest, TableSaveThatCannotBeCompletedLeavesTheOriginalFile) {
  CDbf pct;
  ASSERT_TRUE(pct.populate("PCT", dir_.path()));
  const ChildReport report = runWithFileSizeLimit([&] {
    resetStackTrace("test");
    std::string out = "updated=" + flag(pct.updateRec(3999, {"PCT_NAME=Changed"})) + "\n";
    out += "saved=" + flag(pct.save(false, dir_.path())) + "\n";
    out += "modified=" + flag(pct.isModified()) + "\n";
    return out + "error=" + getErrStr();
  });
  EXPECT_EQ(report.value("updated"), "1");
  EXPECT_EQ(report.value("saved"), "0");
  EXPECT_EQ(report.value("modified"), "1");
  EXPECT_EQ(report.value("error"),
            "CDbf.writeRecords: PCT_writeRecords: Unable to write record data: File too large");
  EXPECT_EQ(test::readFile(dir_.file("PCT.DBF")), source_);
  EXPECT_EQ(test::folderEntries(dir_.path()), Names{"PCT.DBF"});
}

TEST_F(CrashSafeSaveTest, SessionSaveThatFailsKeepsTheTableAndItsEdits) {
  test::writeFile(dir_.file("CAT.DBF"), DbfBuilder({{"CAT_ID", 'N', 4}}).addRecord({"1"}).bytes());
  CTav tav;
  ASSERT_TRUE(tav.setDirectoryPath(dir_.path()));
  ASSERT_TRUE(tav.loadHandle("CAT"));
  ASSERT_TRUE(tav.loadHandle("PCT"));
  const ChildReport report = runWithFileSizeLimit([&] {
    resetStackTrace("test");
    std::string out = "updated=" +
                      flag(tav.updateHandleRecData("CAT", 0, {"CAT_ID=2"}) &&
                           tav.updateHandleRecData("PCT", 0, {"PCT_NAME=Changed"})) + "\n";
    out += "saved=" + flag(tav.saveAll()) + "\n";
    bool cat = false, pct = false;
    tav.isHandleModified("CAT", &cat);
    tav.isHandleModified("PCT", &pct);
    out += "cat=" + flag(cat) + "\npct=" + flag(pct) + "\n";
    return out + "error=" + getErrStr();
  });
  EXPECT_EQ(report.value("updated"), "1");
  EXPECT_EQ(report.value("saved"), "0");
  EXPECT_EQ(report.value("cat"), "0");  // written before PCT failed
  EXPECT_EQ(report.value("pct"), "1");
  EXPECT_EQ(report.value("error"),
            "CDbf.writeRecords: PCT_writeRecords: Unable to write record data: File too large");
  EXPECT_EQ(test::readFile(dir_.file("PCT.DBF")), source_);
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"CAT.DBF", "PCT.DBF"}));
}

TEST_F(CrashSafeSaveTest, SaveAsWhoseIndexCopyFailsLeavesTheTargetFiles) {
  // A small table with a large index; the target already holds older files.
  test::TempDir source;
  test::writeFile(source.file("PCT.DBF"),
                  DbfBuilder({{"PCT_ID", 'N', 8}}).addRecord({"1"}).bytes());
  test::writeFile(source.file("PCT.CDX"), largeIndex());
  test::writeFile(source.file("EVT.DBF"), DbfBuilder({{"EVT_ID", 'N', 4}}).addRecord({"1"}).bytes());
  test::writeFile(dir_.file("PCT.CDX"), "older index");
  CTav tav;
  ASSERT_TRUE(tav.setDirectoryPath(source.path()));
  ASSERT_TRUE(tav.loadHandle("EVT"));
  ASSERT_TRUE(tav.loadHandle("PCT"));
  const ChildReport report = runWithFileSizeLimit([&] {
    resetStackTrace("test");
    std::string out = "updated=" + flag(tav.updateHandleRecData("EVT", 0, {"EVT_ID=2"})) + "\n";
    out += "saved=" + flag(tav.saveAsAll(dir_.path())) + "\n";
    bool evt = false;
    tav.isHandleModified("EVT", &evt);
    std::string folder;
    tav.getDirectoryPath(&folder);
    out += "evt=" + flag(evt) + "\nfolder=" + folder + "\n";
    return out + "error=" + getErrStr();
  });
  EXPECT_EQ(report.value("updated"), "1");
  EXPECT_EQ(report.value("saved"), "0");
  EXPECT_EQ(report.value("evt"), "1");  // written there, but still due here
  EXPECT_EQ(report.value("folder"), source.path());
  EXPECT_EQ(report.value("error"), "PCT_CCdx.save: PCT_save: Unable to write file data: File too large");
  EXPECT_EQ(test::readFile(dir_.file("PCT.CDX")), "older index");
  EXPECT_EQ(test::readFile(dir_.file("PCT.DBF")), source_);
  EXPECT_EQ(test::folderEntries(dir_.path()), (Names{"EVT.DBF", "PCT.CDX", "PCT.DBF"}));
  EXPECT_EQ(test::readFile(source.file("PCT.CDX")), largeIndex());
}

}  // namespace
}  // namespace tav
