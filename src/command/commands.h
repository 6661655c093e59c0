// The command procedures of every family.  Each is named after its Tcl
// command and runs inside the frame of command_frame.h; the command table
// (command_table.cc) binds them to their names, argument counts and rules.
#ifndef TAVC_COMMAND_COMMANDS_H_
#define TAVC_COMMAND_COMMANDS_H_

#include "command/command_frame.h"

namespace tav {

struct PageCounts;

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
Outcome tav_basicPopulate(Call& call);
Outcome tav_basicGetFieldData(Call& call);
Outcome tav_basicSetFieldData(Call& call);
Outcome tav_basicGetPctIdRegNo(Call& call);
Outcome tav_basicGetPctIdName(Call& call);
Outcome tav_basicGetPctNames(Call& call);
Outcome tav_basicGetPctListId(Call& call);
Outcome tav_basicGetPctListClubIdxs(Call& call);
Outcome tav_basicGetPctListRecNo(Call& call);
Outcome tav_basicGetCoupleListId(Call& call);
Outcome tav_basicGetNatNames(Call& call);
Outcome tav_basicGetNatListOmf(Call& call);
Outcome tav_basicGetPctIdClubIds(Call& call);
Outcome tav_basicGetPctPelData(Call& call);
Outcome tav_basicFindPctByRegNo(Call& call);
Outcome tav_basicFindByName(Call& call);
Outcome tav_basicFindById(Call& call);
Outcome tav_basicDuplicatePCT(Call& call);
Outcome tav_basicCalcNames(Call& call);
Outcome tav_basicUpdateAddRec(Call& call);
Outcome tav_cleanAllClubNames(Call& call);

// Person import and the registration map (import_commands.cc).
Outcome tav_basicImportPCT(Call& call);
Outcome tav_basicGetImportImportedList(Call& call);
Outcome tav_basicGetImportDuplicateList(Call& call);
Outcome tav_basicGetImportInvalidList(Call& call);
Outcome tav_basicGenPctRegMap(Call& call);

// The event tree: nodes, status, results, scores, panels, start orders
// (event_*_commands.cc).
Outcome tav_eventPopulate(Call& call);
Outcome tav_eventDumpIdTree(Call& call);
Outcome tav_eventGetFieldData(Call& call);
Outcome tav_eventSetFieldData(Call& call);
Outcome tav_eventGetEvtIdRecNo(Call& call);
Outcome tav_eventGetEvtIdRegNo(Call& call);
Outcome tav_eventGetEvtNames(Call& call);
Outcome tav_eventGetEvtListId(Call& call);
Outcome tav_eventGetEvtListRecNo(Call& call);
Outcome tav_eventGetEvtClubNames(Call& call);
Outcome tav_eventGetEvtClubListId(Call& call);
Outcome tav_eventGetEvtCatIdRecNo(Call& call);
Outcome tav_eventGetEvtCatNames(Call& call);
Outcome tav_eventGetEvtCatListId(Call& call);
Outcome tav_eventGetEvtCatListRecNo(Call& call);
Outcome tav_eventGetEvtCatLevelGenderType(Call& call);
Outcome tav_eventGetEvtCatStatus(Call& call);
Outcome tav_eventGetEvtCatScpIds(Call& call);
Outcome tav_eventGetEvtCatScpNames(Call& call);
Outcome tav_eventGetEvtCatScpListId(Call& call);
Outcome tav_eventGetEvtCatScpListRecNo(Call& call);
Outcome tav_eventGetEvtCatParNames(Call& call);
Outcome tav_eventGetEvtCatScpType(Call& call);
Outcome tav_eventGetEvtCatScpTime(Call& call);
Outcome tav_eventGetEvtCatScpStartOrder(Call& call);
Outcome tav_eventGetEvtCatScpWarmupGroups(Call& call);
Outcome tav_eventGetEvtCatScpOffNames(Call& call);
Outcome tav_eventGetEvtCatScpOffIds(Call& call);
Outcome tav_eventHasEvtCatScpStartOrder(Call& call);
Outcome tav_eventHasEvtCatScpStarted(Call& call);
Outcome tav_eventIsEvtCatScpFinished(Call& call);
Outcome tav_eventGetEvtCatScpStartList(Call& call);
Outcome tav_eventGetEvtCatScpNumSk(Call& call);
Outcome tav_eventGetEvtCatScpCompNames(Call& call);
Outcome tav_eventGetEvtCatScpDanceName(Call& call);
Outcome tav_eventGetEvtCatScpDanceCode(Call& call);
Outcome tav_eventGetEvtCatScpComment(Call& call);
Outcome tav_eventGetEvtCatScpPrfPelData(Call& call);
Outcome tav_eventGetEvtCatScpPrfMusic(Call& call);
Outcome tav_eventGetEvtCatScpVenue(Call& call);
Outcome tav_eventGetEvtVenueList(Call& call);
Outcome tav_eventGetEvtCatScpPrfName(Call& call);
Outcome tav_eventGetEvtCatScpPrfNamesClubs(Call& call);
Outcome tav_eventGetEvtCatScpPrfRegNos(Call& call);
Outcome tav_eventGetEvtCatScpPrfNation(Call& call);
Outcome tav_eventGetEvtCatScpPrfStartNo(Call& call);
Outcome tav_eventGetEvtCatScpPrfWGroupNo(Call& call);

// Timelines and combined standings (timeline_commands.cc,
// standings_commands.cc).
Outcome tav_eventGetEvtCatScpTimeline(Call& call);
Outcome tav_eventGetEvtTlSummary(Call& call);
Outcome tav_eventIsEvtCatScpTimelineSplit(Call& call);
Outcome tav_eventWhichEvtCatScpTimelineFirst(Call& call);
Outcome tav_eventIsEvtCatScpTimelineValid(Call& call);
Outcome tav_eventGetEvtCatStandings(Call& call);

// The results site, award pages and deviation report (report_commands.cc).
Outcome tav_eventEvtHtml(Call& call);
Outcome tav_eventEvtMissPpe(Call& call);
// Sets gTAV(site,written) and gTAV(site,unchanged) to what the pages of the
// last results site or award page did (report_commands.cc).
void setPageCounts(const PageCounts& counts);
// award_commands.cc
Outcome tav_eventEvtDeviation(Call& call);
Outcome tav_eventEvtSaa(Call& call);

// Verification, maintenance and comparison (verify_commands.cc,
// maintenance_commands.cc, compare_commands.cc).
Outcome tav_verify(Call& call);
Outcome tav_compareDbf(Call& call);
Outcome tav_eraseOff(Call& call);
Outcome tav_eraseSk(Call& call);
Outcome tav_eraseAll(Call& call);
Outcome tav_compress(Call& call);
Outcome tav_purge(Call& call);
Outcome tav_updatePFN(Call& call);
Outcome tav_updateNatCodes(Call& call);
Outcome tav_updateDpp(Call& call);
Outcome tav_addOffSbN1(Call& call);

// Commands of the package's own namespace, tavC:: (results_commands.cc):
// results as JSON and the score audit.
Outcome tavC_exportJson(Call& call);
Outcome tavC_audit(Call& call);

}  // namespace tav

#endif  // TAVC_COMMAND_COMMANDS_H_
