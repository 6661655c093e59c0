// Helpers shared by the C++ unit tests: temporary folders, whole-file reads
// and minimal database folders built with DbfBuilder.
#ifndef TAVC_TESTS_SUPPORT_TEST_SUPPORT_H_
#define TAVC_TESTS_SUPPORT_TEST_SUPPORT_H_

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "dbf/dbf_builder.h"

namespace tav {
namespace test {

// A fresh folder under the system temp dir, removed with its content.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name
  std::string file(const std::string& name) const;

 private:
  std::string path_;
};

// True when the units run on Windows, whose file system answers some requests
// differently: it has no permission bits, and it says "Permission denied"
// where POSIX names the kind of file in the way.
bool onWindows();
// `posix` on POSIX systems, `windows` on Windows: the system's reason text
// in an expected message.
std::string systemText(const std::string& posix, const std::string& windows);
// The path with every "/" turned into "\" (a folder as a Windows user
// types it).
std::string withBackslashes(std::string path);

std::string readFile(const std::string& path);
// The names in a folder, sorted.
std::vector<std::string> folderEntries(const std::string& folder);
void writeFile(const std::string& path, const std::string& bytes);

// Success when the kept error text contains `message`; the failure shows
// the whole text.
::testing::AssertionResult keptErrorHas(const std::string& message);

// The tables a database of `version` opens, the configuration table first.
std::vector<std::string> databaseTables(int version);

// Writes CFG (holding `version`) and every table of that version with one
// identifier field and no records; `tables` replaces the default table of a
// handle, and handles in `omit` are not written.
void writeDatabase(const std::string& folder, int version,
                   const std::map<std::string, DbfBuilder>& tables = {},
                   const std::set<std::string>& omit = {});

}  // namespace test
}  // namespace tav

#endif  // TAVC_TESTS_SUPPORT_TEST_SUPPORT_H_
