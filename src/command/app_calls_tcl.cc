// Runs the application's commands in the current interpreter.  The words are
// converted to UTF-8 and handed over as one list object, which the
// interpreter runs word for word without parsing it as a script: a name such
// as "[exec rm x]" or "{a" reaches the application as that text and nothing
// in it is substituted or evaluated.
#include "command/app_calls_tcl.h"

#include <tcl.h>

#include "base/app_calls.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"

namespace tav {
namespace {

std::string toInterpText(const std::string& bytes, int codePage) {
  if (codePage == kMessageCodePage) return messageToUtf8(bytes);
  return TableText(static_cast<std::uint8_t>(codePage)).toUtf8(bytes);
}

Tcl_Obj* newListOf(const std::vector<std::string>& words, int codePage) {
  Tcl_Obj* list = Tcl_NewListObj(0, nullptr);
  for (const std::string& word : words) {
    const std::string text = toInterpText(word, codePage);
    Tcl_ListObjAppendElement(nullptr, list,
                             Tcl_NewStringObj(text.data(), static_cast<int>(text.size())));
  }
  return list;
}

// Evaluates a list object as one command, word for word.
bool evalList(Tcl_Obj* command, std::string* result) {
  Tcl_Interp* interp = currentInterp();
  Tcl_IncrRefCount(command);
  if (interp == nullptr) {
    Tcl_DecrRefCount(command);
    *result = "no interpreter";
    return false;
  }
  const int code = Tcl_EvalObjEx(interp, command, 0);
  Tcl_DecrRefCount(command);
  *result = Tcl_GetStringResult(interp);
  return code == TCL_OK;
}

class TclAppCalls : public AppCalls {
 public:
  bool run(const std::vector<std::string>& words, int codePage,
           std::string* result) override {
    return evalList(newListOf(words, codePage), result);
  }

  bool runWithList(const std::vector<std::string>& words,
                   const std::vector<std::string>& elements, int codePage,
                   std::string* result) override {
    Tcl_Obj* command = newListOf(words, codePage);
    Tcl_ListObjAppendElement(nullptr, command, newListOf(elements, codePage));
    return evalList(command, result);
  }

  bool setVar(const std::string& name, const std::string& value, int codePage) override {
    Tcl_Interp* interp = currentInterp();
    if (interp == nullptr) return false;
    const std::string text = toInterpText(value, codePage);
    return Tcl_SetVar(interp, name.c_str(), text.c_str(), TCL_GLOBAL_ONLY) != nullptr;
  }
};

TclAppCalls theTclAppCalls;

}  // namespace

void installAppCalls() { setAppCalls(&theTclAppCalls); }

}  // namespace tav
