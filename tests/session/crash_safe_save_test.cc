// A save that fails half-way must not destroy anything.  The failures here
// are real: the save runs in a child process whose files may not grow beyond
// a small size (this works for every user, root included), so the write of
// the new file stops with "File too large" part-way through; or the child is
// killed at a random moment of its save, and the next save clears what it
// left.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
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

// ---- saves killed at random moments ---------------------------------------

// Four tables of about 100 KB; every save rewrites all of them.
const std::vector<std::string> kKillTables = {"CAT", "EVT", "PAR", "PCT"};

std::string killTable(const std::string& code) {
  DbfBuilder table({{code + "_ID", 'N', 8}, {code + "_NAME", 'C', 92}});
  for (int i = 0; i < 1000; ++i) table.addRecord({std::to_string(i + 1), code + " " + std::to_string(i)});
  return table.bytes();
}

// Opens the tables of `folder`, changes every one and saves: the work of the
// child that is killed.  A byte on `saving` says the save begins.
bool editAndSave(const std::string& folder, int saving) {
  CTav tav;
  if (!tav.setDirectoryPath(folder)) return false;
  for (const std::string& code : kKillTables) {
    if (!tav.loadHandle(code) || !tav.updateHandleRecData(code, 500, {code + "_NAME=Changed"})) {
      return false;
    }
  }
  if (::write(saving, "S", 1) != 1) return false;
  return tav.saveAll();
}

// Runs editAndSave in a child and kills it `delay` after its save began,
// unless it has ended by then.  True when the child ended by itself; `took`
// (may be null) is the time from the start of the save to the child's end.
bool killSaveAfter(const std::string& folder, std::chrono::microseconds delay,
                   std::chrono::microseconds* took = nullptr) {
  int channel[2];
  if (::pipe(channel) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    ::_exit(editAndSave(folder, channel[1]) ? 0 : 1);
  }
  ::close(channel[1]);
  char byte = 0;
  const bool saving = ::read(channel[0], &byte, 1) == 1;
  const auto start = std::chrono::steady_clock::now();
  if (saving) {
    // The channel reads as ended when the child's end closes, at its exit.
    struct pollfd ended {channel[0], POLLIN, 0};
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(delay);
    const struct timespec timeout {static_cast<time_t>(seconds.count()),
                                   static_cast<long>((delay - seconds).count() * 1000)};
    if (::ppoll(&ended, 1, &timeout, nullptr) == 0) ::kill(child, SIGKILL);
  }
  int status = 0;
  ::waitpid(child, &status, 0);  // reaped: its process identifier is gone
  if (took != nullptr) {
    *took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
  }
  ::close(channel[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(KilledSaveTest, EveryTableIsOldOrNewAndTheNextSaveLeavesNoTemporaryFile) {
  test::TempDir dir;
  std::map<std::string, std::string> before, after;
  for (const std::string& code : kKillTables) {
    before[code] = killTable(code);
    test::writeFile(dir.file(code + ".DBF"), before[code]);
  }
  // One save left to finish gives the new bytes and how long a save takes.
  std::chrono::microseconds took{};
  ASSERT_TRUE(killSaveAfter(dir.path(), std::chrono::seconds(20), &took));
  for (const std::string& code : kKillTables) after[code] = test::readFile(dir.file(code + ".DBF"));
  ASSERT_NE(before["PCT"], after["PCT"]);

  // Kills at random moments of the save itself, so that most land while
  // its temporary files are being written or put in place.
  std::mt19937 random(20141105);
  std::uniform_int_distribution<long long> moment(0, took.count());
  int leftBehind = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (int round = 0; round < 40 && std::chrono::steady_clock::now() < deadline; ++round) {
    for (const std::string& code : kKillTables) test::writeFile(dir.file(code + ".DBF"), before[code]);
    killSaveAfter(dir.path(), std::chrono::microseconds(moment(random)));
    for (const std::string& code : kKillTables) {
      const std::string bytes = test::readFile(dir.file(code + ".DBF"));
      ASSERT_TRUE(bytes == before[code] || bytes == after[code]) << code << " in round " << round;
    }
    leftBehind += static_cast<int>(test::folderEntries(dir.path()).size() - kKillTables.size());
    // The next save clears what the killed one left.
    CTav tav;
    ASSERT_TRUE(tav.setDirectoryPath(dir.path()));
    ASSERT_TRUE(tav.loadHandle("CAT"));
    ASSERT_TRUE(tav.saveAll());
    EXPECT_EQ(test::folderEntries(dir.path()), (Names{"CAT.DBF", "EVT.DBF", "PAR.DBF", "PCT.DBF"}))
        << "round " << round;
  }
  std::cout << "save of " << took.count() << " us; temporary files left by killed saves and removed: "
            << leftBehind << "\n";
  // Without a kill inside the save the rounds above would have checked nothing.
  EXPECT_GT(leftBehind, 0) << "no kill landed while a save had temporary files";
}

TEST(KilledSaveTest, OnlyTemporaryTableFilesWhoseWriterIsGoneAreRemoved) {
  test::TempDir dir;
  test::writeFile(dir.file("PCT.DBF"), DbfBuilder({{"PCT_ID", 'N', 8}}).addRecord({"1"}).bytes());
  // The process identifier of a child that has ended and been reaped.
  const pid_t gone = ::fork();
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string dead = std::to_string(gone), own = std::to_string(::getpid());
  const Names kept = {"PAGE.html.tmp-" + dead + "-abcdef", "PCT.DBF", "PCT.DBF.tmp-1-abcdef",
                      "PCT.DBF.tmp-abcdef", "PCT.DBF.tmp-" + dead + "-", "notes.txt"};
  const Names removed = {"PCT.DBF.tmp-" + dead + "-abcdef", "pct.cdx.tmp-" + dead + "-x1y2z3",
                         "EVT.DBF.tmp-" + own + "-qwerty"};
  for (const std::string& name : kept) {
    if (name != "PCT.DBF") test::writeFile(dir.file(name), "left");
  }
  for (const std::string& name : removed) test::writeFile(dir.file(name), "left");
  CTav tav;
  ASSERT_TRUE(tav.setDirectoryPath(dir.path()));
  ASSERT_TRUE(tav.loadHandle("PCT"));
  ASSERT_TRUE(tav.saveAll());
  Names expected = kept;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(test::folderEntries(dir.path()), expected);
}

}  // namespace
}  // namespace tav
