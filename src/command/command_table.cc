// The command table: every Tcl command of the library, in registration order,
// with the number of words it takes after its name, its usage text, how it
// answers a failure and the procedure that runs it.
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
    {"tav_eraseOff", 0, 0, "none", FailureRule::kError, tav_eraseOff},
    {"tav_eraseSk", 0, 0, "none", FailureRule::kError, tav_eraseSk},
    {"tav_eraseAll", 0, 0, "none", FailureRule::kError, tav_eraseAll},
    {"tav_updateDpp", 3, 3, "evtId catId Value", FailureRule::kError, tav_updateDpp},
    {"tav_updatePFN", 1, 1, "flag", FailureRule::kError, tav_updatePFN},
    {"tav_addOffSbN1", 0, 0, "None", FailureRule::kError, tav_addOffSbN1},
    {"tav_compress", 0, 0, "none", FailureRule::kZero, tav_compress},
    {"tav_purge", 0, 0, "none", FailureRule::kError, tav_purge},
    {"tav_verify", 2, 2, "type repair", FailureRule::kSpecial, tav_verify},
    {"tav_updateNatCodes", 3, 3, "evtId pctId code", FailureRule::kError, tav_updateNatCodes},
    {"tav_cleanAllClubNames", 0, 0, "None", FailureRule::kError, tav_cleanAllClubNames},
    {"tav_getTextWidth", 3, 3, "window font text", FailureRule::kSpecial, tav_getTextWidth},
    {"tav_getErrStr", 0, 0, "none", FailureRule::kNone, tav_getErrStr, FrameKind::kKeepError},
    {"closeDebugFile", kAnyArgs, kAnyArgs, "", FailureRule::kNone, closeDebugFile},
    {"getStackTrace", kAnyArgs, kAnyArgs, "", FailureRule::kNone, getStackTrace, FrameKind::kKeepTrace},
    {"tav_basicPopulate", 1, 1, "type", FailureRule::kError, tav_basicPopulate},
    {"tav_basicGetFieldData", 2, 2, "", FailureRule::kError, tav_basicGetFieldData, FrameKind::kStandard, "basicGetFieldData: Invalid number of args. Args: pctId fieldList"},
    {"tav_basicSetFieldData", 2, 2, "", FailureRule::kError, tav_basicSetFieldData, FrameKind::kStandard, "basicSetFieldData: Invalid number of args. Args: type pctId"},
    {"tav_basicGetPctIdRegNo", 1, 1, "pctId", FailureRule::kError, tav_basicGetPctIdRegNo},
    {"tav_basicGetPctIdName", 1, 2, "pctId [field]", FailureRule::kError, tav_basicGetPctIdName},
    {"tav_basicGetPctNames", 1, 1, "type", FailureRule::kError, tav_basicGetPctNames},
    {"tav_basicGetPctListId", 2, 2, "type index", FailureRule::kError, tav_basicGetPctListId},
    {"tav_basicGetPctListClubIdxs", 2, 2, "type index", FailureRule::kError, tav_basicGetPctListClubIdxs},
    {"tav_basicGetPctListRecNo", 2, 2, "type index", FailureRule::kError, tav_basicGetPctListRecNo},
    {"tav_basicGetCoupleListId", 2, 2, "id1 id2", FailureRule::kError, tav_basicGetCoupleListId},
    {"tav_basicGetNatNames", 0, 0, "None", FailureRule::kError, tav_basicGetNatNames},
    {"tav_basicGetNatListOmf", 1, 1, "", FailureRule::kError, tav_basicGetNatListOmf, FrameKind::kStandard, "tav_basicGetNatListOmf: Invalid number of args. Args: index"},
    {"tav_basicGetPctIdClubIds", 1, 1, "pctId", FailureRule::kError, tav_basicGetPctIdClubIds},
    {"tav_basicGetPctPelData", 1, 1, "pctId", FailureRule::kError, tav_basicGetPctPelData},
    {"tav_basicFindPctByRegNo", 2, 2, "type regNo", FailureRule::kError, tav_basicFindPctByRegNo},
    {"tav_basicFindByName", 3, 3, "type gName fName", FailureRule::kError, tav_basicFindByName},
    {"tav_basicFindById", 4, 4, "type id1 id2 excludeId", FailureRule::kError, tav_basicFindById},
    {"tav_basicDuplicatePCT", 1, 1, "type", FailureRule::kError, tav_basicDuplicatePCT},
    {"tav_basicCalcNames", 4, 4, "type addPFN addSN1 capFName", FailureRule::kError, tav_basicCalcNames},
    {"tav_basicUpdateAddRec", 4, 4, "handle record id fieldNames=fieldValues", FailureRule::kError, tav_basicUpdateAddRec},
    {"tav_basicImportPCT", 11, 11, "type file capFName defGender defNation clbNameConvBits addPFN addSN1 updDupBits dupIncClub eraseFirst", FailureRule::kError, tav_basicImportPCT},
    {"tav_basicGetImportImportedList", 1, 1, "stringWtab", FailureRule::kError, tav_basicGetImportImportedList},
    {"tav_basicGetImportDuplicateList", 1, 1, "stringWtab", FailureRule::kError, tav_basicGetImportDuplicateList},
    {"tav_basicGetImportInvalidList", 0, 0, "none", FailureRule::kError, tav_basicGetImportInvalidList},
    {"tav_basicGenPctRegMap", 1, 1, "", FailureRule::kReport, tav_basicGenPctRegMap, FrameKind::kStandard, "tav_basicGenPctRegMap:Invalid number of args. Args: path"},
    {"tav_eventPopulate", 0, 0, "none", FailureRule::kError, tav_eventPopulate},
    {"tav_eventDumpIdTree", 0, 0, "none", FailureRule::kError, tav_eventDumpIdTree},
    {"tav_eventGetFieldData", 6, 6, "", FailureRule::kError, tav_eventGetFieldData, FrameKind::kStandard, "eventGetFieldData: Invalid number of args. Args: evtId catId parId scpId offIdx fieldList"},
    {"tav_eventSetFieldData", 5, 5, "", FailureRule::kError, tav_eventSetFieldData, FrameKind::kStandard, "eventSetFieldData: Invalid number of args. Args: evtId catId parId scpId offIdx"},
    {"tav_eventGetEvtIdRecNo", 1, 1, "evtId", FailureRule::kError, tav_eventGetEvtIdRecNo},
    {"tav_eventGetEvtIdRegNo", 1, 1, "evtId", FailureRule::kError, tav_eventGetEvtIdRegNo},
    {"tav_eventGetEvtNames", 0, 0, "none", FailureRule::kError, tav_eventGetEvtNames},
    {"tav_eventGetEvtListId", 1, 1, "index", FailureRule::kError, tav_eventGetEvtListId},
    {"tav_eventGetEvtListRecNo", 1, 1, "index", FailureRule::kError, tav_eventGetEvtListRecNo},
    {"tav_eventGetEvtClubNames", 1, 1, "evtId", FailureRule::kError, tav_eventGetEvtClubNames},
    {"tav_eventGetEvtClubListId", 2, 2, "evtId index", FailureRule::kError, tav_eventGetEvtClubListId},
    {"tav_eventEvtDeviation", 11, 11, "", FailureRule::kReport, tav_eventEvtDeviation, FrameKind::kStandard, "tav_eventEvtDeviation:Invalid number of args. Args: pathName evtId catIdList deviation sortByPlace expandCat expandSeg expandSk expandEl showAllGoe"},
    {"tav_eventEvtSaa", 3, 3, "", FailureRule::kReport, tav_eventEvtSaa, FrameKind::kStandard, "tav_eventEvtSaa:Invalid number of args. Args: path evtId scpIdList"},
    {"tav_eventEvtHtml", 17, 17, "", FailureRule::kReport, tav_eventEvtHtml, FrameKind::kStandard, "tav_eventEvtHtml:Invalid number of args. Args: path evtId catId masterIdx sssIdx noIndex indexOnly genXML useOmfColors includeNation format startOrderFlag tvNameFlag detailFlag activeSeg 60HtmlFolder"},
    {"tav_eventEvtMissPpe", 1, 1, "", FailureRule::kReport, tav_eventEvtMissPpe, FrameKind::kStandard, "tav_eventEvtMissPpe:Invalid number of args. Args: evtId"},
    {"tav_eventGetEvtCatIdRecNo", 2, 2, "evtId catId", FailureRule::kError, tav_eventGetEvtCatIdRecNo},
    {"tav_eventGetEvtCatNames", 1, 1, "EVT_ID", FailureRule::kError, tav_eventGetEvtCatNames},
    {"tav_eventGetEvtCatListId", 2, 2, "EVT_ID index", FailureRule::kError, tav_eventGetEvtCatListId},
    {"tav_eventGetEvtCatListRecNo", 2, 2, "EVT_ID index", FailureRule::kError, tav_eventGetEvtCatListRecNo},
    {"tav_eventGetEvtCatLevelGenderType", 2, 2, "evtId catId", FailureRule::kError, tav_eventGetEvtCatLevelGenderType},
    {"tav_eventGetEvtCatStatus", 2, 2, "EVT_ID CAT_ID", FailureRule::kError, tav_eventGetEvtCatStatus},
    {"tav_eventGetEvtCatScpIds", 2, 2, "EVT_ID CAT_ID", FailureRule::kError, tav_eventGetEvtCatScpIds},
    {"tav_eventGetEvtCatScpNames", 3, 3, "EVT_ID CAT_ID nameFlags", FailureRule::kError, tav_eventGetEvtCatScpNames},
    {"tav_eventGetEvtCatScpListId", 3, 3, "EVT_ID CAT_ID index", FailureRule::kError, tav_eventGetEvtCatScpListId},
    {"tav_eventGetEvtCatScpListRecNo", 3, 3, "EVT_ID CAT_ID index", FailureRule::kError, tav_eventGetEvtCatScpListRecNo},
    {"tav_eventGetEvtCatParNames", 4, 4, "EVT_ID CAT_ID", FailureRule::kError, tav_eventGetEvtCatParNames},
    {"tav_eventGetEvtCatStandings", 8, 8, "evtId catIdList clubIdList resultBaseVar combineCats incNation combineOnlyAllInCat", FailureRule::kError, tav_eventGetEvtCatStandings},
    {"tav_eventGetEvtCatScpType", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpType},
    {"tav_eventGetEvtCatScpTime", 4, 4, "EVT_ID CAT_ID SCP_ID rtnType", FailureRule::kError, tav_eventGetEvtCatScpTime},
    {"tav_eventGetEvtCatScpStartOrder", 4, 4, "EVT_ID CAT_ID SCP_ID catParIdList", FailureRule::kError, tav_eventGetEvtCatScpStartOrder},
    {"tav_eventGetEvtCatScpWarmupGroups", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpWarmupGroups},
    {"tav_eventGetEvtCatScpOffNames", 5, 6, "", FailureRule::kError, tav_eventGetEvtCatScpOffNames, FrameKind::kStandard, "tav_eventGetEvtCatOffNames: Invalid number of args. Args: EVT_ID CAT_ID SCP_ID mask RtnFuncTypeFlag [field]"},
    {"tav_eventGetEvtCatScpOffIds", 5, 5, "", FailureRule::kError, tav_eventGetEvtCatScpOffIds, FrameKind::kStandard, "tav_eventGetEvtCatOffIds: Invalid number of args. Args: EVT_ID CAT_ID SCP_ID mask RtnFuncTypeFlag"},
    {"tav_eventHasEvtCatScpStartOrder", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventHasEvtCatScpStartOrder},
    {"tav_eventHasEvtCatScpStarted", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventHasEvtCatScpStarted},
    {"tav_eventIsEvtCatScpFinished", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventIsEvtCatScpFinished},
    {"tav_eventGetEvtCatScpStartList", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpStartList},
    {"tav_eventGetEvtCatScpNumSk", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpNumSk},
    {"tav_eventGetEvtCatScpCompNames", 3, 3, "EVT_ID CAT_ID SCP_ID compNo", FailureRule::kError, tav_eventGetEvtCatScpCompNames},
    {"tav_eventGetEvtCatScpDanceName", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpDanceName},
    {"tav_eventGetEvtCatScpDanceCode", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpDanceCode},
    {"tav_eventGetEvtCatScpComment", 4, 4, "EVT_ID CAT_ID SCP_ID ComSel", FailureRule::kError, tav_eventGetEvtCatScpComment},
    {"tav_eventGetEvtCatScpPrfPelData", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfPelData},
    {"tav_eventGetEvtCatScpPrfMusic", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfMusic},
    {"tav_eventGetEvtCatScpTimeline", 5, 5, "EVT_ID CAT_ID SCP_ID CombinePD Block", FailureRule::kReport, tav_eventGetEvtCatScpTimeline},
    {"tav_eventGetEvtTlSummary", 1, 1, "EVT_ID", FailureRule::kReport, tav_eventGetEvtTlSummary},
    {"tav_eventIsEvtCatScpTimelineSplit", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kZero, tav_eventIsEvtCatScpTimelineSplit},
    {"tav_eventWhichEvtCatScpTimelineFirst", 6, 6, "EVT_ID CAT_ID1 SCP_ID1 CAT_ID2 SCP_ID2 Block", FailureRule::kError, tav_eventWhichEvtCatScpTimelineFirst},
    {"tav_eventIsEvtCatScpTimelineValid", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kZero, tav_eventIsEvtCatScpTimelineValid},
    {"tav_eventGetEvtCatScpVenue", 3, 3, "EVT_ID CAT_ID SCP_ID", FailureRule::kError, tav_eventGetEvtCatScpVenue},
    {"tav_eventGetEvtVenueList", 1, 1, "EVT_ID", FailureRule::kError, tav_eventGetEvtVenueList},
    {"tav_eventGetEvtCatScpPrfName", 5, 5, "EVT_ID CAT_ID SCP_ID PRF_ID field", FailureRule::kError, tav_eventGetEvtCatScpPrfName},
    {"tav_eventGetEvtCatScpPrfNamesClubs", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfNamesClubs},
    {"tav_eventGetEvtCatScpPrfRegNos", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfRegNos},
    {"tav_eventGetEvtCatScpPrfNation", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfNation},
    {"tav_eventGetEvtCatScpPrfStartNo", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfStartNo},
    {"tav_eventGetEvtCatScpPrfWGroupNo", 4, 4, "EVT_ID CAT_ID SCP_ID PRF_ID", FailureRule::kError, tav_eventGetEvtCatScpPrfWGroupNo},
};

