// Registration of every command of the library with an interpreter.
#ifndef TAVC_COMMAND_COMMAND_TABLE_H_
#define TAVC_COMMAND_COMMAND_TABLE_H_

#include <cstddef>

#include <tcl.h>

#include "command/command_frame.h"

namespace tav {

constexpr std::size_t kCommandCount = 136;

// Row `index` of the command table, in registration order.
const CommandEntry& commandEntry(std::size_t index);

// Creates every command in `interp`, in table order, without client data,
// and then the commands of the package's namespace (tavC::exportJson,
// tavC::audit).
void registerCommands(Tcl_Interp* interp);

}  // namespace tav

#endif  // TAVC_COMMAND_COMMAND_TABLE_H_
