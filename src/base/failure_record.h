// The process-wide failure record: the kept error text, its severity mark and
// the call trace.
//
// Every library operation reports a failure by recording a message here and
// returning false (or a negative number); nothing is thrown across the Tcl
// boundary.  Operations enter their name on the call trace when they start and
// leave it when they succeed, so after a failed command the trace reads from
// the command down to the operation that failed.
//
// The record is deliberately global and unguarded: the library runs on the
// interpreter's thread only and commands are not re-entrant.
#ifndef TAVC_BASE_FAILURE_RECORD_H_
#define TAVC_BASE_FAILURE_RECORD_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace tav {

// Records a failure or warning.
//  prefixWithCaller: put the innermost trace entry and ": " in front
//                    ("NULL: " when the trace is empty).
//  append:           add as a new line; a fatal line sets the mark, a warning
//                    never clears it.  Otherwise the text replaces the kept
//                    text and the mark becomes `fatal`.
void setErrStr(bool prefixWithCaller, const std::string& message, bool append,
               bool fatal);

// Hard failure: caller prefix, replacing, fatal.  The usual way to fail.
inline bool failWith(const std::string& message) {
  setErrStr(true, message, false, true);
  return false;
}

// Empties the kept error text; the severity mark is left as it is.
void clearErrStr();
std::string getErrStr();
bool isErrFatal();

// The call trace as one string: every entry followed by one blank, bottom
// entry first.
std::string getStackTrace();

// Empties the call trace and enters `commandName` as its bottom entry.
void resetStackTrace(const std::string& commandName);

// Number of entries on the call trace (for tests and diagnostics).
std::size_t stackTraceDepth();

// A trace name in parts, joined only when it is entered, so that entering a
// name such as "PCT_CDbf.getRecNo" builds no temporary string.
struct TraceName {
  std::string_view owner;  // "PCT"
  const char* kind;        // "_CDbf."
  const char* operation;   // "getRecNo"
};

// One operation's entry on the call trace.  Construction enters the name;
// `succeed()` removes it again (together with anything a tolerated inner
// failure left above it) and returns true.  An entry that is never released
// stays in place, so the trace names the operation that failed.
class CallTrace {
 public:
  explicit CallTrace(const std::string& name);
  explicit CallTrace(const char* name);
  explicit CallTrace(const TraceName& name);
  CallTrace(const CallTrace&) = delete;
  CallTrace& operator=(const CallTrace&) = delete;

  // Leaves the trace as it was before this operation started; returns true.
  bool succeed();

 private:
  std::size_t depth_;  // trace depth before this entry was pushed
};

}  // namespace tav

#endif  // TAVC_BASE_FAILURE_RECORD_H_
