#include "command/command_frame.h"

#include <exception>

#include "base/failure_record.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"

namespace tav {

Call::Call(const CommandEntry& entry, Tcl_Interp* interp, int argc, const char** argv)
    : entry_(entry), interp_(interp), argc_(argc), argv_(argv) {}

bool Call::intArg(int i, int* value) {
  return Tcl_GetInt(interp_, argv_[i], value) == TCL_OK;
}

bool Call::listArg(int i, std::vector<std::string>* values) {
  return tclToList(argv_[i], values);
}

bool Call::intListArg(int i, std::vector<int>* values) {
  return tclToIntList(argv_[i], values);
}

TableText Call::tableText(const std::string& handle) {
  TableText text = TableText::forHandle(handle);
  setMessageCodePage(text.codePage());
  return text;
}

void Call::setResult(const std::string& value) {
  Tcl_SetResult(interp_, const_cast<char*>(value.c_str()), TCL_VOLATILE);
}

Outcome Call::ok(const std::string& value) {
  setResult(value);
  code_ = TCL_OK;
  return Outcome::kOk;
}

Outcome Call::answer(const std::string& value, int code) {
  setResult(value);
  code_ = code;
  return Outcome::kDone;
}

std::string usageMessage(const CommandEntry& entry) {
  if (entry.wholeUsage != nullptr) return entry.wholeUsage;
  return std::string(entry.name) + ": Invalid number of args. Args: " + entry.argsText;
}

namespace {

std::string errorResult() {
  return "Error: " + messageToUtf8(getErrStr()) + "\n" + getStackTrace();
}

// Turns a failed operation into the command's answer.
void answerFailure(Call& call) {
  switch (call.entry().rule) {
    case FailureRule::kZero:
      call.answer("0", TCL_OK);
      break;
    case FailureRule::kKeep:
      call.answer(messageToUtf8(getErrStr()), TCL_OK);
      break;
    case FailureRule::kReport:
      if (isErrFatal()) call.answer(errorResult(), TCL_ERROR); else call.answer("", TCL_OK);
      break;
    default:
      call.answer(errorResult(), TCL_ERROR);
      break;
  }
}

bool argCountFits(const CommandEntry& entry, int argc) {
  if (entry.minArgs == kAnyArgs) return true;
  return argc - 1 >= entry.minArgs && argc - 1 <= entry.maxArgs;
}

}  // namespace

int runCommand(const CommandEntry& entry, Tcl_Interp* interp, int argc, const char** argv) {
  Call call(entry, interp, argc, argv);
  if (entry.frame == FrameKind::kBare) {
    entry.body(call);
    return call.code();
  }
  if (entry.frame != FrameKind::kKeepError) {
    clearErrStr();
    setMessageCodePage(0);
  }
  if (entry.frame != FrameKind::kKeepTrace) resetStackTrace(entry.name);
  if (!argCountFits(entry, argc)) {
    call.answer(usageMessage(entry), TCL_ERROR);
    return call.code();
  }
  setCurrentInterp(interp);
  try {
    if (entry.body(call) == Outcome::kFailed) answerFailure(call);
  } catch (const std::exception& e) {
    call.answer("Std Fatal: " + getStackTrace() + e.what() + "\n", TCL_ERROR);
  } catch (...) {
    call.answer("... Fatal: " + getStackTrace(), TCL_ERROR);
  }
  return call.code();
}

}  // namespace tav
