// Event tree commands: building the tree, the lists of events, categories,
// segments and clubs, record numbers, and the generic field access of a node
// through the global arrays gEVT, gCAT, gSCP and gPAR.
#include "command/commands.h"
#include "command/event_args.h"
#include "command/interp_helpers.h"
#include "session/tav.h"

namespace tav {
namespace {

// The table and global array of the node chosen by catId, parId and scpId.
const char* nodeHandle(int catId, int parId, int scpId) {
  if (catId < 1) return "EVT";
  if (parId >= 1) return "PAR";
  if (scpId >= 1) return "SCP";
  return "CAT";
}

}  // namespace

Outcome tav_eventPopulate(Call& call) {
  return events().eventPopulate() ? call.ok("1") : call.failed();
}

Outcome tav_eventDumpIdTree(Call& call) {
  return events().eventDumpIdTree() ? call.ok("1") : call.failed();
}

Outcome tav_eventGetFieldData(Call& call) {
  std::vector<int> ids;
  std::vector<std::string> fields;
  if (!intArgs(call, 1, 5, &ids) || !call.listArg(6, &fields)) return call.done();
  const char* handle = nodeHandle(ids[1], ids[2], ids[3]);
  const TableText text = call.tableText(handle);
  text.fromUtf8(&fields);
  std::vector<std::string> values;
  if (!events().eventGetFieldData(ids[0], ids[1], ids[2], ids[3], ids[4], &fields, &values)) {
    return call.failed();
  }
  const std::string array = std::string("g") + handle;
  for (std::size_t i = 0; i < fields.size() && i < values.size(); ++i) {
    const std::string element = text.toUtf8(fields[i]);
    const std::string value = text.toUtf8(values[i]);
    if (Tcl_SetVar2(call.interp(), array.c_str(), element.c_str(), value.c_str(),
                    TCL_LEAVE_ERR_MSG) == nullptr) {
      return call.done();
    }
  }
  return call.ok("1");
}

Outcome tav_eventSetFieldData(Call& call) {
  std::vector<int> ids;
  if (!intArgs(call, 1, 5, &ids)) return call.done();
  if (ids[0] == 0) return call.answer("eventSetFieldData: Invalid evtId: " + call.arg(1), TCL_ERROR);
  const char* handle = nodeHandle(ids[1], ids[2], ids[3]);
  std::vector<std::string> tableFields;
  if (!session().getHandleFieldNames(handle, &tableFields)) return call.failed();
  const TableText text = call.tableText(handle);
  const std::string array = std::string("g") + handle;
  std::vector<std::string> fields;
  std::vector<std::string> values;
  for (const std::string& field : tableFields) {
    const std::string element = text.toUtf8(field);
    const char* value = Tcl_GetVar2(call.interp(), array.c_str(), element.c_str(), 0);
    if (value == nullptr) continue;
    std::string stored = value;
    if (!valueToTable(text, handle, element, &stored)) return call.failed();
    fields.push_back(field);
    values.push_back(std::move(stored));
  }
  return events().eventSetFieldData(ids[0], ids[1], ids[2], ids[3], ids[4], fields, values)
             ? call.ok("1")
             : call.failed();
}

Outcome tav_eventGetEvtIdRecNo(Call& call) {
  int evtId = 0;
  int recNo = 0;
  if (!call.intArg(1, &evtId)) return call.done();
  return events().eventGetEvtIdRecNo(evtId, &recNo) ? call.ok(recNo) : call.failed();
}

Outcome tav_eventGetEvtIdRegNo(Call& call) {
  int evtId = 0;
  std::string regNo;
  if (!call.intArg(1, &evtId)) return call.done();
  if (!events().eventGetEvtIdRegNo(evtId, &regNo)) return call.failed();
  return call.ok(utf8(call, "EVT", regNo));
}

Outcome tav_eventGetEvtNames(Call& call) {
  std::vector<std::string> names;
  if (!events().eventGetEvtNames(&names)) return call.failed();
  return call.ok(listToTcl(utf8(call, "EVT", names)));
}

Outcome tav_eventGetEvtListId(Call& call) {
  int index = 0;
  int id = 0;
  if (!call.intArg(1, &index)) return call.done();
  return events().eventGetEvtListId(index, &id) ? call.ok(id) : call.failed();
}

Outcome tav_eventGetEvtListRecNo(Call& call) {
  int index = 0;
  int recNo = 0;
  if (!call.intArg(1, &index)) return call.done();
  return events().eventGetEvtListRecNo(index, &recNo) ? call.ok(recNo) : call.failed();
}

Outcome tav_eventGetEvtClubNames(Call& call) {
  int evtId = 0;
  std::vector<std::string> names;
  if (!call.intArg(1, &evtId)) return call.done();
  if (!events().eventGetEvtClubNames(evtId, &names)) return call.failed();
  return call.ok(listToTcl(utf8(call, "PCT", names)));
}

Outcome tav_eventGetEvtClubListId(Call& call) {
  std::vector<int> a;
  int id = 0;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  return events().eventGetEvtClubListId(a[0], a[1], &id) ? call.ok(id) : call.failed();
}

Outcome tav_eventGetEvtCatIdRecNo(Call& call) {
  std::vector<int> a;
  int recNo = 0;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  return events().eventGetEvtCatIdRecNo(a[0], a[1], &recNo) ? call.ok(recNo) : call.failed();
}

Outcome tav_eventGetEvtCatNames(Call& call) {
  int evtId = 0;
  std::vector<std::string> names;
  if (!call.intArg(1, &evtId)) return call.done();
  if (!events().eventGetEvtCatNames(evtId, &names)) return call.failed();
  return call.ok(listToTcl(utf8(call, "CAT", names)));
}

Outcome tav_eventGetEvtCatListId(Call& call) {
  std::vector<int> a;
  int id = 0;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  return events().eventGetEvtCatListId(a[0], a[1], &id) ? call.ok(id) : call.failed();
}

Outcome tav_eventGetEvtCatListRecNo(Call& call) {
  std::vector<int> a;
  int recNo = 0;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  return events().eventGetEvtCatListRecNo(a[0], a[1], &recNo) ? call.ok(recNo) : call.failed();
}

Outcome tav_eventGetEvtCatScpIds(Call& call) {
  std::vector<int> a;
  std::vector<int> ids;
  if (!intArgs(call, 1, 2, &a)) return call.done();
  return events().eventGetEvtCatScpIds(a[0], a[1], &ids) ? call.ok(joinInts(ids))
                                                         : call.failed();
}

Outcome tav_eventGetEvtCatScpNames(Call& call) {
  std::vector<int> a;
  if (!intArgs(call, 1, 3, &a)) return call.done();
  std::vector<std::string> shortNames;
  std::vector<std::string> names;
  if (!events().eventGetEvtCatScpNames(a[0], a[1], &shortNames, &names)) return call.failed();
  shortNames = utf8(call, "SCP", shortNames);
  names = utf8(call, "SCP", names);
  switch (a[2]) {
    case 1:
      return call.ok(listToTcl(names));
    case 2:
      return call.ok(listToTcl(shortNames));
    case 3: {
      std::vector<std::string> pairs;
      for (std::size_t i = 0; i < names.size(); ++i) {
        pairs.push_back(listToTcl({shortNames[i], names[i]}));
      }
      return call.ok(listToTcl(pairs));
    }
    default:
      return call.ok("");
  }
}

Outcome tav_eventGetEvtCatScpListId(Call& call) {
  std::vector<int> a;
  int id = 0;
  if (!intArgs(call, 1, 3, &a)) return call.done();
  return events().eventGetEvtCatScpListId(a[0], a[1], a[2], &id) ? call.ok(id) : call.failed();
}

Outcome tav_eventGetEvtCatScpListRecNo(Call& call) {
  std::vector<int> a;
  int recNo = 0;
  if (!intArgs(call, 1, 3, &a)) return call.done();
  return events().eventGetEvtCatScpListRecNo(a[0], a[1], a[2], &recNo) ? call.ok(recNo)
                                                                       : call.failed();
}

}  // namespace tav
