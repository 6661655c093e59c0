// Table access commands on single records: read, describe, map into a Tcl
// array, update, add, delete and clear.  Field values cross the boundary
// through TableText, in the table's code page on the library's side.
#include "command/commands.h"
#include "command/interp_helpers.h"
#include "command/table_text.h"
#include "session/tav.h"

namespace tav {
namespace {

// "{text}" when braces keep the text one list element as it stands, else the
// interpreter's own quoting.
std::string bracedElement(const std::string& text) {
  int depth = 0;
  for (char c : text) {
    if (c == '{') ++depth;
    if (c == '}' && --depth < 0) break;
  }
  const bool safe = depth == 0 && text.find('\\') == std::string::npos;
  return safe ? "{" + text + "}" : listToTcl({text});
}

// The description field and label of the handles that have one.
struct RecordDescription {
  const char* handle;
  const char* field;
  const char* label;
};

constexpr RecordDescription kDescriptions[] = {
    {"CAT", "CAT_NAME", "Category"},         {"DGR", "DGR_DESC", "Difficulity group"},
    {"ELL", "ELL_DETAIL", "Sync elem detail"}, {"ELM", "ELM_NAME", "Element"},
    {"EVT", "EVT_NAME", "Event"},            {"JES", "PAR_ID", "JES"},
    {"JPS", "JPS_TYPE", "Judge Panel"},      {"MOT", "TEAM_ID", "Team ID reference"},
    {"NAT", "NAT_NAME", "Nation"},           {"PAR", "PCT_ID", "Participant"},
    {"PCT", "PCT_CNAME", ""},                {"PEL", "PCT_ID", "Planned element"},
    {"PJS", "PJS_TYPE", "Judge"},            {"PRF", "PAR_ID", "Performance"},
    {"SCP", "SCP_NAME", "Segment"},          {"TIM", "TIM_NAME", "Time"},
    {"WBG", "WBG_NAME", "Verif rule"},       {"WBP", "WBP_RNAME", "Rule name"},
};

// Reads the named fields of one record.
bool readFields(const std::string& handle, int recNo, const std::vector<std::string>& fields,
                std::vector<std::string>* values) {
  bool deleted = false;
  return session().getHandleSingleRecData(handle, recNo, fields, 0, &deleted, values);
}

// The label of a register record, by person type and function.
std::string personLabel(const std::string& type, const std::string& function) {
  if (type == "PER" && function == "JDG") return "Official";
  if (type == "PER" && function == "CMP") return "Skater";
  if (type == "COU") return "Couple";
  if (type == "PTS") return "Team";
  if (type == "CLU") return "Club";
  return "????";
}

// Follows a reference one step: the `field` of the `handle` record whose
// `key` equals `value`.  Leaves `value` empty when no record carries it.
bool followReference(const std::string& handle, const std::string& key,
                     const std::string& field, std::string* value) {
  const int recNo = session().getHandleRecNo(handle, key, *value);
  if (recNo == -99) return false;
  std::vector<std::string> values;
  if (recNo < 0) {
    value->clear();
    return true;
  }
  if (!readFields(handle, recNo, {field}, &values)) return false;
  *value = values[0];
  return true;
}

}  // namespace

Outcome tav_getRec(Call& call) {
  int recNo = 0;
  int mode = 0;
  std::vector<std::string> fields;
  if (!call.intArg(2, &recNo) || !call.listArg(3, &fields) || !call.intArg(4, &mode)) {
    return call.done();
  }
  const std::string handle = call.arg(1);
  const TableText text = call.tableText(handle);
  text.fromUtf8(&fields);
  bool deleted = false;
  std::vector<std::string> values;
  if (!session().getHandleSingleRecData(handle, recNo, fields, mode, &deleted, &values)) {
    return call.failed();
  }
  text.toUtf8(&values);
  return call.ok((deleted ? "{*} " : "{ } ") + listToTcl(values));
}

Outcome tav_getRecDesc(Call& call) {
  int recNo = 0;
  if (!call.intArg(2, &recNo)) return call.done();
  const std::string handle = call.arg(1);
  const RecordDescription* found = nullptr;
  for (const RecordDescription& d : kDescriptions) {
    if (handle == d.handle) found = &d;
  }
  std::vector<std::string> values;
  if (found == nullptr) {
    // A table without a description field is named by its handle.
    if (!readFields(handle, recNo, {}, &values)) return call.failed();
    return call.ok("{" + handle + "} {????}");
  }
  std::string label = found->label;
  if (handle == "PCT") {
    if (!readFields(handle, recNo, {"PCT_TYPE", "PCT_AFUNCT"}, &values)) return call.failed();
    label = personLabel(values[0], values[1]);
  }
  if (!readFields(handle, recNo, {found->field}, &values)) return call.failed();
  std::string description = values[0];
  std::string field = found->field;
  std::string source = handle;
  if (field == "PAR_ID") {
    if (!followReference("PAR", "PAR_ID", "PCT_ID", &description)) return call.failed();
    field = "PCT_ID";
    source = "PAR";
  }
  if (field == "PCT_ID" && !description.empty()) {
    if (!followReference("PCT", "PCT_ID", "PCT_CNAME", &description)) return call.failed();
    source = "PCT";
  }
  if (description.empty()) description = "????";
  description = call.tableText(source).toUtf8(description);
  return call.ok(bracedElement(label) + " " + bracedElement(description));
}

Outcome tav_getMapRec(Call& call) {
  int recNo = 0;
  if (!call.intArg(2, &recNo)) return call.done();
  const std::string handle = call.arg(1);
  bool deleted = false;
  std::map<std::string, std::string> values;
  if (!session().getHandleMapRecData(handle, recNo, &deleted, &values)) return call.failed();
  const TableText text = call.tableText(handle);
  const std::string array = "g" + handle;
  auto set = [&](const std::string& element, const std::string& value) {
    const std::string name = array + "(" + element + ")";
    return Tcl_SetVar(call.interp(), name.c_str(), value.c_str(), TCL_LEAVE_ERR_MSG) != nullptr;
  };
  if (!set("deleted", deleted ? "*" : " ")) return call.done();
  for (const auto& [field, value] : values) {
    if (!set(text.toUtf8(field), text.toUtf8(value))) return call.done();
  }
  return call.ok("1");
}

Outcome tav_clearRecData(Call& call) {
  return session().clearHandleRecs(call.arg(1)) ? call.ok("1") : call.failed();
}

Outcome tav_updateRec(Call& call) {
  int recNo = 0;
  std::vector<std::string> assignments;
  if (!call.intArg(2, &recNo) || !call.listArg(3, &assignments)) return call.done();
  const std::string handle = call.arg(1);
  if (!assignmentsToTable(call.tableText(handle), handle, &assignments)) return call.failed();
  return session().updateHandleRecData(handle, recNo, assignments) ? call.ok("1")
                                                                   : call.failed();
}

Outcome tav_addRec(Call& call) {
  int returnType = 0;
  std::vector<std::string> assignments;
  if (!call.intArg(2, &returnType)) return call.done();
  if (returnType != 0 && returnType != 1) {
    return call.answer("Invalid rtnType. Can only be 0=None, 1=recNo", TCL_ERROR);
  }
  if (!call.listArg(3, &assignments)) return call.done();
  const std::string handle = call.arg(1);
  if (!assignmentsToTable(call.tableText(handle), handle, &assignments)) return call.failed();
  int recNo = -1;
  if (!session().addHandleRecData(handle, assignments, &recNo)) return call.failed();
  return returnType == 1 ? call.ok(recNo) : call.ok("1");
}

Outcome tav_delRec(Call& call) {
  int recNo = 0;
  if (!call.intArg(2, &recNo)) return call.done();
  return session().delHandleRec(call.arg(1), recNo) ? call.ok("1") : call.failed();
}

}  // namespace tav
