#include "command/failure_record.h"

#include <vector>

namespace tav {
namespace {

struct FailureRecord {
  std::string text;
  bool fatal = false;
  std::vector<std::string> trace;
};

// Function-local so that it exists before any static object uses it.
FailureRecord& record() {
  static FailureRecord instance;
  return instance;
}

}  // namespace

void setErrStr(bool prefixWithCaller, const std::string& message, bool append,
               bool fatal) {
  FailureRecord& r = record();
  std::string line;
  if (prefixWithCaller) {
    line = r.trace.empty() ? std::string("NULL") : r.trace.back();
    line += ": ";
  }
  line += message;
  if (append) {
    if (fatal) r.fatal = true;
    if (!r.text.empty()) r.text += '\n';
    r.text += line;
  } else {
    r.text = std::move(line);
    r.fatal = fatal;
  }
}

void clearErrStr() { record().text.clear(); }

std::string getErrStr() { return record().text; }

bool isErrFatal() { return record().fatal; }

std::string getStackTrace() {
  std::string out;
  for (const std::string& entry : record().trace) {
    out += entry;
    out += ' ';
  }
  return out;
}

void resetStackTrace(const std::string& commandName) {
  std::vector<std::string>& trace = record().trace;
  trace.clear();
  trace.push_back(commandName);
}

std::size_t stackTraceDepth() { return record().trace.size(); }

CallTrace::CallTrace(const std::string& name) : depth_(record().trace.size()) {
  record().trace.push_back(name);
}

bool CallTrace::succeed() {
  std::vector<std::string>& trace = record().trace;
  if (trace.size() > depth_) trace.resize(depth_);
  return true;
}

}  // namespace tav
