// Calls from the library into the application that loaded it: running one of
// the application's commands (progress lines of the verification, rows of the
// comparison, `update idletasks`) and setting one of its variables.
//
// The layers below the Tcl boundary reach the application only through here;
// the command layer installs the interpreter behind it (AppCalls).  A command
// is given as its words, never as script text: the command layer quotes the
// words as a proper Tcl list, so each word reaches the application exactly as
// given and text read from a database is never evaluated.
//
// Words are library bytes: text read from a table stays in that table's code
// page, and the command layer converts it for the interpreter.  `codePage`
// names the language-driver byte of the table the text comes from;
// kMessageCodePage means "the code page of the running command's messages".
#ifndef TAVC_BASE_APP_CALLS_H_
#define TAVC_BASE_APP_CALLS_H_

#include <string>
#include <vector>

namespace tav {

constexpr int kMessageCodePage = -1;

// The interpreter side, implemented by the command layer.
class AppCalls {
 public:
  virtual ~AppCalls() = default;
  // Runs the command made of `words`; `result` receives the interpreter's
  // result (its message on failure).
  virtual bool run(const std::vector<std::string>& words, int codePage,
                   std::string* result) = 0;
  // Runs the command made of `words` followed by one more word: the Tcl list
  // of `elements` (a row for a list widget's "insert end").
  virtual bool runWithList(const std::vector<std::string>& words,
                           const std::vector<std::string>& elements, int codePage,
                           std::string* result) = 0;
  // Sets the global variable `name` (an array element reads "arr(elem)").
  virtual bool setVar(const std::string& name, const std::string& value,
                      int codePage) = 0;
};

// Installs the interpreter side (not owned; it lives as long as the library).
void setAppCalls(AppCalls* calls);

// Runs one of the application's commands.  A failure is appended to the
// kept error text (findings gathered so far stay), with the caller's name in
// front: "execTclCmd: Tcl_Eval: " and the interpreter's message.
bool callApp(const std::vector<std::string>& words, int codePage = kMessageCodePage);

// Runs one of the application's commands whose last word is a Tcl list made
// of `elements`; failures as for callApp.
bool callAppWithList(const std::vector<std::string>& words,
                     const std::vector<std::string>& elements,
                     int codePage = kMessageCodePage);

// Sets one of the application's global variables; a failure is appended to
// the kept error text like a failing call.
bool setAppVar(const std::string& name, const std::string& value,
               int codePage = kMessageCodePage);

}  // namespace tav

#endif  // TAVC_BASE_APP_CALLS_H_
