// libFuzzer entry for the verification and the comparison: every input is a
// table file.  It is written as PCT.DBF into one folder, and with one byte
// changed into a second; the two folders are compared (rows go to a stand-in
// for the application that checks their shape), then the table is opened in
// the session and verified with every type of the session's own, with and
// without repair.  A broken promise aborts, so the fuzzer keeps the input.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/app_calls.h"
#include "base/failure_record.h"
#include "finding.h"
#include "session/compare.h"
#include "session/tav.h"

namespace {

// Counts the rows of each list and checks that every row has ten columns.
class RowCounter : public tav::AppCalls {
 public:
  bool run(const std::vector<std::string>&, int, std::string*) override { return true; }
  bool runWithList(const std::vector<std::string>& words, const std::vector<std::string>& row,
                   int, std::string*) override {
    if (row.size() != 10 || words.size() != 3) tav::fuzz::fail("a row without ten columns");
    ++(words[0] == "one" ? rows1 : rows2);
    return true;
  }
  bool setVar(const std::string&, const std::string&, int) override { return true; }
  long rows1 = 0;
  long rows2 = 0;
};

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string scratchFolder() {
  char pattern[] = "/tmp/tavc-verify-fuzz-XXXXXX";
  const char* made = mkdtemp(pattern);
  if (made == nullptr) tav::fuzz::fail("no scratch folder");
  return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string one = scratchFolder();
  static const std::string two = scratchFolder();
  static RowCounter counter;
  tav::setAppCalls(&counter);
  std::string bytes(reinterpret_cast<const char*>(data), size);
  writeFile(one + "/PCT.DBF", bytes);
  if (!bytes.empty()) bytes[bytes.size() / 2] ^= 1;
  writeFile(two + "/PCT.DBF", bytes);

  counter.rows1 = counter.rows2 = 0;
  tav::resetStackTrace("fuzz");
  tav::CCompare comparison(one, two, "one", "two");
  comparison.run();
  if (counter.rows1 != counter.rows2) tav::fuzz::fail("rows without a partner row");

  tav::CHandle& handles = tav::session().handles();
  handles.removeHandle("all");
  handles.createHandle("PCT");
  if (handles.getDbfHandlePtr("PCT")->populate("PCT", one)) {
    for (int type = 0; type < 4; ++type) tav::session().verify(type, false);
    tav::session().verify(2, true);
    if (tav::session().verify(1, false) == 1 && tav::session().verify(2, false) != 1 &&
        handles.getDbfHandlePtr("PCT")->findField("PCT_ID") >= 0) {
      tav::fuzz::fail("a zero identifier left after the repair");
    }
  }
  handles.removeHandle("all");
  return 0;
}
