// The command table: every Tcl command of the library, in registration order,
// with the number of words it takes after its name, its usage text, how it
// answers a failure and the procedure that runs it.
//
// Rows whose procedure is `pending` are registered with their argument check
// but their behaviour is not built yet; they answer an error saying so.
#include "command/command_table.h"

#include <array>
#include <utility>

#include "command/app_calls_tcl.h"
#include "command/commands.h"

namespace tav {
namespace {

const CommandEntry kCommands[] = {
    {"getProgramVersion", kAnyArgs, kAnyArgs, "", FailureRule::kNone, getProgramVersion, FrameKind::kBare},
    {"getProgramBDate", kAnyArgs, kAnyArgs, "", FailureRule::kNone, getProgramBDate, FrameKind::kBare},
    {"tav_compareDbf", 4, 4, "database1 database2 listBox1 listBox2", FailureRule::kError, tav_compareDbf},
    {"tav_set_exec", 1, 1, "directory", FailureRule::kZero, tav_set_exec},
    {"tav_set_dir", 1, 1, "directory", FailureRule::kZero, tav_set_dir},
    {"tav_get_dir", 0, 0, "none", FailureRule::kNone, tav_get_dir},
    {"tav_openDB", 1, 1, "folder", FailureRule::kZero, tav_openDB},
    {"tav_load", 1, 1, "handle", FailureRule::kKeep, tav_load},
    {"tav_getDBversion", 0, 0, "none", FailureRule::kZero, tav_getDBversion},
    {"tav_isValidVersion", 0, 0, "none", FailureRule::kError, tav_isValidVersion},
    {"tav_closeDB", 0, 0, "none", FailureRule::kNone, tav_closeDB},
    {"tav_save", 0, 0, "none", FailureRule::kKeep, tav_save},
    {"tav_saveAs", 1, 1, "dir", FailureRule::kKeep, tav_saveAs},
    {"tav_getMtime", 0, 0, "none", FailureRule::kError, tav_getMtime},
    {"tav_getDbfMtime", 1, 1, "handle", FailureRule::kError, tav_getDbfMtime},
    {"tav_isMod", 1, 1, "handle", FailureRule::kError, tav_isMod},
    {"tav_anyMod", 0, 0, "none", FailureRule::kError, tav_anyMod},
    {"tav_cdxExists", 1, 1, "handle", FailureRule::kError, tav_cdxExists},
    {"tav_setDbfMod", 1, 1, "handle", FailureRule::kError, tav_setDbfMod},
    {"tav_updateDbfMtime", 1, 1, "handle", FailureRule::kError, tav_updateDbfMtime},
    {"tav_getHandleList", 0, 0, "none", FailureRule::kNone, tav_getHandleList},
    {"tav_getNF", 1, 1, "handle", FailureRule::kError, tav_getNF},
    {"tav_getNR", 1, 1, "handle", FailureRule::kError, tav_getNR},
    {"tav_getNDR", 1, 1, "handle", FailureRule::kError, tav_getNDR},
    {"tav_getDbfHdate", 1, 1, "handle", FailureRule::kError, tav_getDbfHdate},
    {"tav_getFinfo", 2, 2, "handle fieldNumber", FailureRule::kError, tav_getFinfo},
    {"tav_fieldExists", 2, 2, "", FailureRule::kError, tav_fieldExists, FrameKind::kStandard, "tav_fieldExists:Invalid number of args. Args: handle fieldName"},
    {"tav_getFidx", 2, 2, "handle fieldName", FailureRule::kError, tav_getFidx},
    {"tav_getRec", 4, 4, "handle recNo fieldNames flag", FailureRule::kError, tav_getRec},
    {"tav_getRecDesc", 2, 2, "handle recNo", FailureRule::kError, tav_getRecDesc},
    {"tav_getMapRec", 2, 2, "handle recNo", FailureRule::kError, tav_getMapRec},
    {"tav_getFallRecs", 6, 6, "handle fieldNames fieldQualifiers fieldSortName ignoreCase allowNullFieldQualValue", FailureRule::kError, tav_getFallRecs},
    {"tav_clearRecData", 1, 1, "handle", FailureRule::kError, tav_clearRecData},
    {"tav_updateRec", 3, 3, "handle recNo fieldNames=fieldValues", FailureRule::kError, tav_updateRec},
    {"tav_addRec", 3, 3, "handle rtnType fieldNames=fieldValues", FailureRule::kError, tav_addRec},
    {"tav_delRec", 2, 2, "handle recNo", FailureRule::kError, tav_delRec},
    {"tav_findFieldByName", 1, 1, "fieldName", FailureRule::kError, tav_findFieldByName},
    {"tav_findFieldData", 1, 1, "fieldData", FailureRule::kError, tav_findFieldData},
    {"tav_getRecNo", 3, 3, "handle fieldQualifier ignoreCase", FailureRule::kError, tav_getRecNo},
    {"tav_eraseOff", 0, 0, "none", FailureRule::kError, pending},
    {"tav_eraseSk", 0, 0, "none", FailureRule::kError, pending},
    {"tav_eraseAll", 0, 0, "none", FailureRule::kError, pending},
    {"tav_updateDpp", 3, 3, "evtId catId Value", FailureRule::kError, pending},
    {"tav_updatePFN", 1, 1, "flag", FailureRule::kError, pending},
    {"tav_addOffSbN1", 0, 0, "None", FailureRule::kError, pending},
    {"tav_compress", 0, 0, "none", FailureRule::kZero, pending},
    {"tav_purge", 0, 0, "none", FailureRule::kError, pending},
    {"tav_verify", 2, 2, "type repair", FailureRule::kSpecial, tav_verify},
    {"tav_updateNatCodes", 3, 3, "evtId pctId code", FailureRule::kError, pending},
    {"tav_cleanAllClubNames", 0, 0, "None", FailureRule::kError, pending},
    {"tav_getTextWidth", 3, 3, "window font text", FailureRule::kSpecial, tav_getTextWidth},
    {"tav_getErrStr", 0, 0, "none", FailureRule::kNone, tav_getErrStr, FrameKind::kKeepError},
    {"closeDebugFile", kAnyArgs, kAnyArgs, "", FailureRule::kNone, closeDebugFile},
    {"getStackTrace", kAnyArgs, kAnyArgs, "", FailureRule::kNone, getStackTrace, FrameKind::kKeepTrace},
    {"tav_basicPopulate", 1, 1, "type", FailureRule::kError, pending},
    {"tav_basicGetFieldData", 2, 2, "", FailureRule::kError, pending, FrameKind::kStandard, "basicGetFieldData: Invalid number of args. Args: pctId fieldList"},
    {"tav_basicSetFieldData", 2, 2, "", FailureRule::kError, pending, FrameKind::kStandard, "basicSetFieldData: Invalid number of args. Args: type pctId"},
    {"tav_basicGetPctIdRegNo", 1, 1, "pctId", FailureRule::kError, pending},
    {"tav_basicGetPctIdName", 1, 2, "pctId [field]", FailureRule::kError, pending},
    {"tav_basicGetPctNames", 1, 1, "type", FailureRule::kError, pending},
    {"tav_basicGetPctListId", 2, 2, "type index", FailureRule::kError, pending},
    {"tav_basicGetPctListClubIdxs", 2, 2, "type index", FailureRule::kError, pending},
    {"tav_basicGetPctListRecNo", 2, 2, "type index", FailureRule::kError, pending},
    {"tav_basicGetCoupleListId", 2, 2, "id1 id2", FailureRule::kError, pending},
    {"tav_basicGetNatNames", 0, 0, "None", FailureRule::kError, pending},
    {"tav_basicGetNatListOmf", 1, 1, "", FailureRule::kError, pending, FrameKind::kStandard, "tav_basicGetNatListOmf: Invalid number of args. Args: index"},
    {"tav_basicGetPctIdClubIds", 1, 1, "pctId", FailureRule::kError, pending},
    {"tav_basicGetPctPelData", 1, 1, "pctId", FailureRule::kError, pending},
    {"tav_basicFindPctByRegNo", 2, 2, "type regNo", FailureRule::kError, pending},
    {"tav_basicFindByName", 3, 3, "type gName fName", FailureRule::kError, pending},
    {"tav_basicFindById", 4, 4, "type id1 id2 excludeId", FailureRule::kError, pending},
    {"tav_basicDuplicatePCT", 1, 1, "type", FailureRule::kError, pending},
    {"tav_basicCalcNames", 4, 4, "type addPFN addSN1 capFName", FailureRule::kError, pending},
    {"tav_basicUpdateAddRec", 4, 4, "handle record id fieldNames=fieldValues", FailureRule::kError, pending},
    {"tav_basicImportPCT", 11, 11, "type file capFName defGender defNation clbNameConvBits addPFN addSN1 updDupBits dupIncClub eraseFirst", FailureRule::kError, pending},
    {"tav_basicGetImportImportedList", 1, 1, "stringWtab", FailureRule::kError, pending},
    {"tav_basicGetImportDuplicateList", 1, 1, "stringWtab", FailureRule::kError, pending},
    {"tav_basicGetImportInvalidList", 0, 0, "none", FailureRule::kError, pending},
    {"tav_basicGenPctRegMap", 1, 1, "", FailureRule::kReport, pending, FrameKind::kStandard, "tav_basicGenPctRegMap:Invalid number of args. Args: path"},
    {"tav_eventPopulate", 0, 0, "none", FailureRule::kError, pending},
    {"tav_eventDumpIdTree", 0, 0, "none", FailureRule::kError, pending},
    {"tav_eventGetFieldData", 6, 6, "", FailureRule::kError, pending, FrameKind::kStandard, "eventGetFieldData: Invalid number of args. Args: evtId catId parId scpId offIdx fieldList"},
    {"tav_eventSetFieldData", 5, 5, "", FailureRule::kError, pending, FrameKind::kStandard, "eventSetFieldData: Invalid number of args. Args: evtId catId parId scpId offIdx"},
    {"tav_eventGetEvtIdRecNo", 1, 1, "evtId", FailureRule::kError, pending},
    {"tav_eventGetEvtIdRegNo", 1, 1, "evtId", FailureRule::kError, pending},
    {"tav_eventGetEvtNames", 0, 0, "none", FailureRule::kError, pending},
    {"tav_eventGetEvtListId", 1, 1, "index", FailureRule::kError, pending},
    {"tav_eventGetEvtListRecNo", 1, 1, "index", FailureRule::kError, pending},
    {"tav_eventGetEvtClubNames", 1, 1, "evtId", FailureRule::kError, pending},
    {"tav_eventGetEvtClubListId", 2, 2, "evtId index", FailureRule::kError, pending},
    {"tav_eventEvtDeviation", 11, 11, "", FailureRule::kReport, pending, FrameKind::kStandard, "tav_eventEvtDeviation:Invalid number of args. Args: pathName evtId catIdList deviation sortByPlace expandCat expandSeg expandSk expandEl showAllGoe"},
    {"tav_eventEvtSaa", 3, 3, "", FailureRule::kReport, pending, FrameKind::kStandard, "tav_eventEvtSaa:Invalid number of args. Args: path evtId scpIdList"},
    {"tav_eventEvtHtml", 17, 17, "", FailureRule::kReport, pending, FrameKind::kStandard, "tav_eventEvtHtml:Invalid number of args. Args: path evtId catId masterIdx sssIdx noIndex indexOnly genXML useOmfColors includeNation format startOrderFlag tvNameFlag detailFlag activeSeg 60HtmlFolder"},
    {"tav_eventEvtMissPpe", 1, 1, "", FailureRule::kReport, pending, FrameKind::kStandard, "tav_eventEvtMissPpe:Invalid number of args. Args: evtId"},
    {"tav_eventGetEvtCatIdRecNo", 2, 2, "evtId catId", FailureRule::kError, pending},
    {"tav_eventGetEvtCatNames", 1, 1, "EVT_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatListId", 2, 2, "EVT_ID index", FailureRule::kError, pending},
    {"tav_eventGetEvtCatListRecNo", 2, 2, "EVT_ID index", FailureRule::kError, pending},
    {"tav_eventGetEvtCatLevelGenderType", 2, 2, "evtId catId", FailureRule::kError, pending},
    {"tav_eventGetEvtCatStatus", 2, 2, "EVT_ID CAT_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpIds", 2, 2, "EVT_ID CAT_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpNames", 3, 3, "EVT_ID CAT_ID nameFlags", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpListId", 3, 3, "EVT_ID CAT_ID index", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpListRecNo", 3, 3, "EVT_ID CAT_ID index", FailureRule::kError, pending},
    {"tav_eventGetEvtCatParNames", 4, 4, "EVT_ID CAT_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatStandings", 8, 8, "evtId catIdList clubIdList resultBaseVar combineCats incNation combineOnlyAllInCat", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpType", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpTime", 4, 4, "EVT_ID CAT_ID SCP_ID rtnType", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpStartOrder", 4, 4, "EVT_ID CAT_ID SCP_ID catParIdList", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpWarmupGroups", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpOffNames", 5, 6, "", FailureRule::kError, pending, FrameKind::kStandard, "tav_eventGetEvtCatOffNames: Invalid number of args. Args: EVT_ID CAT_ID SCP_ID mask RtnFuncTypeFlag [field]"},
    {"tav_eventGetEvtCatScpOffIds", 5, 5, "", FailureRule::kError, pending, FrameKind::kStandard, "tav_eventGetEvtCatOffIds: Invalid number of args. Args: EVT_ID CAT_ID SCP_ID mask RtnFuncTypeFlag"},
    {"tav_eventHasEvtCatScpStartOrder", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventHasEvtCatScpStarted", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventIsEvtCatScpFinished", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpStartList", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpNumSk", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpCompNames", 3, 3, "EVT_ID CAT_ID SCP_ID compNo", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpDanceName", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpDanceCode", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpComment", 4, 4, "EVT_ID CAT_ID SCP_ID ComSel", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfPelData", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfMusic", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpTimeline", 5, 5, "EVT_ID CAT_ID SCP_ID CombinePD Block", FailureRule::kReport, pending},
    {"tav_eventGetEvtTlSummary", 1, 1, "EVT_ID", FailureRule::kReport, pending},
    {"tav_eventIsEvtCatScpTimelineSplit", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kZero, pending},
    {"tav_eventWhichEvtCatScpTimelineFirst", 6, 6, "EVT_ID CAT_ID1 SCP_ID1 CAT_ID2 SCP_ID2 Block", FailureRule::kError, pending},
    {"tav_eventIsEvtCatScpTimelineValid", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kZero, pending},
    {"tav_eventGetEvtCatScpVenue", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtVenueList", 1, 1, "EVT_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfName", 5, 5, "EVT_ID CAT_ID SCP_ID PRF_ID field", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfNamesClubs", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfRegNos", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfNation", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfStartNo", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
    {"tav_eventGetEvtCatScpPrfWGroupNo", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, pending},
};

static_assert(sizeof kCommands / sizeof kCommands[0] == kCommandCount,
              "the command table must hold every command");

// One Tcl procedure per row, without client data: procedure I runs row I.
template <std::size_t I>
int dispatch(ClientData, Tcl_Interp* interp, int argc, const char** argv) {
  return runCommand(kCommands[I], interp, argc, argv);
}

template <std::size_t... I>
constexpr std::array<Tcl_CmdProc*, sizeof...(I)> makeProcedures(std::index_sequence<I...>) {
  return {&dispatch<I>...};
}

constexpr auto kProcedures = makeProcedures(std::make_index_sequence<kCommandCount>());

}  // namespace

const CommandEntry& commandEntry(std::size_t index) { return kCommands[index]; }

void registerCommands(Tcl_Interp* interp) {
  installAppCalls();
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    Tcl_CreateCommand(interp, kCommands[i].name, kProcedures[i], nullptr, nullptr);
  }
}

}  // namespace tav
