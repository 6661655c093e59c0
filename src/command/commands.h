// The command procedures of every family.  Each is named after its Tcl
// command and runs inside the frame of command_frame.h; the command table
// (command_table.cc) binds them to their names, argument counts and rules.
#ifndef TAVC_COMMAND_COMMANDS_H_
#define TAVC_COMMAND_COMMANDS_H_

#include "command/command_frame.h"

namespace tav {

// Program information and the failure record (program_commands.cc).
Outcome getProgramVersion(Call& call);
Outcome getProgramBDate(Call& call);
Outcome tav_getErrStr(Call& call);
Outcome getStackTrace(Call& call);
Outcome closeDebugFile(Call& call);
Outcome tav_getTextWidth(Call& call);

// Session: folders, open, load, save, close, file times (session_commands.cc).
Outcome tav_set_exec(Call& call);
Outcome tav_set_dir(Call& call);
Outcome tav_get_dir(Call& call);
Outcome tav_openDB(Call& call);
Outcome tav_load(Call& call);
Outcome tav_closeDB(Call& call);
Outcome tav_save(Call& call);
Outcome tav_saveAs(Call& call);
Outcome tav_getMtime(Call& call);
Outcome tav_getDbfMtime(Call& call);
Outcome tav_isMod(Call& call);
Outcome tav_anyMod(Call& call);
Outcome tav_cdxExists(Call& call);
Outcome tav_setDbfMod(Call& call);
Outcome tav_updateDbfMtime(Call& call);
Outcome tav_getHandleList(Call& call);

// Database version (version_commands.cc).
Outcome tav_getDBversion(Call& call);
Outcome tav_isValidVersion(Call& call);

// Generic table access (table_commands.cc, record_commands.cc,
// search_commands.cc).
Outcome tav_getNF(Call& call);
Outcome tav_getNR(Call& call);
Outcome tav_getNDR(Call& call);
Outcome tav_getDbfHdate(Call& call);
Outcome tav_getFinfo(Call& call);
Outcome tav_fieldExists(Call& call);
Outcome tav_getFidx(Call& call);
Outcome tav_getRec(Call& call);
Outcome tav_getRecDesc(Call& call);
Outcome tav_getMapRec(Call& call);
Outcome tav_getFallRecs(Call& call);
Outcome tav_clearRecData(Call& call);
Outcome tav_updateRec(Call& call);
Outcome tav_addRec(Call& call);
Outcome tav_delRec(Call& call);
Outcome tav_findFieldByName(Call& call);
Outcome tav_findFieldData(Call& call);
Outcome tav_getRecNo(Call& call);

// The register of persons, couples, teams, clubs and reference data
// (basic_*_commands.cc).

// Person import and the registration map (import_commands.cc).

// The event tree: nodes, status, results, scores, panels, start orders
// (event_*_commands.cc).

// Timelines and combined standings (timeline_commands.cc,
// standings_commands.cc).

// The results site, award pages and deviation report (report_commands.cc).

// Verification, maintenance and comparison (verify_commands.cc,
// maintenance_commands.cc, compare_commands.cc).
Outcome tav_verify(Call& call);
Outcome tav_compareDbf(Call& call);

// Commands whose behaviour is not built yet answer through this procedure.
Outcome pending(Call& call);

}  // namespace tav

#endif  // TAVC_COMMAND_COMMANDS_H_
