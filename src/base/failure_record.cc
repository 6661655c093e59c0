#include "base/failure_record.h"

#include <vector>

namespace tav {
namespace {

// The call trace is entries[0, depth).  Entries above the depth are kept
// with their memory so that the next operation entering at that depth reuses
// it: entering and leaving an operation then allocates nothing, which keeps
// the trace cheap on the hot lookup paths.
struct FailureRecord {
  std::string text;
  bool fatal = false;
  std::vector<std::string> entries;
  std::size_t depth = 0;

  const std::string* innermost() const { return depth == 0 ? nullptr : &entries[depth - 1]; }
  // The entry at the top, emptied, for the caller to fill.
  std::string& push() {
    if (depth == entries.size()) entries.emplace_back();
    std::string& entry = entries[depth++];
    entry.clear();
    return entry;
  }
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
    line = r.innermost() == nullptr ? std::string("NULL") : *r.innermost();
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
  const FailureRecord& r = record();
  std::string out;
  for (std::size_t i = 0; i < r.depth; ++i) {
    out += r.entries[i];
    out += ' ';
  }
  return out;
}

void resetStackTrace(const std::string& commandName) {
  FailureRecord& r = record();
  r.depth = 0;
  r.push() = commandName;
}

std::size_t stackTraceDepth() { return record().depth; }

CallTrace::CallTrace(const std::string& name) : depth_(record().depth) {
  record().push() = name;
}

CallTrace::CallTrace(const char* name) : depth_(record().depth) {
  record().push() = name;
}

CallTrace::CallTrace(const TraceName& name) : depth_(record().depth) {
  std::string& entry = record().push();
  entry.append(name.owner.data(), name.owner.size());
  entry += name.kind;
  entry += name.operation;
}

bool CallTrace::succeed() {
  FailureRecord& r = record();
  if (r.depth > depth_) r.depth = depth_;
  return true;
}

}  // namespace tav
