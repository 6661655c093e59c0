// Shared operations for talking back to the Tcl interpreter: the current
// interpreter, script evaluation, setting variables, building and splitting
// Tcl lists, and formatting booleans.
//
// Library code never receives an interpreter: each command records its
// calling interpreter as the current one and these helpers use it.
#ifndef TAVC_COMMAND_INTERP_HELPERS_H_
#define TAVC_COMMAND_INTERP_HELPERS_H_

#include <string>
#include <vector>

#include <tcl.h>

namespace tav {

void setCurrentInterp(Tcl_Interp* interp);
Tcl_Interp* currentInterp();

// Evaluates `script` in the current interpreter and copies its result into
// `result`.  On failure records "execTclCmd: Tcl_Eval: " and the
// interpreter's message (fatal) and returns false.
bool execTclCmd(const std::string& script, std::string* result);

// Sets a scalar or array-element variable to the decimal text of `value`.
bool setTclVarInt(const std::string& name, int value);

// "TF", "Tf", "YN", "Yn" and "10" styles; any other style gives "".
std::string boolToStr(bool value, const std::string& style);

// A properly quoted Tcl list of the strings (the interpreter's merge).
std::string listToTcl(const std::vector<std::string>& strings);
std::string intListToTcl(const std::vector<int>& integers);

// Splits a Tcl list.  False, leaving the output unchanged, when the text is
// not a well-formed list.
bool tclToList(const std::string& text, std::vector<std::string>* strings);
// Splits a Tcl list and converts each element as a C decimal integer
// (no leading digits gives 0).
bool tclToIntList(const std::string& text, std::vector<int>* integers);

}  // namespace tav

#endif  // TAVC_COMMAND_INTERP_HELPERS_H_
