#include "command/interp_helpers.h"

#include "base/failure_record.h"
#include "dbf/field_text.h"

namespace tav {
namespace {

Tcl_Interp* theCurrentInterp = nullptr;

// Owns the argv array that Tcl_SplitList allocates.
struct SplitList {
  int count = 0;
  const char** items = nullptr;
  ~SplitList() { if (items != nullptr) Tcl_Free(reinterpret_cast<char*>(items)); }
};

bool split(const std::string& text, SplitList* list) {
  // The message of a malformed list stays in the interpreter's result.
  return Tcl_SplitList(theCurrentInterp, text.c_str(), &list->count, &list->items) == TCL_OK;
}

}  // namespace

void setCurrentInterp(Tcl_Interp* interp) { theCurrentInterp = interp; }

Tcl_Interp* currentInterp() { return theCurrentInterp; }

// The failure is recorded under the caller's trace entry: the message names
// the operation that wanted the script evaluated.
bool execTclCmd(const std::string& script, std::string* result) {
  if (theCurrentInterp == nullptr) {
    return failWith("execTclCmd: Tcl_Eval: no interpreter");
  }
  const int code = Tcl_Eval(theCurrentInterp, script.c_str());
  *result = Tcl_GetStringResult(theCurrentInterp);
  if (code != TCL_OK) return failWith("execTclCmd: Tcl_Eval: " + *result);
  return true;
}

bool setTclVarInt(const std::string& name, int value) {
  if (theCurrentInterp == nullptr) return false;
  return Tcl_SetVar(theCurrentInterp, name.c_str(), std::to_string(value).c_str(), 0) !=
         nullptr;
}

std::string boolToStr(bool value, const std::string& style) {
  if (style == "TF") return value ? "TRUE" : "FALSE";
  if (style == "Tf") return value ? "True" : "False";
  if (style == "YN") return value ? "YES" : "NO";
  if (style == "Yn") return value ? "Yes" : "No";
  if (style == "10") return value ? "1" : "0";
  return "";
}

std::string listToTcl(const std::vector<std::string>& strings) {
  if (strings.empty()) return "";
  std::vector<const char*> argv;
  argv.reserve(strings.size());
  for (const std::string& s : strings) argv.push_back(s.c_str());
  char* merged = Tcl_Merge(static_cast<int>(argv.size()), argv.data());
  std::string out(merged);
  Tcl_Free(merged);
  return out;
}

std::string intListToTcl(const std::vector<int>& integers) {
  std::vector<std::string> strings;
  strings.reserve(integers.size());
  for (int i : integers) strings.push_back(std::to_string(i));
  return listToTcl(strings);
}

bool tclToList(const std::string& text, std::vector<std::string>* strings) {
  SplitList list;
  if (!split(text, &list)) return false;
  strings->assign(list.items, list.items + list.count);
  return true;
}

bool tclToIntList(const std::string& text, std::vector<int>* integers) {
  SplitList list;
  if (!split(text, &list)) return false;
  integers->clear();
  for (int i = 0; i < list.count; ++i) {
    integers->push_back(static_cast<int>(decimalValue(list.items[i])));
  }
  return true;
}

}  // namespace tav
