// The frame every command procedure runs in.
//
// A command is one row of the command table (CommandEntry): its name, how many
// words it takes, its usage text, how it answers a failure, and its body.
// `runCommand` does everything that is the same for all commands - resetting
// the failure record and the call trace, checking the argument count,
// recording the current interpreter, catching anything thrown - and the body
// does the rest through a Call: it reads its arguments, calls one session
// operation and reports the outcome.  Results are set in one place, here.
#ifndef TAVC_COMMAND_COMMAND_FRAME_H_
#define TAVC_COMMAND_COMMAND_FRAME_H_

#include <string>
#include <vector>

#include <tcl.h>

#include "command/table_text.h"

namespace tav {

// How a command answers when its library operation fails.
enum class FailureRule {
  kError,    // E: "Error: " + kept text + newline + call trace, code 1
  kZero,     // Z: "0", code 0; the reason stays for tav_getErrStr
  kKeep,     // K: the kept text itself, code 0
  kReport,   // R: as E when the failure is fatal, else an empty result, code 0
  kSpecial,  // S: the command answers for itself
  kNone,     // -: the command cannot fail
};

// Which steps of the frame a command runs.
enum class FrameKind {
  kStandard,   // clear the error text, reset the trace, check the count
  kBare,       // nothing: version and build-date queries
  kKeepError,  // reset the trace and check the count, keep the error text
  kKeepTrace,  // clear the error text, keep the trace of the previous command
};

// What a body reports to the frame.
enum class Outcome {
  kOk,      // the result is set; code 0
  kFailed,  // the library operation failed; answer by the command's rule
  kDone,    // the body set the result and the code itself
};

class Call;
using CommandBody = Outcome (*)(Call& call);

constexpr int kAnyArgs = -1;

struct CommandEntry {
  const char* name;
  int minArgs;           // words after the name; kAnyArgs for no check
  int maxArgs;
  const char* argsText;  // the text after "Args: " in the usage message
  FailureRule rule;
  CommandBody body;
  FrameKind frame = FrameKind::kStandard;
  const char* wholeUsage = nullptr;  // a usage message that breaks the pattern
};

// One running command: its arguments and its answer.
class Call {
 public:
  Call(const CommandEntry& entry, Tcl_Interp* interp, int argc, const char** argv);

  const CommandEntry& entry() const { return entry_; }
  Tcl_Interp* interp() const { return interp_; }
  // Number of words after the command name.
  int count() const { return argc_ - 1; }
  // Word `i` after the command name, counted from 1, as given (UTF-8).
  std::string arg(int i) const { return argv_[i]; }

  // Argument conversions.  On failure the interpreter's own message is the
  // result and the body returns `done()`.
  bool intArg(int i, int* value);
  bool listArg(int i, std::vector<std::string>* values);
  bool intListArg(int i, std::vector<int>* values);

  // The text conversion of the table `handle`; messages of this command are
  // read in that table's code page too.
  TableText tableText(const std::string& handle);

  Outcome ok(const std::string& value);
  Outcome ok(long long value) { return ok(std::to_string(value)); }
  Outcome failed() { return Outcome::kFailed; }
  // An answer with an explicit code (messages of the command's own).
  Outcome answer(const std::string& value, int code);
  // The result the interpreter already holds, code 1.
  Outcome done() { code_ = TCL_ERROR; return Outcome::kDone; }

  int code() const { return code_; }
  void setResult(const std::string& value);

 private:
  const CommandEntry& entry_;
  Tcl_Interp* interp_;
  int argc_;
  const char** argv_;
  int code_ = TCL_OK;
};

// Runs one command by the frame.  Returns the Tcl completion code.
int runCommand(const CommandEntry& entry, Tcl_Interp* interp, int argc, const char** argv);

// The usage message of a command.
std::string usageMessage(const CommandEntry& entry);

}  // namespace tav

#endif  // TAVC_COMMAND_COMMAND_FRAME_H_
