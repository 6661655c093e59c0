// DbfSweep reads untrusted bytes as a table file and exercises everything the
// rest of the library may do with a table it has loaded: every read operation
// over every record and field, the searches, the self-check, and a save to a
// second folder that must read back and save again to the same bytes.
//
// It is shared by the fuzzer and by the unit test that replays the fuzzing
// corpus, so that every file the fuzzer ever kept is checked on every build.
// A crash, a sanitizer report or a broken promise (reported in the result)
// is a finding.
#ifndef TAVC_FUZZ_DBF_SWEEP_H_
#define TAVC_FUZZ_DBF_SWEEP_H_

#include <string>

namespace tav {

struct SweepResult {
  bool loaded = false;  // the reader accepted the bytes
  bool sound = true;    // every promise held
  std::string finding;  // what did not hold, when !sound
};

class DbfSweep {
 public:
  // Creates two scratch folders (on a memory file system when there is one,
  // so that the saves' fsync calls cost nothing).
  DbfSweep();
  ~DbfSweep();
  DbfSweep(const DbfSweep&) = delete;
  DbfSweep& operator=(const DbfSweep&) = delete;

  bool ready() const { return !input_.empty() && !output_.empty(); }

  SweepResult run(const std::string& bytes);

 private:
  std::string input_;   // where the bytes are written as a table file
  std::string output_;  // where the loaded table is saved
};

}  // namespace tav

#endif  // TAVC_FUZZ_DBF_SWEEP_H_
