// The entry points of the loadable library.
//
//  Tav_Init   binds the Tcl and Tk stub tables and registers every command;
//             it is what `load libtavC.so Tav` calls in a Tk application.
//  Tavc_Init  binds only the Tcl stubs, for servers and batch jobs without a
//             display; it is what `load libtavC.so` picks by default.  There
//             tav_getTextWidth answers that Tk is not loaded.
//
// Neither provides a package: pkgIndex.tcl does that, choosing the entry
// point by whether the interpreter has Tk.  DLLEXPORT (from tcl.h) exports
// them from a Windows DLL; elsewhere every global symbol is visible anyway.
#include <tcl.h>
#include <tk.h>

#include "command/command_table.h"

extern "C" {

DLLEXPORT int Tav_Init(Tcl_Interp* interp) {
  if (Tcl_InitStubs(interp, "8.5", 0) == nullptr) return TCL_ERROR;
  if (Tk_InitStubs(interp, "8.5", 0) == nullptr) return TCL_ERROR;
  tav::registerCommands(interp);
  return TCL_OK;
}

DLLEXPORT int Tavc_Init(Tcl_Interp* interp) {
  if (Tcl_InitStubs(interp, "8.5", 0) == nullptr) return TCL_ERROR;
  tav::registerCommands(interp);
  return TCL_OK;
}

}  // extern "C"
