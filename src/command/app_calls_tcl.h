// The interpreter side of the library's calls into the application
// (base/app_calls.h), installed when the commands are registered.
#ifndef TAVC_COMMAND_APP_CALLS_TCL_H_
#define TAVC_COMMAND_APP_CALLS_TCL_H_

namespace tav {

// Makes callApp and setAppVar work through the current interpreter.
void installAppCalls();

}  // namespace tav

#endif  // TAVC_COMMAND_APP_CALLS_TCL_H_