static_assert(sizeof kCommands / sizeof kCommands[0] == kCommandCount,
              "the command table must hold every command");

// Commands of the package's own namespace; they run in the same frame.
const CommandEntry kPackageCommands[] = {
    {"tavC::exportJson", 2, 2, "folder evtId", FailureRule::kError, tavC_exportJson},
    {"tavC::audit", 1, 1, "evtId", FailureRule::kError, tavC_audit},
};

// One Tcl procedure per row, without client data: procedure I runs row I.
template <std::size_t I>
int dispatch(ClientData, Tcl_Interp* interp, int argc, const char** argv) {
  return runCommand(kCommands[I], interp, argc, argv);
}

template <std::size_t I>
int dispatchPackage(ClientData, Tcl_Interp* interp, int argc, const char** argv) {
  return runCommand(kPackageCommands[I], interp, argc, argv);
}

template <std::size_t... I>
constexpr std::array<Tcl_CmdProc*, sizeof...(I)> makeProcedures(std::index_sequence<I...>) {
  return {&dispatch<I>...};
}

constexpr auto kProcedures = makeProcedures(std::make_index_sequence<kCommandCount>());
constexpr Tcl_CmdProc* kPackageProcedures[] = {&dispatchPackage<0>, &dispatchPackage<1>};
static_assert(sizeof kPackageProcedures / sizeof kPackageProcedures[0] ==
                  sizeof kPackageCommands / sizeof kPackageCommands[0],
              "one procedure per command of the package's namespace");

}  // namespace

const CommandEntry& commandEntry(std::size_t index) { return kCommands[index]; }

void registerCommands(Tcl_Interp* interp) {
  installAppCalls();
  installCaseFolds();
  for (std::size_t i = 0; i < kCommandCount; ++i) {
    Tcl_CreateCommand(interp, kCommands[i].name, kProcedures[i], nullptr, nullptr);
  }
  // Tcl creates the namespace tavC with the first of them.
  for (std::size_t i = 0; i < sizeof kPackageCommands / sizeof kPackageCommands[0]; ++i) {
    Tcl_CreateCommand(interp, kPackageCommands[i].name, kPackageProcedures[i], nullptr, nullptr);
  }
}

}  // namespace tav
